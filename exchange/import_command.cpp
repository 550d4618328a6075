#include "exchange/import_command.h"

#include "db/ado_database.h"
#include "exchange/import_dialog.h"
#include "exchange/inventory_import.h"
#include "format/string_table.h"
#include "platform/busy.h"
#include "platform/whole_file.h"
#include "records/home.h"
#include "widgets/file_choice.h"
#include "widgets/ui.h"

#include <QDir>
#include <QFileInfo>

namespace Import {
namespace {

// Offers to keep the skipped rows beside the source, and writes them on Yes.
void offerSkippedRows(QWidget *owner, CADODataBase &db, const Dialog &dialog, const QString &source,
                      const QString &message)
{
    const Outcome &outcome = *dialog.outcome();
    const QString appName = Strings::load(Strings::AppTitle);
    if (outcome.skippedRows == 0) {
        Ui::messageBox(owner, message + QLatin1Char('.'), appName, Ui::Icon::Information, Ui::Ok);
        return;
    }
    const QString target = skippedFileName(source);
    const int answer = Ui::messageBox(
        owner,
        message
            + QStringLiteral(".\n\nSave the list of skipped rows as \"%1\" beside the file you "
                             "imported?")
                  .arg(QFileInfo(target).fileName()),
        appName, Ui::Icon::Question, Ui::Yes | Ui::No, Ui::Yes);
    if (answer != Ui::Yes)
        return;
    const WholeFile::Outcome written =
        WholeFile::write(target, db.GetDataSource(), [&](QIODevice &file, QString *error) {
            return writeSkipped(dialog.bytes(), dialog.settings(), outcome.skips, file, error)
                ? WholeFile::Result::Written
                : WholeFile::Result::Failed;
        });
    if (written.result != WholeFile::Result::Written)
        Ui::messageBox(
            owner,
            QStringLiteral("The list of skipped rows could not be saved as \"%1\".\n\n%2")
                .arg(QDir::toNativeSeparators(target), written.error),
            appName, Ui::Icon::Warning, Ui::Ok);
}

} // namespace

bool importInventory(QWidget *owner, CADODataBase &db, const CHome &home)
{
    const QString appName = Strings::load(Strings::AppTitle);
    const QString path =
        Ui::openFileName(owner, QStringLiteral("Import Inventory Data"), FileChoice::startFolder(),
                         QStringLiteral("CSV and text files (*.csv *.txt *.tsv);;All files (*)"));
    if (path.isEmpty())
        return false;
    const QString name = QFileInfo(path).fileName();

    QByteArray bytes;
    QString error;
    bool read = false;
    {
        Ui::WaitCursor wait;
        Busy::Scope busy(QStringLiteral("Reading the file..."), Busy::Cancel::Allowed);
        read = readFile(path, bytes, &error,
                        [](qint64 done, qint64 total) { return Busy::step(done, total); });
    }
    if (!read) {
        if (!error.isEmpty())
            Ui::messageBox(owner, error, appName, Ui::Icon::Warning, Ui::Ok);
        return false;
    }
    Start start = startingSettings(bytes);
    if (!start.error.isEmpty()) {
        Ui::messageBox(owner,
                       QStringLiteral("\"%1\" cannot be imported.\n\n%2").arg(name, start.error),
                       appName, Ui::Icon::Warning, Ui::Ok);
        return false;
    }

    Dialog dialog(db, home, path, std::move(bytes), start.settings, owner);
    if (Ui::runModal(dialog) != QDialog::Accepted || !dialog.outcome())
        return false;
    offerSkippedRows(owner, db, dialog, path,
                     outcomeText(*dialog.outcome(), home.m_strDescription));
    return true;
}

} // namespace Import
