// Where the labels go: Qt's print preview, the system's print dialog, or a PDF file, through
// the output the inventory report shares (page_output.h), once the choices have been checked.
#include "db/ado_database.h"
#include "format/string_table.h"
#include "report/label_dialog.h"
#include "widgets/file_choice.h"
#include "widgets/ui.h"

namespace Labels {

namespace {

const PageOutput::Words &labelWords()
{
    static const PageOutput::Words words {
        QStringLiteral("Labels Preview"),
        QStringLiteral("labelsPreview"),
        QStringLiteral("Print Labels"),
        QStringLiteral("labelsPrintDialog"),
        QStringLiteral("Preparing the preview..."),
        QStringLiteral("Printing the labels..."),
        QStringLiteral("Writing the labels..."),
        QStringLiteral("The labels could not be printed. Please check the printer and try "
                       "again."),
        QStringLiteral("None of the pages chosen is among the labels' %1 pages. Nothing was "
                       "printed."),
        QStringLiteral("The labels could not be saved as %1.\n\n%2"),
    };
    return words;
}

} // namespace

void Dialog::warn(const QString &text)
{
    Ui::messageBox(this, text, Strings::load(Strings::AppTitle), Ui::Icon::Warning, Ui::Ok);
}

bool Dialog::prepare(std::vector<Label> &labels)
{
    const QString wrong = problem(geometry());
    if (!wrong.isEmpty()) {
        warn(wrong + QStringLiteral("\n\nPlease correct the custom layout."));
        return false;
    }
    const Request asked = request();
    switch (asked.choice) {
    case Choice::TickedCategories:
        if (asked.ticked.isEmpty()) {
            warn(QStringLiteral("Please tick at least one category."));
            return false;
        }
        break;
    case Choice::TickedLocations:
    case Choice::LocationLabels:
        if (asked.ticked.isEmpty()) {
            warn(QStringLiteral("Please tick at least one location."));
            return false;
        }
        break;
    default:
        break;
    }
    QString error;
    bool read = false;
    {
        Ui::WaitCursor wait;
        read = load(m_db, m_homeId, asked, labels, &error);
    }
    if (!read) {
        warn(QStringLiteral("The inventory could not be read.\n\n") + error);
        return false;
    }
    remember();
    if (!labels.empty())
        return true;
    switch (asked.choice) {
    case Choice::SelectedAssets:
        warn(QStringLiteral("The selected asset is no longer in the inventory."));
        break;
    case Choice::AssetNumbers:
        warn(QStringLiteral("No asset of %1 has a number from %2 to %3.")
                 .arg(m_homeDescription)
                 .arg(std::min(asked.first, asked.last))
                 .arg(std::max(asked.first, asked.last)));
        break;
    case Choice::TickedCategories:
        warn(QStringLiteral("No asset of %1 is in the ticked categories.").arg(m_homeDescription));
        break;
    case Choice::TickedLocations:
        warn(QStringLiteral("No asset of %1 is in the ticked locations.").arg(m_homeDescription));
        break;
    case Choice::AllAssets:
        warn(QStringLiteral("%1 has no assets to label yet.").arg(m_homeDescription));
        break;
    case Choice::LocationLabels:
        warn(QStringLiteral("The ticked locations are no longer in the data file."));
        break;
    }
    return false;
}

PageOutput::Document Dialog::document(const std::vector<Label> &labels) const
{
    PageOutput::Document document;
    document.title = proposedFileName().chopped(4);
    document.layout = pageLayout(geometry());
    document.fullPage = true;
    document.paint = [painter = Painter(geometry(), skip(), ownLine()),
                      &labels](QPagedPaintDevice &device, const PageOutput::Progress &progress,
                               const QPageRanges &chosen, PageOutput::Pages &pages) mutable {
        pages.total = painter.pagesFor(labels.size());
        return painter.paint(device, labels, progress, chosen, &pages.painted);
    };
    return document;
}

void Dialog::preview()
{
    std::vector<Label> labels;
    if (prepare(labels))
        PageOutput::preview(this, document(labels), labelWords());
}

void Dialog::print()
{
    std::vector<Label> labels;
    if (prepare(labels))
        PageOutput::print(this, document(labels), labelWords());
}

void Dialog::saveAsPdf()
{
    std::vector<Label> labels;
    if (!prepare(labels))
        return;
    const QString path = FileChoice::saveFileName(
        this, QStringLiteral("Save Labels as PDF"), proposedFileName(),
        QStringLiteral("PDF Files (*.pdf)"), QStringLiteral("pdf"), m_db.GetDataSource());
    if (path.isEmpty())
        return;
    if (!PageOutput::savePdf(this, document(labels), labelWords(), path, m_db.GetDataSource()))
        return;
    m_written = path;
    FileChoice::offerToOpen(this, path);
}

} // namespace Labels
