#include "platform/file_target.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QStringList>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <optional>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace FileTarget {
namespace {

const char *const kSideSuffixes[] = { "-journal", "-wal", "-shm" };

// Links followed before giving up: a loop is then left as it is, and fails where it is used.
constexpr int kMaxLinks = 40;

struct Identity
{
    dev_t device;
    ino_t inode;
    bool operator==(const Identity &) const = default;
};

std::optional<Identity> identityOf(const QString &path)
{
    struct stat st;
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return std::nullopt;
    return Identity { st.st_dev, st.st_ino };
}

QString systemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

// The data file and its side files, both beside the name the program opens and beside the file
// that name leads to: the engine keeps its side files next to the file itself.
struct DataFileName
{
    QString path;
    bool side;
};

std::vector<DataFileName> dataFileNames(const QString &dataFile)
{
    std::vector<DataFileName> names;
    const QString spelled = QFileInfo(dataFile).absoluteFilePath();
    for (const QString &base : { spelled, resolved(spelled) }) {
        if (!names.empty() && names.front().path == base)
            continue;
        names.push_back({ base, false });
        for (const char *suffix : kSideSuffixes)
            names.push_back({ base + QLatin1String(suffix), true });
    }
    return names;
}

// What the program's temporary files are called: ".<target>.domelio-XXXXXX", never a name
// another program or a person would give a file of their own.
QString temporaryPattern(const QString &name)
{
    return QStringLiteral(".%1.domelio-XXXXXX").arg(name);
}

bool before(const timespec &a, const timespec &b)
{
    return a.tv_sec < b.tv_sec || (a.tv_sec == b.tv_sec && a.tv_nsec < b.tv_nsec);
}

// Whether path is a regular file last written before moment.
bool writtenBefore(const QByteArray &path, const timespec &moment)
{
    struct stat st;
    return ::lstat(path.constData(), &st) == 0 && S_ISREG(st.st_mode) && before(st.st_mtim, moment);
}

// Whether fd is still the file named path.
bool stillNamed(int fd, const QByteArray &path)
{
    struct stat held, named;
    return ::fstat(fd, &held) == 0 && ::lstat(path.constData(), &named) == 0
        && held.st_dev == named.st_dev && held.st_ino == named.st_ino;
}

// Removes what attempts on folder/name that were cut off (killed, power lost) left: their
// temporary file and the side files that go with it (the engine's, and a replaced database's
// set aside). An attempt holds its temporary file locked while it lasts; one whose file can be
// locked is over. Nothing written since this attempt began is touched.
void removeLeftovers(const QString &folder, const QString &name, const timespec &began)
{
    const QRegularExpression leftover(
        QStringLiteral("^(\\.%1\\.domelio-[A-Za-z0-9]{6})((\\.old)?(-journal|-wal|-shm))?$")
            .arg(QRegularExpression::escape(name)));
    const QDir dir(folder);
    QHash<QString, QStringList> attempts; // temporary file -> its side files
    for (const QString &entry : dir.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        const QRegularExpressionMatch match = leftover.match(entry);
        if (match.hasMatch()) {
            QStringList &sides = attempts[match.captured(1)];
            if (match.capturedLength(2) > 0)
                sides << entry;
        }
    }
    for (auto it = attempts.cbegin(); it != attempts.cend(); ++it) {
        const QByteArray temporary = QFile::encodeName(dir.filePath(it.key()));
        int held = -1;
        struct stat st;
        if (::lstat(temporary.constData(), &st) == 0) {
            if (!writtenBefore(temporary, began))
                continue;
            held = ::open(temporary.constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
            if (held < 0 || ::flock(held, LOCK_EX | LOCK_NB) != 0 || !stillNamed(held, temporary)) {
                if (held >= 0)
                    ::close(held);
                continue; // under way, or on a file system that cannot tell
            }
        }
        for (const QString &side : it.value()) {
            const QByteArray path = QFile::encodeName(dir.filePath(side));
            if (writtenBefore(path, began))
                ::unlink(path.constData());
        }
        if (held >= 0) {
            ::unlink(temporary.constData());
            ::close(held);
        }
    }
}

// File systems without permissions (FAT, some network shares) refuse to set them; a file there
// has what the mount gives every file.
bool setMode(int fd, mode_t mode)
{
    return ::fchmod(fd, mode) == 0 || errno == EPERM || errno == ENOTSUP || errno == EOPNOTSUPP
        || errno == EINVAL;
}

bool syncFolder(const QString &folder)
{
    const int fd =
        ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

} // namespace

QString resolved(const QString &path)
{
    QFileInfo info(path);
    for (int i = 0; i < kMaxLinks && info.isSymLink(); ++i)
        info.setFile(info.symLinkTarget());
    return info.isSymLink() ? QFileInfo(path).absoluteFilePath() : info.absoluteFilePath();
}

bool isDataFile(const QString &path, const QString &dataFile)
{
    if (path.isEmpty() || dataFile.isEmpty())
        return false;
    const std::vector<DataFileName> names = dataFileNames(dataFile);
    if (const auto target = identityOf(path)) {
        for (const DataFileName &name : names) {
            if (identityOf(name.path) == target)
                return true;
        }
    }
    // Not there yet, or a link to nothing: the name it would get decides. A side file's name in
    // another case is the same name on a folder that ignores case, and nobody wants a file
    // named like the journal anyway.
    const QFileInfo final(resolved(path));
    const auto folder = identityOf(final.absolutePath());
    if (!folder)
        return false;
    for (const DataFileName &name : names) {
        const QFileInfo info(name.path);
        if (info.fileName().compare(final.fileName(),
                                    name.side ? Qt::CaseInsensitive : Qt::CaseSensitive)
                == 0
            && identityOf(info.absolutePath()) == folder)
            return true;
    }
    return false;
}

void removeSideFiles(const QString &file)
{
    for (const char *suffix : kSideSuffixes)
        QFile::remove(file + QLatin1String(suffix));
}

Replacement::Replacement(const QString &target, const QString &modeSource, Kind kind)
    : m_target(resolved(target))
    , m_modeSource(modeSource)
    , m_kind(kind)
{
}

Replacement::~Replacement()
{
    if (!m_temporary.isEmpty()) {
        QFile::remove(m_temporary);
        removeSideFiles(m_temporary);
    }
    if (m_held >= 0)
        ::close(m_held);
}

bool Replacement::open(QString *error)
{
    const QFileInfo target(m_target);
    if (target.isDir()) {
        *error = QStringLiteral("That name belongs to a folder.");
        return false;
    }
    timespec began;
    ::clock_gettime(CLOCK_REALTIME, &began);
    removeLeftovers(target.absolutePath(), target.fileName(), began);
    const QByteArray pattern = QFile::encodeName(
        QDir(target.absolutePath()).filePath(temporaryPattern(target.fileName())));
    // Locked at once; should another attempt's clean-up have found it unlocked in the moment
    // between and taken it, it is gone or going, and the next name is tried. A file system
    // without locks (some network shares) holds none, and leftovers there stay.
    for (int tries = 0; tries < 3; ++tries) {
        QByteArray name = pattern;
        const int fd = ::mkostemp(name.data(), O_CLOEXEC);
        if (fd < 0) {
            *error = systemError();
            return false;
        }
        if ((::flock(fd, LOCK_EX | LOCK_NB) == 0 || errno != EWOULDBLOCK) && stillNamed(fd, name)) {
            m_held = fd;
            m_temporary = QFile::decodeName(name);
            return true;
        }
        ::close(fd);
    }
    *error = QStringLiteral("Another program keeps removing the temporary file.");
    return false;
}

bool Replacement::commit(QString *error)
{
    if (m_temporary.isEmpty()) {
        *error = QStringLiteral("Nothing was written.");
        return false;
    }
    struct stat st;
    mode_t mode = 0600;
    if (::stat(QFile::encodeName(m_target).constData(), &st) == 0
        || (!m_modeSource.isEmpty()
            && ::stat(QFile::encodeName(m_modeSource).constData(), &st) == 0))
        mode = st.st_mode & 0777;
    // Everything that can fail before anything of the target's is touched.
    if (!setMode(m_held, mode) || ::fsync(m_held) != 0) {
        *error = systemError();
        return false;
    }

    const QByteArray temporary = QFile::encodeName(m_temporary);
    const QByteArray target = QFile::encodeName(m_target);
    std::vector<std::pair<QByteArray, QByteArray>> setAside; // (side file, where it went)
    auto putBack = [&setAside] {
        for (const auto &[side, aside] : setAside)
            ::rename(aside.constData(), side.constData());
    };
    if (m_kind == Kind::Database) {
        for (const char *suffix : kSideSuffixes) {
            const QByteArray side = target + suffix;
            const QByteArray aside = temporary + ".old" + suffix;
            if (::lstat(side.constData(), &st) != 0)
                continue;
            if (::rename(side.constData(), aside.constData()) != 0) {
                *error = systemError();
                putBack();
                return false;
            }
            setAside.emplace_back(side, aside);
        }
    }
    if (::rename(temporary.constData(), target.constData()) != 0) {
        *error = systemError();
        putBack();
        return false;
    }
    for (const auto &entry : setAside)
        ::unlink(entry.second.constData());
    m_temporary.clear();
    ::close(std::exchange(m_held, -1));
    // The file is in place; a folder that cannot be flushed loses nothing that a later flush
    // by the system would not save.
    syncFolder(QFileInfo(m_target).absolutePath());
    return true;
}

} // namespace FileTarget
