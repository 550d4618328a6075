#pragma once
// Files to attach, written into a test's folder, and the fingerprints their bytes are compared
// by once they come back out of the data file.

#include <QByteArray>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QString>
#include <gtest/gtest.h>

namespace AttachmentFiles {

// A file of size bytes that no two pieces of repeat (seeded), so a piece written to the wrong
// place, twice or not at all changes its hash.
inline QString write(const QString &folder, const QString &name, qint64 size, quint32 seed = 1)
{
    const QString path = QDir(folder).filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    QRandomGenerator random(seed);
    QByteArray block(1 << 20, Qt::Uninitialized);
    for (qint64 left = size; left > 0;) {
        const qint64 n = std::min<qint64>(left, block.size());
        random.fillRange(reinterpret_cast<quint32 *>(block.data()), block.size() / 4);
        EXPECT_EQ(file.write(block.constData(), n), n);
        left -= n;
    }
    return path;
}

// A file holding these bytes.
inline QString write(const QString &folder, const QString &name, const QByteArray &bytes)
{
    const QString path = QDir(folder).filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    EXPECT_EQ(file.write(bytes), bytes.size());
    return path;
}

// SHA-256 of a file, read in pieces.
inline QByteArray hashOf(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(&file);
    return hash.result().toHex();
}

inline QByteArray hashOfBytes(const QByteArray &bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
}

} // namespace AttachmentFiles
