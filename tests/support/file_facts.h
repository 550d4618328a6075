#pragma once
// What a test reads back of a file on disk: its permission bits and its bytes.

#include <QByteArray>
#include <QFile>
#include <QString>

#include <sys/stat.h>

// The permission bits (with set-id and sticky bits), or 0 when the file is not there.
inline mode_t modeOf(const QString &path)
{
    struct stat info = {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & 07777 : 0;
}

// The whole file, or nothing when it cannot be read.
inline QByteArray contentsOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
