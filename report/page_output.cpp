#include "report/page_output.h"

#include "format/string_table.h"
#include "platform/busy.h"
#include "report/report_file.h"
#include "widgets/ui.h"

#include <QDir>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

namespace PageOutput {
namespace {

void setUp(QPrinter &printer, const Document &document)
{
    printer.setPageLayout(document.layout);
    printer.setFullPage(document.fullPage);
    printer.setDocName(document.title);
    printer.setCreator(Strings::load(Strings::AppTitle));
}

// Paints under the program's progress window, with Cancel; the document stops at its next
// step. cancelled says whether the user stopped it.
bool paint(QPagedPaintDevice &device, const Document &document, const QString &label,
           bool *cancelled = nullptr, QPrinter *printer = nullptr)
{
    const Busy::Scope progress(label, Busy::Cancel::Allowed);
    const bool painted = document.paint(device, [&](int permille) {
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

} // namespace

void preview(QWidget *owner, const Document &document, const Words &words)
{
    QPrinter printer(QPrinter::HighResolution);
    setUp(printer, document);
    QPrintPreviewDialog preview(&printer, owner);
    preview.setObjectName(words.previewName);
    preview.setWindowTitle(words.previewTitle);
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                     [&](QPrinter *target) { paint(*target, document, words.preparing); });
    Ui::runModal(preview);
}

void print(QWidget *owner, const Document &document, const Words &words)
{
    QPrinter printer(QPrinter::HighResolution);
    setUp(printer, document);
    QPrintDialog dialog(&printer, owner);
    dialog.setObjectName(words.printName);
    dialog.setWindowTitle(words.printTitle);
    if (Ui::runModal(dialog) != QDialog::Accepted)
        return;
    bool cancelled = false;
    if (!paint(printer, document, words.printing, &cancelled, &printer) && !cancelled)
        Ui::messageBox(owner, words.printFailed, Strings::load(Strings::AppTitle),
                       Ui::Icon::Warning, Ui::Ok);
}

bool savePdf(QWidget *owner, const Document &document, const Words &words, const QString &path,
             const QString &dataFile)
{
    const QString appName = Strings::load(Strings::AppTitle);
    QString error;
    const InventoryReport::SaveResult result = InventoryReport::saveFile(
        path, dataFile,
        [&](QIODevice &device) {
            QPdfWriter writer(&device);
            writer.setPageLayout(document.layout);
            writer.setTitle(document.title);
            writer.setCreator(appName);
            bool cancelled = false;
            if (paint(writer, document, words.writing, &cancelled))
                return InventoryReport::SaveResult::Saved;
            return cancelled ? InventoryReport::SaveResult::Cancelled
                             : InventoryReport::SaveResult::Failed;
        },
        &error);
    if (result == InventoryReport::SaveResult::Failed)
        Ui::messageBox(owner, words.saveFailed.arg(QDir::toNativeSeparators(path), error), appName,
                       Ui::Icon::Warning, Ui::Ok);
    return result == InventoryReport::SaveResult::Saved;
}

} // namespace PageOutput
