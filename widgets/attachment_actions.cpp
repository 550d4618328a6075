#include "widgets/attachment_actions.h"

#include "db/ado_database.h"
#include "format/display_text.h"
#include "format/string_table.h"
#include "platform/busy.h"
#include "platform/whole_file.h"
#include "widgets/file_choice.h"
#include "widgets/ui.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QUrl>

#include <memory>
#include <unistd.h>

namespace Attachments {
namespace {

const char kOpenedPrefix[] = "domelio-opened-";

QString quotedName(const QString &name)
{
    return QStringLiteral("\u201C") + name + QStringLiteral("\u201D");
}

// A name that stays one file name in the folder: no separators, not hidden, not empty.
QString safeFileName(const QString &name)
{
    QString safe = name;
    safe.replace(QLatin1Char('/'), QLatin1Char('_'));
    safe.replace(QChar(0), QLatin1Char('_'));
    while (safe.startsWith(QLatin1Char('.')))
        safe.remove(0, 1);
    return safe.isEmpty() ? QStringLiteral("attachment") : safe;
}

// Folders of opened copies whose run was cut off before it could remove them (its process is
// gone): the user's own only.
void removeLeftFolders()
{
    const QDir temp(QDir::tempPath());
    const QString prefix = QLatin1String(kOpenedPrefix);
    for (const QFileInfo &entry :
         temp.entryInfoList({ prefix + QLatin1Char('*') }, QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (entry.isSymLink() || entry.ownerId() != ::getuid())
            continue;
        bool isNumber = false;
        const qint64 pid = entry.fileName()
                               .mid(prefix.size())
                               .section(QLatin1Char('-'), 0, 0)
                               .toLongLong(&isNumber);
        if (!isNumber || pid == QCoreApplication::applicationPid()
            || QFileInfo::exists(QStringLiteral("/proc/%1").arg(pid)))
            continue;
        QDir(entry.absoluteFilePath()).removeRecursively();
    }
}

} // namespace

QString sizeText(qint64 bytes)
{
    return userLocale().formattedDataSize(bytes, 1, QLocale::DataSizeSIFormat);
}

QString problemText(const AddOutcome &outcome, const QString &fileName, qint64 maximum)
{
    const QString name = quotedName(fileName);
    const QLocale &locale = userLocale();
    switch (outcome.problem) {
    case Problem::None:
        return {};
    case Problem::Missing:
        return QStringLiteral("%1 cannot be found.").arg(name);
    case Problem::Folder:
        return QStringLiteral("%1 is a folder. Only files can be attached: choose the files in it.")
            .arg(name);
    case Problem::NotAFile:
        return QStringLiteral("%1 is not a file that can be kept (a device, a pipe or a socket).")
            .arg(name);
    case Problem::DataFile:
        return QStringLiteral("%1 is Domelio's own data file, or one of the files the database "
                              "keeps beside it; it cannot be kept inside itself. Backup & "
                              "Restore makes a copy of it.")
            .arg(name);
    case Problem::Unreadable:
        return QStringLiteral("%1 cannot be read: %2").arg(name, outcome.detail);
    case Problem::Changed:
        return QStringLiteral("%1 changed while it was being read, so none of it was kept. Add it "
                              "again once nothing is writing to it.")
            .arg(name);
    case Problem::TooLarge:
        return QStringLiteral("%1 is too large to keep in the data file (%2 bytes): a file may "
                              "have at most %3 bytes.")
            .arg(name, locale.toString(outcome.size), locale.toString(maximum));
    case Problem::DiskFull:
        return QStringLiteral("There is not enough room on the disk for %1 (%2), so none of it was "
                              "kept. Free some space and try again.")
            .arg(name, sizeText(outcome.size));
    case Problem::Cancelled:
        return QStringLiteral("Adding %1 was cancelled; none of it was kept.").arg(name);
    case Problem::Database:
        return QStringLiteral("%1 could not be stored in the data file: %2")
            .arg(name, outcome.detail);
    }
    return {};
}

std::vector<qint64> addFiles(QWidget *owner, CADODataBase &db, const QStringList &paths,
                             qint32 homeId, qint32 assetId)
{
    std::vector<qint64> added;
    QStringList problems;
    const qint64 maximum = maximumSize(db);
    for (qsizetype i = 0; i < paths.size(); ++i) {
        const QString name = QFileInfo(paths[i]).fileName();
        QString label = QStringLiteral("Adding %1...").arg(quotedName(name));
        if (paths.size() > 1)
            label += QStringLiteral(" (%1 of %2)").arg(i + 1).arg(paths.size());
        AddOutcome outcome;
        {
            const Busy::Scope busy(label, Busy::Cancel::Allowed);
            outcome = add(db, paths[i], homeId, assetId);
        }
        if (outcome.problem == Problem::None) {
            added.push_back(outcome.id);
            continue;
        }
        problems << problemText(outcome, name.isEmpty() ? paths[i] : name, maximum);
        if (outcome.problem == Problem::Cancelled) {
            const qsizetype rest = paths.size() - i - 1;
            if (rest > 0)
                problems << QStringLiteral("The %1 after it %2 not added.")
                                .arg(rest == 1 ? QStringLiteral("file")
                                               : QStringLiteral("%1 files").arg(rest),
                                     rest == 1 ? QStringLiteral("was") : QStringLiteral("were"));
            break;
        }
    }
    if (!problems.isEmpty()) {
        QString text = problems.join(QStringLiteral("\n\n"));
        if (paths.size() > 1)
            text = QStringLiteral("%1 of %2 files were attached.\n\n")
                       .arg(added.size())
                       .arg(paths.size())
                + text;
        Ui::messageBox(owner, text, Strings::load(Strings::AppTitle), Ui::Icon::Warning, Ui::Ok);
    }
    return added;
}

QString openedCopiesFolder()
{
    static std::unique_ptr<QTemporaryDir> folder;
    if (!folder || !folder->isValid()) {
        removeLeftFolders();
        folder = std::make_unique<QTemporaryDir>(
            QDir::tempPath() + QLatin1Char('/') + QLatin1String(kOpenedPrefix)
            + QString::number(QCoreApplication::applicationPid()) + QStringLiteral("-XXXXXX"));
        if (!folder->isValid())
            return {};
    }
    return folder->path();
}

bool open(QWidget *owner, CADODataBase &db, const Attachment &attachment)
{
    const QString caption = Strings::load(Strings::AppTitle);
    const QString folder = openedCopiesFolder();
    // One folder per attachment, so two files of the same name stay apart.
    const QString own = folder + QStringLiteral("/%1").arg(attachment.id);
    if (folder.isEmpty() || !QDir().mkpath(own)) {
        Ui::messageBox(owner,
                       QStringLiteral("%1 cannot be opened: no temporary folder can be made for a "
                                      "copy of it.")
                           .arg(quotedName(attachment.fileName)),
                       caption, Ui::Icon::Warning, Ui::Ok);
        return false;
    }
    const QString copy = own + QLatin1Char('/') + safeFileName(attachment.fileName);
    // A copy made earlier in this run is the same bytes (it cannot be written to).
    if (!(QFileInfo(copy).isFile() && QFileInfo(copy).size() == attachment.size)) {
        QFile::setPermissions(copy, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        WholeFile::Outcome written;
        {
            const Busy::Scope busy(
                QStringLiteral("Opening %1...").arg(quotedName(attachment.fileName)),
                Busy::Cancel::Allowed);
            written =
                WholeFile::write(copy, db.GetDataSource(), [&](QIODevice &out, QString *error) {
                    if (writeTo(db, attachment.id, out, error))
                        return WholeFile::Result::Written;
                    return error->isEmpty() ? WholeFile::Result::Cancelled
                                            : WholeFile::Result::Failed;
                });
        }
        if (written.result == WholeFile::Result::Cancelled)
            return false;
        if (written.result != WholeFile::Result::Written) {
            Ui::messageBox(owner,
                           QStringLiteral("%1 cannot be opened: %2")
                               .arg(quotedName(attachment.fileName), written.error),
                           caption, Ui::Icon::Warning, Ui::Ok);
            return false;
        }
    }
    // Read-only, so that no viewer saves changes into a copy that is thrown away.
    QFile::setPermissions(copy, QFileDevice::ReadOwner);
    if (!Ui::openUrl(QUrl::fromLocalFile(copy))) {
        Ui::messageBox(owner,
                       QStringLiteral("No program is set up on this computer to open %1. Save a "
                                      "copy with Save As and open it from there.")
                           .arg(quotedName(attachment.fileName)),
                       caption, Ui::Icon::Information, Ui::Ok);
        return false;
    }
    return true;
}

bool saveAs(QWidget *owner, CADODataBase &db, const Attachment &attachment)
{
    const QString caption = QStringLiteral("Save Attachment As");
    const QString suffix = QFileInfo(attachment.fileName).suffix();
    const QString proposed = safeFileName(attachment.fileName);
    QString target;
    if (suffix.isEmpty()) {
        target =
            Ui::saveFileName(owner, caption, QDir(FileChoice::startFolder()).filePath(proposed),
                             QStringLiteral("All Files (*)"));
        if (!target.isEmpty() && FileChoice::refuseDataFile(owner, target, db.GetDataSource()))
            target.clear();
    } else {
        target = FileChoice::saveFileName(
            owner, caption, proposed,
            QStringLiteral("%1 Files (*.%2);;All Files (*)").arg(suffix.toUpper(), suffix), suffix,
            db.GetDataSource());
    }
    if (target.isEmpty())
        return false;
    WholeFile::Outcome written;
    {
        const Busy::Scope busy(QStringLiteral("Saving %1...").arg(quotedName(attachment.fileName)),
                               Busy::Cancel::Allowed);
        written = WholeFile::write(target, db.GetDataSource(), [&](QIODevice &out, QString *error) {
            if (writeTo(db, attachment.id, out, error))
                return WholeFile::Result::Written;
            return error->isEmpty() ? WholeFile::Result::Cancelled : WholeFile::Result::Failed;
        });
    }
    if (written.result == WholeFile::Result::Written)
        return true;
    if (written.result == WholeFile::Result::Failed)
        Ui::messageBox(owner,
                       QStringLiteral("%1 could not be saved to \"%2\": %3")
                           .arg(quotedName(attachment.fileName), QDir::toNativeSeparators(target),
                                written.step == WholeFile::Step::DataFile
                                    ? QStringLiteral("that is Domelio's own data file.")
                                    : written.error),
                       Strings::load(Strings::AppTitle), Ui::Icon::Warning, Ui::Ok);
    return false;
}

} // namespace Attachments
