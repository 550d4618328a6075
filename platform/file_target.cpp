#include "platform/file_target.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>
#include <QTemporaryFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
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

// Removes what attempts on folder/name that were cut off left: ".<name>.XXXXXX" and the
// engine's side files of it.
void removeLeftovers(const QString &folder, const QString &name)
{
    const QRegularExpression leftover(
        QStringLiteral("^\\.%1\\.[A-Za-z0-9]{6}(-journal|-wal|-shm)?$")
            .arg(QRegularExpression::escape(name)));
    const QDir dir(folder);
    for (const QString &entry : dir.entryList(QDir::Files | QDir::Hidden)) {
        if (leftover.match(entry).hasMatch())
            QFile::remove(dir.filePath(entry));
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

Replacement::Replacement(const QString &target, const QString &modeSource)
    : m_target(resolved(target))
    , m_modeSource(modeSource)
{
}

Replacement::~Replacement()
{
    if (m_temporary.isEmpty())
        return;
    QFile::remove(m_temporary);
    removeSideFiles(m_temporary);
}

bool Replacement::open(QString *error)
{
    const QFileInfo target(m_target);
    if (target.isDir()) {
        *error = QStringLiteral("That name belongs to a folder.");
        return false;
    }
    removeLeftovers(target.absolutePath(), target.fileName());
    QTemporaryFile file(
        QDir(target.absolutePath()).filePath(QStringLiteral(".%1.XXXXXX").arg(target.fileName())));
    file.setAutoRemove(false);
    if (!file.open()) {
        *error = file.errorString();
        return false;
    }
    m_temporary = file.fileName();
    return true;
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

    const QByteArray temporary = QFile::encodeName(m_temporary);
    const int fd = ::open(temporary.constData(), O_RDONLY | O_CLOEXEC);
    bool flushed = fd >= 0 && setMode(fd, mode) && ::fsync(fd) == 0;
    if (!flushed)
        *error = systemError();
    if (fd >= 0)
        ::close(fd);
    if (!flushed)
        return false;
    if (::rename(temporary.constData(), QFile::encodeName(m_target).constData()) != 0) {
        *error = systemError();
        return false;
    }
    m_temporary.clear();
    // The file is in place; a folder that cannot be flushed loses nothing that a later flush
    // by the system would not save.
    syncFolder(QFileInfo(m_target).absolutePath());
    return true;
}

} // namespace FileTarget
