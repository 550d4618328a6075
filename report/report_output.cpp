// Where the report goes: Qt's print preview, the system's print dialog, or a PDF file.
#include "db/ado_database.h"
#include "format/string_table.h"
#include "platform/busy.h"
#include "report/report_dialog.h"
#include "report/report_file.h"
#include "report/report_layout.h"
#include "widgets/file_choice.h"
#include "widgets/ui.h"

#include <QDir>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

namespace InventoryReport {

bool Dialog::loadContents(Contents &contents)
{
    Ui::WaitCursor wait;
    QString error;
    if (load(m_db, m_homeId, options(), reportDate(), contents, &error))
        return true;
    Ui::messageBox(this, QStringLiteral("The inventory could not be read.\n\n") + error,
                   Strings::load(Strings::AppTitle), Ui::Icon::Warning, Ui::Ok);
    return false;
}

void Dialog::setUpPrinter(QPrinter &printer) const
{
    printer.setPageLayout(reportPageLayout(paperSize()));
    printer.setDocName(proposedFileName().chopped(4));
    printer.setCreator(Strings::load(Strings::AppTitle));
}

bool Dialog::paintReport(QPagedPaintDevice &device, const Contents &contents, const QString &label,
                         bool *cancelled, QPrinter *printer)
{
    // The program's progress window, with Cancel; the layout stops at its next step.
    const Busy::Scope progress(label, Busy::Cancel::Allowed);
    PageLayout layout(contents);
    const bool painted = layout.paint(device, [&](int permille) {
        if (Busy::step(permille, 1000))
            return true;
        // A print job is abandoned before it is finished, or it would still be sent.
        if (printer)
            printer->abort();
        return false;
    });
    if (cancelled)
        *cancelled = progress.cancelled();
    return painted;
}

void Dialog::preview()
{
    Contents contents;
    if (!loadContents(contents))
        return;
    QPrinter printer(QPrinter::HighResolution);
    setUpPrinter(printer);
    QPrintPreviewDialog preview(&printer, this);
    preview.setObjectName(QStringLiteral("reportPreview"));
    preview.setWindowTitle(QStringLiteral("Inventory Report Preview"));
    connect(&preview, &QPrintPreviewDialog::paintRequested, this, [&](QPrinter *target) {
        paintReport(*target, contents, QStringLiteral("Preparing the preview..."));
    });
    Ui::runModal(preview);
}

void Dialog::print()
{
    Contents contents;
    if (!loadContents(contents))
        return;
    QPrinter printer(QPrinter::HighResolution);
    setUpPrinter(printer);
    QPrintDialog dialog(&printer, this);
    dialog.setObjectName(QStringLiteral("reportPrintDialog"));
    dialog.setWindowTitle(QStringLiteral("Print Inventory Report"));
    if (Ui::runModal(dialog) != QDialog::Accepted)
        return;
    bool cancelled = false;
    if (!paintReport(printer, contents, QStringLiteral("Printing the inventory report..."),
                     &cancelled, &printer)
        && !cancelled)
        Ui::messageBox(this,
                       QStringLiteral("The inventory report could not be printed. Please check "
                                      "the printer and try again."),
                       Strings::load(Strings::AppTitle), Ui::Icon::Warning, Ui::Ok);
}

void Dialog::saveAsPdf()
{
    const QString appName = Strings::load(Strings::AppTitle);
    const QString path = FileChoice::saveFileName(
        this, QStringLiteral("Save Inventory Report as PDF"), proposedFileName(),
        QStringLiteral("PDF Files (*.pdf)"), QStringLiteral("pdf"), m_db.GetDataSource());
    if (path.isEmpty())
        return;
    Contents contents;
    if (!loadContents(contents))
        return;

    QString error;
    const SaveResult result = saveFile(
        path, m_db.GetDataSource(),
        [&](QIODevice &device) {
            QPdfWriter writer(&device);
            writer.setPageLayout(reportPageLayout(paperSize()));
            writer.setTitle(proposedFileName().chopped(4));
            writer.setCreator(appName);
            bool cancelled = false;
            if (paintReport(writer, contents, QStringLiteral("Writing the inventory report..."),
                            &cancelled))
                return SaveResult::Saved;
            return cancelled ? SaveResult::Cancelled : SaveResult::Failed;
        },
        &error);
    if (result == SaveResult::Cancelled)
        return;
    if (result == SaveResult::Failed) {
        Ui::messageBox(this,
                       QStringLiteral("The inventory report could not be saved as %1.\n\n%2")
                           .arg(QDir::toNativeSeparators(path), error),
                       appName, Ui::Icon::Warning, Ui::Ok);
        return;
    }
    m_written = path;
    FileChoice::offerToOpen(this, path);
}

} // namespace InventoryReport
