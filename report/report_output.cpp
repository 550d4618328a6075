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
#include <QPaintEngine>
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

bool Dialog::paintReport(PageLayout &layout, QPagedPaintDevice &device, const QString &label,
                         bool *cancelled, QPrinter *printer)
{
    // The program's progress window, with Cancel; the layout stops at its next step.
    const Busy::Scope progress(label, Busy::Cancel::Allowed);
    // The pages the print dialog chose, when it chose some; a preview shows them all.
    const QPageRanges pages = printer && printer->printRange() == QPrinter::PageRange
        ? printer->pageRanges()
        : QPageRanges();
    const bool painted = layout.paint(
        device,
        [&](int permille) {
            if (Busy::step(permille, 1000))
                return true;
            // A print job under way is withdrawn where the print system allows it; either way
            // nothing more is painted. (Cancelled while the report is laid out, there is no
            // job yet.)
            if (printer && printer->printerState() == QPrinter::Active)
                printer->abort();
            return false;
        },
        pages);
    if (cancelled)
        *cancelled = progress.cancelled();
    return painted;
}

void Dialog::printOn(QPrinter &printer, const Contents &contents)
{
    bool cancelled = false;
    PageLayout layout(contents);
    if (paintReport(layout, printer, QStringLiteral("Printing the inventory report..."), &cancelled,
                    &printer)
        || cancelled)
        return;
    const QString appName = Strings::load(Strings::AppTitle);
    if (layout.pageCount() > 0 && layout.paintedCount() == 0) {
        Ui::messageBox(this,
                       QStringLiteral("None of the pages chosen is in the report, which has %1 "
                                      "pages. Nothing was printed.")
                           .arg(layout.pageCount()),
                       appName, Ui::Icon::Warning, Ui::Ok);
        return;
    }
    Ui::messageBox(this,
                   QStringLiteral("The inventory report could not be printed. Please check the "
                                  "printer and try again."),
                   appName, Ui::Icon::Warning, Ui::Ok);
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
        // The preview records its pages as pictures; its Print button paints on the printer
        // itself, which is a print job like any other: named so, and withdrawn on Cancel.
        const QPaintEngine *engine = target->paintEngine();
        if (engine && engine->type() == QPaintEngine::Picture) {
            PageLayout layout(contents);
            paintReport(layout, *target, QStringLiteral("Preparing the preview..."));
        } else {
            printOn(*target, contents);
        }
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
    printOn(printer, contents);
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
            PageLayout layout(contents);
            if (paintReport(layout, writer, QStringLiteral("Writing the inventory report..."),
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
