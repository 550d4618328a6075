#include "db/data_location.h"

#include "platform/user_folders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString withSlash(const QString &folder)
{
    const QString clean = QDir::cleanPath(folder);
    return clean.endsWith(QLatin1Char('/')) ? clean : clean + QLatin1Char('/');
}

} // namespace

DataLocation::DataLocation(const QString &programFolder, const QString &chosenFolder)
{
    const QString program = withSlash(programFolder);
    const QString shared = withSlash(program + QLatin1String("../share/domelio"));
    m_installed = QFileInfo(shared + QLatin1String(kShippedDataFile)).isFile();
    m_shippedFolder = m_installed ? shared : program;

    const QString configured =
        chosenFolder.isEmpty() ? qEnvironmentVariable("DOMELIO_DATA_DIR") : chosenFolder;
    if (!configured.isEmpty())
        m_namedBy = chosenFolder.isEmpty() ? QStringLiteral("$DOMELIO_DATA_DIR")
                                           : QStringLiteral("--data-dir");
    if (!configured.isEmpty())
        m_dataFolder = withSlash(configured);
    else if (m_installed)
        m_dataFolder = withSlash(UserFolders::dataHome() + QLatin1String("/domelio"));
    else
        m_dataFolder = program;
    m_seedsDataFile = m_installed && configured.isEmpty();
}

bool DataLocation::provideDataFile(QString *error) const
{
    auto fail = [&](const QString &why) {
        if (error)
            *error = why;
        return false;
    };
    const QString target = dataFilePath();
    if (namedFolderLacksDataFile())
        return fail(QStringLiteral("no data file in %1 (named by %2): %3 is missing; make a new "
                                   "one with 'make-datafile %4', or name the folder that holds "
                                   "yours")
                        .arg(QDir::cleanPath(m_dataFolder), m_namedBy, QLatin1String(kDataFileName),
                             target));
    // A dangling link counts as a file too: whatever it points at is the user's business.
    if (!m_seedsDataFile || QFileInfo::exists(target) || QFileInfo(target).isSymLink())
        return true;

    const QString folder = QDir::cleanPath(m_dataFolder);
    if (!QFileInfo(folder).isDir()) {
        const QString parent = QFileInfo(folder).absolutePath();
        if (!QDir().mkpath(parent))
            return fail(QStringLiteral("cannot create %1").arg(parent));
        // The household's records are nobody else's to read.
        if (::mkdir(QFile::encodeName(folder).constData(), 0700) != 0 && errno != EEXIST)
            return fail(QStringLiteral("cannot create %1: %2")
                            .arg(folder, QString::fromLocal8Bit(std::strerror(errno))));
        if (!QFileInfo(folder).isDir())
            return fail(
                QStringLiteral("cannot create %1: a file of that name is in the way").arg(folder));
    }

    QFile shipped(m_shippedFolder + QLatin1String(kShippedDataFile));
    if (!shipped.open(QIODevice::ReadOnly))
        return fail(
            QStringLiteral("cannot read %1: %2").arg(shipped.fileName(), shipped.errorString()));
    const QByteArray contents = shipped.readAll();

    // Written whole under a temporary name (created 0600), then linked into place: link() fails
    // rather than replace a file that another start put there meanwhile.
    QTemporaryFile temporary(folder + QLatin1String("/.") + QLatin1String(kDataFileName)
                             + QLatin1String(".XXXXXX"));
    if (!temporary.open())
        return fail(QStringLiteral("cannot write in %1: %2").arg(folder, temporary.errorString()));
    if (temporary.write(contents) != contents.size() || !temporary.flush()
        || ::fsync(temporary.handle()) != 0)
        return fail(QStringLiteral("cannot write in %1: %2").arg(folder, temporary.errorString()));
    const QByteArray from = QFile::encodeName(temporary.fileName());
    const QByteArray to = QFile::encodeName(target);
    if (::link(from.constData(), to.constData()) != 0 && errno != EEXIST)
        return fail(QStringLiteral("cannot create %1: %2")
                        .arg(target, QString::fromLocal8Bit(std::strerror(errno))));
    return true;
}

bool DataLocation::namedFolderLacksDataFile() const
{
    const QString target = dataFilePath();
    return !m_namedBy.isEmpty() && !QFileInfo::exists(target) && !QFileInfo(target).isSymLink();
}
