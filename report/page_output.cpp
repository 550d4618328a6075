#include "report/page_output.h"

#include "controls/auto_list_ctrl.h"
#include "format/string_table.h"
#include "platform/busy.h"
#include "report/report_file.h"
#include "widgets/ui.h"

#include <QDate>
#include <QDialogButtonBox>
#include <QDir>
#include <QPaintEngine>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>

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
// step. cancelled says whether the user stopped it. A printer prints the pages its print
// dialog chose.
bool paint(QPagedPaintDevice &device, const Document &document, const QString &label,
           bool *cancelled = nullptr, QPrinter *printer = nullptr, Pages *pages = nullptr)
{
    const Busy::Scope progress(label, Busy::Cancel::Allowed);
    const QPageRanges chosen = printer && printer->printRange() == QPrinter::PageRange
        ? printer->pageRanges()
        : QPageRanges();
    Pages counted;
    const bool painted = document.paint(
        device,
        [&](int permille) {
            if (Busy::step(permille, 1000))
                return true;
            // A print job under way is withdrawn where the print system allows it; either way
            // nothing more is painted. (Stopped before the first page, there is no job yet.)
            if (printer && printer->printerState() == QPrinter::Active)
                printer->abort();
            return false;
        },
        chosen, counted);
    if (cancelled)
        *cancelled = progress.cancelled();
    if (pages)
        *pages = counted;
    return painted;
}

// Prints on a printer whose print dialog was accepted, saying what went wrong if anything.
void printOn(QWidget *owner, QPrinter &printer, const Document &document, const Words &words)
{
    bool cancelled = false;
    Pages pages;
    if (paint(printer, document, words.printing, &cancelled, &printer, &pages) || cancelled)
        return;
    const QString appName = Strings::load(Strings::AppTitle);
    if (pages.total > 0 && pages.painted == 0) {
        Ui::messageBox(owner, words.noneChosen.arg(pages.total), appName, Ui::Icon::Warning,
                       Ui::Ok);
        return;
    }
    Ui::messageBox(owner, words.printFailed, appName, Ui::Icon::Warning, Ui::Ok);
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
                     [&](QPrinter *target) {
                         // The preview records its pages as pictures; its Print button paints
                         // on the printer itself, which is a print job like any other: named
                         // so, and withdrawn on Cancel.
                         const QPaintEngine *engine = target->paintEngine();
                         if (engine && engine->type() == QPaintEngine::Picture)
                             paint(*target, document, words.preparing);
                         else
                             printOn(owner, *target, document, words);
                     });
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
    printOn(owner, printer, document, words);
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

QPushButton *button(const QString &text, const QString &name, QWidget *parent)
{
    auto *made = new QPushButton(text, parent);
    made->setObjectName(name);
    made->setAutoDefault(false);
    return made;
}

CAutoListCtrl *tickList(const QString &name, const QString &accessibleName, int rows,
                        QWidget *parent)
{
    auto *list = new CAutoListCtrl(
        parent, CAutoListCtrl::Options(CAutoListCtrl::NoHeader) | CAutoListCtrl::SingleSelection);
    list->setObjectName(name);
    list->setAccessibleName(accessibleName);
    list->InsertColumn(0, accessibleName);
    list->SetExtendedStyle(CAutoListCtrl::CheckBoxes | CAutoListCtrl::FullRowSelect);
    list->setMinimumHeight(rows * list->fontMetrics().height() + 12);
    return list;
}

void fillTicked(CAutoListCtrl &list, const std::vector<InventoryReport::Choice> &choices)
{
    list.SetRedraw(false);
    list.DeleteAllItems();
    for (const InventoryReport::Choice &choice : choices) {
        const int row = list.InsertItem(list.GetItemCount(), choice.name);
        list.SetItemData(row, choice.id);
        list.SetCheck(row, true);
    }
    list.SetRedraw(true);
}

void setAllChecks(CAutoListCtrl &list, bool checked)
{
    for (int row = 0, n = list.GetItemCount(); row < n; ++row)
        list.SetCheck(row, checked);
}

OutputButtons outputButtons(QDialog &dialog, const QString &saveText,
                            const std::function<void()> &preview,
                            const std::function<void()> &print, const std::function<void()> &save)
{
    OutputButtons made;
    made.box = new QDialogButtonBox(&dialog);
    const std::pair<QPushButton *, std::function<void()>> actions[] = {
        { button(QStringLiteral("Pre&view"), QStringLiteral("preview"), &dialog), preview },
        { button(QStringLiteral("&Print..."), QStringLiteral("print"), &dialog), print },
        { button(saveText, QStringLiteral("saveAsPdf"), &dialog), save },
    };
    for (const auto &[pushed, action] : actions) {
        made.box->addButton(pushed, QDialogButtonBox::ActionRole);
        QObject::connect(pushed, &QPushButton::clicked, &dialog, action);
        made.tabOrder << pushed;
    }
    actions[2].first->setDefault(true);
    QPushButton *close = made.box->addButton(QDialogButtonBox::Close);
    close->setObjectName(QStringLiteral("close"));
    made.tabOrder << close;
    QObject::connect(made.box, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    return made;
}

QString pdfName(const QString &home, const QString &what, const QDate &date)
{
    QString name = home;
    name.replace(QLatin1Char('/'), QLatin1Char('-'));
    return name + QLatin1Char(' ') + what + QLatin1Char(' ') + date.toString(Qt::ISODate)
        + QStringLiteral(".pdf");
}

} // namespace PageOutput
