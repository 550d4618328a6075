// Where the report goes: Qt's print preview, the system's print dialog, or a PDF file, through
// the output the labels share (page_output.h).
#include "db/ado_database.h"
#include "format/string_table.h"
#include "report/page_output.h"
#include "report/report_dialog.h"
#include "report/report_layout.h"
#include "widgets/file_choice.h"
#include "widgets/ui.h"

namespace InventoryReport {

namespace {

const PageOutput::Words &reportWords()
{
    static const PageOutput::Words words {
        QStringLiteral("Inventory Report Preview"),
        QStringLiteral("reportPreview"),
        QStringLiteral("Print Inventory Report"),
        QStringLiteral("reportPrintDialog"),
        QStringLiteral("Preparing the preview..."),
        QStringLiteral("Printing the inventory report..."),
        QStringLiteral("Writing the inventory report..."),
        QStringLiteral("The inventory report could not be printed. Please check the printer and "
                       "try again."),
        QStringLiteral("None of the pages chosen is in the report, which has %1 pages. Nothing "
                       "was printed."),
        QStringLiteral("The inventory report could not be saved as %1.\n\n%2"),
    };
    return words;
}

} // namespace

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

PageOutput::Document Dialog::document(const Contents &contents) const
{
    PageOutput::Document document;
    document.title = proposedFileName().chopped(4);
    document.layout = reportPageLayout(paperSize());
    document.paint = [&contents](QPagedPaintDevice &device, const PageOutput::Progress &progress,
                                 const QPageRanges &chosen, PageOutput::Pages &pages) {
        PageLayout layout(contents);
        const bool painted = layout.paint(device, progress, chosen);
        pages = { layout.pageCount(), layout.paintedCount() };
        return painted;
    };
    return document;
}

void Dialog::preview()
{
    Contents contents;
    if (loadContents(contents))
        PageOutput::preview(this, document(contents), reportWords());
}

void Dialog::print()
{
    Contents contents;
    if (loadContents(contents))
        PageOutput::print(this, document(contents), reportWords());
}

void Dialog::saveAsPdf()
{
    const QString path = FileChoice::saveFileName(
        this, QStringLiteral("Save Inventory Report as PDF"), proposedFileName(),
        QStringLiteral("PDF Files (*.pdf)"), QStringLiteral("pdf"), m_db.GetDataSource());
    if (path.isEmpty())
        return;
    Contents contents;
    if (!loadContents(contents))
        return;
    if (!PageOutput::savePdf(this, document(contents), reportWords(), path, m_db.GetDataSource()))
        return;
    m_written = path;
    FileChoice::offerToOpen(this, path);
}

} // namespace InventoryReport
