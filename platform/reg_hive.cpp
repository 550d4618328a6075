#include "platform/reg_hive.h"

#include "platform/reg_text.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStringDecoder>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>


namespace {

// Damage already reported, by file, so that reading the same broken file again stays quiet.
QHash<QString, size_t> &reportedDamage()
{
    static QHash<QString, size_t> reported;
    return reported;
}

void report(const QString &line)
{
    std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData());
    std::fflush(stderr);
}

// Creates the missing folders of the path, private to the user as settings should be. Folders
// that already exist keep their modes.
bool makeFolders(const QString &folder)
{
    const QByteArray path = QFile::encodeName(QDir::cleanPath(QDir(folder).absolutePath()));
    for (qsizetype i = 1; i <= path.size(); ++i) {
        if (i < path.size() && path[i] != '/')
            continue;
        const QByteArray prefix = path.left(i);
        if (::mkdir(prefix.constData(), 0700) != 0 && errno != EEXIST)
            return false;
    }
    struct stat info;
    return ::stat(path.constData(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool writeAll(int fd, const QByteArray &bytes)
{
    const char *data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, size_t(left));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += written;
        left -= written;
    }
    return true;
}

void syncFolder(const QByteArray &folder)
{
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

using namespace reg_hive_detail;

RegHive::RegHive(QString filePath, QString rootName)
    : m_filePath(std::move(filePath))
    , m_rootName(std::move(rootName))
{
}

QString RegHive::defaultFolder()
{
    const QString explicitFolder = qEnvironmentVariable("DOMELIO_REGISTRY_DIR");
    if (!explicitFolder.isEmpty())
        return explicitFolder;
    // XDG: a relative XDG_CONFIG_HOME is invalid and must be ignored.
    const QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (!config.isEmpty() && QDir::isAbsolutePath(config))
        return config + QLatin1String("/domelio");
    return QDir::homePath() + QLatin1String("/.config/domelio");
}

bool RegHive::isValidKeyPath(const QString &path)
{
    return path.isEmpty() || isValidFullPath(path);
}

RegHive::Contents RegHive::load() const
{
    Contents contents;
    QFile file(m_filePath);
    if (!file.exists())
        return contents;

    QString problem;
    QByteArray bytes;
    if (!file.open(QIODevice::ReadOnly)) {
        problem = file.errorString();
    } else {
        bytes = file.readAll();
        if (file.error() != QFileDevice::NoError)
            problem = file.errorString();
    }

    if (problem.isEmpty() && !bytes.isEmpty()) {
        // regedit itself writes UTF-16 with a byte-order mark; we write UTF-8.
        QString text;
        if (bytes.startsWith("\xff\xfe")) {
            QStringDecoder decoder(QStringDecoder::Utf16LE);
            text = decoder(bytes.mid(2));
            if (decoder.hasError())
                problem = QStringLiteral("not valid UTF-16");
        } else {
            QStringDecoder decoder(QStringDecoder::Utf8);
            text = decoder(bytes.startsWith("\xef\xbb\xbf") ? bytes.mid(3) : bytes);
            if (decoder.hasError())
                problem = QStringLiteral("not valid UTF-8");
        }
        if (problem.isEmpty()) {
            if (const auto error = parseHive(text, contents))
                problem = QStringLiteral("line %1: %2").arg(error->line).arg(error->reason);
        }
    }
    // An empty file (for instance left by a crash of another writer) holds nothing to keep.

    if (problem.isEmpty()) {
        reportedDamage().remove(m_filePath);
    } else {
        contents = Contents();
        contents.damaged = true;
        const size_t fingerprint = qHash(bytes) ^ qHash(problem);
        const auto known = reportedDamage().constFind(m_filePath);
        if (known == reportedDamage().cend() || *known != fingerprint) {
            reportedDamage().insert(m_filePath, fingerprint);
            report(QStringLiteral("Domelio: cannot use the settings file %1 (%2); using empty "
                                  "settings, the file will be kept as %1.damaged")
                       .arg(QDir::toNativeSeparators(m_filePath), problem));
        }
    }
    return contents;
}

bool RegHive::preserveDamagedFile() const
{
    const QByteArray original = QFile::encodeName(m_filePath);
    struct stat info;
    if (::lstat(original.constData(), &info) != 0)
        return errno == ENOENT; // gone meanwhile: nothing left to keep

    // A hard link keeps even a file we may not read; a copy serves where links are refused.
    const QString target = m_filePath + QLatin1String(".damaged");
    const QString part = target + QLatin1String(".part");
    const QByteArray partName = QFile::encodeName(part);
    ::unlink(partName.constData());
    if (::link(original.constData(), partName.constData()) != 0 && !QFile::copy(m_filePath, part))
        return false;
    ::chmod(partName.constData(), 0600);
    return ::rename(partName.constData(), QFile::encodeName(target).constData()) == 0;
}

bool RegHive::store(const Contents &contents)
{
    const QByteArray bytes = formatHive(contents).toUtf8();

    const QFileInfo info(m_filePath);
    const QString folder = info.absolutePath();
    auto failed = [this](const char *what) {
        report(QStringLiteral("Domelio: cannot save the settings file %1 (%2: %3)")
                   .arg(QDir::toNativeSeparators(m_filePath), QString::fromLatin1(what),
                        QString::fromLocal8Bit(std::strerror(errno))));
        return false;
    };
    if (!makeFolders(folder))
        return failed("creating its folder");

    // Write beside the target and rename over it, so a crash or a full disk leaves either the old
    // file or the new one, never a truncated mix.
    QByteArray tempName = QFile::encodeName(folder + QLatin1String("/.") + info.fileName()
                                            + QLatin1String(".XXXXXX"));
    const int fd = ::mkostemp(tempName.data(), O_CLOEXEC); // mode 0600
    if (fd < 0)
        return failed("creating a temporary file");
    const bool written = writeAll(fd, bytes) && ::fsync(fd) == 0;
    const int savedErrno = errno;
    if (::close(fd) != 0 || !written) {
        ::unlink(tempName.constData());
        errno = written ? errno : savedErrno;
        return failed("writing");
    }
    if (contents.damaged && !preserveDamagedFile()) {
        ::unlink(tempName.constData());
        return failed("keeping the damaged file");
    }
    if (::rename(tempName.constData(), QFile::encodeName(m_filePath).constData()) != 0) {
        const int renameErrno = errno;
        ::unlink(tempName.constData());
        errno = renameErrno;
        return failed("replacing it");
    }
    syncFolder(QFile::encodeName(folder));
    return true;
}

bool RegHive::keyExists(const QString &path) const
{
    if (path.isEmpty())
        return true; // the root always exists, as in the registry
    if (!isValidKeyPath(path))
        return false;
    const Contents contents = load();
    const QString wanted = sortKey(joinPath(m_rootName, path));
    const auto it = contents.keys.lower_bound(wanted);
    return it != contents.keys.end()
        && (it->first == wanted || it->first.startsWith(wanted + QChar(1)));
}

bool RegHive::createKey(const QString &path)
{
    if (!isValidKeyPath(path))
        return false;
    Contents contents = load();
    // The root itself gets a section only when asked for; parents below it are written out as
    // regedit does.
    QString fullPath = m_rootName;
    bool added = false;
    if (path.isEmpty()) {
        added = !contents.find(fullPath);
        contents.ensure(fullPath);
    }
    for (const QString &part : path.split(QLatin1Char('\\'), Qt::SkipEmptyParts)) {
        fullPath += QLatin1Char('\\') + part;
        added = added || !contents.find(fullPath);
        contents.ensure(fullPath);
    }
    return !added || store(contents);
}

std::optional<RegValue> RegHive::value(const QString &path, const QString &name) const
{
    if (!isValidKeyPath(path))
        return std::nullopt;
    const Contents contents = load();
    const Key *key = contents.find(joinPath(m_rootName, path));
    if (!key)
        return std::nullopt;
    const qsizetype index = key->indexOf(name);
    if (index < 0)
        return std::nullopt;
    return key->values[index].second;
}

bool RegHive::setValue(const QString &path, const QString &name, const RegValue &value)
{
    if (!isValidKeyPath(path) || hasLineBreak(name))
        return false;
    Contents contents = load();
    Key &key = contents.ensure(joinPath(m_rootName, path));
    const qsizetype index = key.indexOf(name);
    // Rewriting an unchanged value would cost a synced write at every start for nothing.
    if (index >= 0 && key.values[index].second == value && !contents.damaged)
        return true;
    if (index >= 0)
        key.values[index].second = value;
    else
        key.values.append({ name, value });
    return store(contents);
}

bool RegHive::deleteValue(const QString &path, const QString &name)
{
    if (!isValidKeyPath(path))
        return false;
    Contents contents = load();
    Key *key = contents.find(joinPath(m_rootName, path));
    const qsizetype index = key ? key->indexOf(name) : -1;
    if (index < 0)
        return true;
    key->values.removeAt(index);
    return store(contents);
}
