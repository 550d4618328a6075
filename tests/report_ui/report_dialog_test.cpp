// The Print Inventory Report dialog: its controls, and the report it previews, prints and saves.
#include "app/command_ids.h"
#include "app/frame_fixture.h"
#include "controls/auto_list_ctrl.h"
#include "format/display_text.h"
#include "report/report_dialog.h"
#include "report/report_fixture.h"
#include "support/long_work.h"
#include "support/screenshots.h"
#include "views/form_view.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleTableInterface>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

using InventoryReport::Grouping;
using InventoryReport::Selection;

class ReportDialog : public ReportFixture
{
protected:
    void SetUp() override
    {
        ReportFixture::SetUp();
        setUserLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    }
    void TearDown() override { resetUserLocale(); }

    std::unique_ptr<InventoryReport::Dialog> makeDialog()
    {
        auto dialog = std::make_unique<InventoryReport::Dialog>(db, home);
        dialog->setReportDate(kToday);
        return dialog;
    }

    static int rowOf(CAutoListCtrl *list, const QString &text)
    {
        for (int row = 0; row < list->GetItemCount(); ++row) {
            if (list->GetItemText(row, 0) == text)
                return row;
        }
        return -1;
    }

    QString picture()
    {
        QImage photo(1200, 800, QImage::Format_RGB32);
        QPainter painter(&photo);
        QLinearGradient gradient(0, 0, 1200, 800);
        gradient.setColorAt(0, QColor(214, 170, 110));
        gradient.setColorAt(1, QColor(90, 60, 40));
        painter.fillRect(photo.rect(), gradient);
        painter.setBrush(QColor(60, 40, 30));
        painter.drawRoundedRect(QRect(150, 300, 900, 350), 60, 60);
        painter.end();
        const QString path = out.filePath(QStringLiteral("sofa.jpg"));
        EXPECT_TRUE(photo.save(path, "JPEG"));
        return path;
    }

    void seed()
    {
        const qint32 living = addLocation(QStringLiteral("Living Room"));
        const qint32 kitchen = addLocation(QStringLiteral("Kitchen"));
        addAsset({ .description = QStringLiteral("Leather sofa"),
                   .category = 8,
                   .location = living,
                   .price = 1899,
                   .current = 1200,
                   .replacement = 2100,
                   .serial = QStringLiteral("CH-55120"),
                   .makeModel = QStringLiteral("Chesterfield"),
                   .vendor = QStringLiteral("Hartley & Sons"),
                   .warranty = COleDateTime(2027, 6, 30),
                   .notes = QStringLiteral("Receipt in the blue folder."),
                   .picture = picture() });
        addAsset({ .description = QStringLiteral("Espresso machine"),
                   .category = 1,
                   .location = kitchen,
                   .price = 649,
                   .current = 400,
                   .replacement = 700,
                   .serial = QStringLiteral("EM-9031-K"),
                   .makeModel = QStringLiteral("Barista Pro"),
                   .vendor = QStringLiteral("City Electronics") });
        addAsset({ .description = QStringLiteral("Oil painting, harbour at dusk"),
                   .category = 2,
                   .location = living,
                   .price = 3500,
                   .current = 4200,
                   .replacement = 4500,
                   .vendor = QStringLiteral("Estate Sale"),
                   .notes = QStringLiteral("Signed lower right. Appraised 2023."),
                   .picture = out.filePath(QStringLiteral("moved-away.jpg")) });
    }

    ScriptedUi ui;
};

TEST_F(ReportDialog, EveryControlIsNamedHasAMnemonicAndThePaperFollowsTheLocale)
{
    seed();
    auto dialog = makeDialog();
    dialog->show();
    Screenshots::save(*dialog, QStringLiteral("inventory_report_dialog"));
    EXPECT_EQ(dialog->paperSize(), QPageSize::Letter);
    EXPECT_EQ(dialog->proposedFileName(), QStringLiteral("Lake house Inventory 2024-03-09.pdf"));
    QStringList mnemonics;
    for (QAbstractButton *button : dialog->findChildren<QAbstractButton *>()) {
        if (button->objectName() == QLatin1String("close") || button->text().isEmpty())
            continue;
        const qsizetype amp = button->text().indexOf(QLatin1Char('&'));
        ASSERT_GE(amp, 0) << button->text().toStdString();
        mnemonics << button->text().mid(amp + 1, 1).toLower();
    }
    // A screen reader reads each field with the label beside it, as the eye does: the label it
    // is labelled by comes first (a combo box's own name is its current entry, its group after).
    const auto nameOf = [](QObject *object) {
        QAccessibleInterface *read = QAccessible::queryAccessibleInterface(object);
        return read ? read->text(QAccessible::Name) : QString();
    };
    for (QLabel *label : dialog->findChildren<QLabel *>()) {
        ASSERT_NE(label->buddy(), nullptr) << label->text().toStdString();
        QStringList labelledBy;
        for (const auto &[other, relation] :
             QAccessible::queryAccessibleInterface(label->buddy())->relations(QAccessible::Label))
            labelledBy << other->text(QAccessible::Name);
        EXPECT_EQ(labelledBy.value(0), QString(label->text()).remove(QLatin1Char('&')));
        mnemonics << label->text().mid(label->text().indexOf(QLatin1Char('&')) + 1, 1).toLower();
    }
    mnemonics.sort();
    EXPECT_EQ(mnemonics.removeDuplicates(), 0) << mnemonics.join(' ').toStdString();
    // The tick lists are read by names of their own, row by row with each row's tick.
    EXPECT_FALSE(nameOf(dialog->categoryList()).isEmpty());
    EXPECT_NE(nameOf(dialog->categoryList()), nameOf(dialog->locationList()));
    QAccessibleInterface *categories =
        QAccessible::queryAccessibleInterface(dialog->categoryList());
    ASSERT_NE(categories->tableInterface(), nullptr);
    const int last = dialog->categoryList()->GetItemCount() - 1;
    ASSERT_EQ(categories->tableInterface()->rowCount(), last + 1);
    QAccessibleInterface *none = categories->tableInterface()->cellAt(last, 0);
    ASSERT_NE(none, nullptr);
    EXPECT_EQ(none->text(QAccessible::Name), QStringLiteral("(No category)"));
    EXPECT_TRUE(none->state().checkable);
    EXPECT_TRUE(none->state().checked);

    for (const auto &[locale, paper] :
         { std::pair(QLocale(QLocale::French, QLocale::Canada), QPageSize::Letter),
           std::pair(QLocale(QLocale::German, QLocale::Germany), QPageSize::A4),
           std::pair(QLocale(QLocale::English, QLocale::UnitedKingdom), QPageSize::A4) }) {
        setUserLocale(locale);
        EXPECT_EQ(makeDialog()->paperSize(), paper) << locale.name().toStdString();
    }

    // Every asset at first; a list to tick only once the ticked kind is chosen.
    EXPECT_EQ(dialog->options().selection, Selection::AllAssets);
    EXPECT_FALSE(dialog->categoryList()->isEnabled());
    ASSERT_TRUE(Fill::check(*dialog, QStringLiteral("tickedCategories"), true));
    EXPECT_TRUE(dialog->categoryList()->isEnabled());
    ASSERT_TRUE(Fill::click(*dialog, QStringLiteral("selectNone")));
    EXPECT_TRUE(dialog->options().ticked.isEmpty());
    dialog->categoryList()->SetCheck(rowOf(dialog->categoryList(), QStringLiteral("Art")), true);
    dialog->categoryList()->SetCheck(rowOf(dialog->categoryList(), QStringLiteral("(No category)")),
                                     true);
    EXPECT_EQ(dialog->options().ticked, (QSet<qint32> { 2, InventoryReport::kNone }));

    // The locations of this home, and the assets without one; the category ticks are kept.
    ASSERT_TRUE(Fill::check(*dialog, QStringLiteral("tickedLocations"), true));
    CAutoListCtrl *locations = dialog->locationList();
    ASSERT_EQ(locations->GetItemCount(), 3);
    EXPECT_EQ(locations->GetItemText(0, 0), QStringLiteral("Kitchen"));
    EXPECT_EQ(locations->GetItemText(2, 0), QStringLiteral("(No location)"));
    EXPECT_EQ(dialog->options().ticked.size(), 3);
    ASSERT_TRUE(Fill::check(*dialog, QStringLiteral("tickedCategories"), true));
    EXPECT_EQ(dialog->options().ticked.size(), 2);

    ASSERT_TRUE(Fill::comboIndex(*dialog, QStringLiteral("grouping"), 1));
    ASSERT_TRUE(Fill::check(*dialog, QStringLiteral("pictures"), false));
    ASSERT_TRUE(Fill::check(*dialog, QStringLiteral("pagePerAsset"), true));
    const InventoryReport::Options options = dialog->options();
    EXPECT_EQ(options.grouping, Grouping::Category);
    EXPECT_FALSE(options.pictures);
    EXPECT_TRUE(options.notes);
    EXPECT_TRUE(options.pagePerAsset);
}

// (The data file refused as its target: with the other files the program writes, in
// TheDataFileAndItsSideFilesAreRefusedAndTheDialogStaysOpen.)
TEST_F(ReportDialog, SaveAsPdfWritesTheReportAndOffersToOpenIt)
{
    seed();
    auto dialog = makeDialog();
    ASSERT_TRUE(Fill::comboIndex(*dialog, QStringLiteral("paper"), 1)); // A4
    const QString chosen = out.filePath(QStringLiteral("for the insurer"));
    ui.nextFileName(chosen);
    ui.answer(Ui::No);
    ASSERT_TRUE(Fill::click(*dialog, QStringLiteral("saveAsPdf")));
    const QString pdf = chosen + QStringLiteral(".pdf");
    ASSERT_EQ(dialog->writtenFile(), pdf);
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_TRUE(ui.messages()[0].text.endsWith(QStringLiteral("has been created.\n\nWould you "
                                                              "like to open it now?")));
    EXPECT_TRUE(pdfInfo(pdf, QStringLiteral("Page size")).endsWith(QLatin1String("(A4)")));
    EXPECT_EQ(pdfInfo(pdf, QStringLiteral("Title")),
              QStringLiteral("Lake house Inventory 2024-03-09"));
    const QString text = squeezed(pdfText(pdf));
    for (const char *expected : { "Total current value $5,800.00", "Serial number: CH-55120",
                                  "Picture not found", "Notes: Receipt in the blue folder." })
        EXPECT_TRUE(text.contains(QLatin1String(expected))) << expected;

    // A person looks at the asset pages before calling the report finished.
    const QString prefix = out.filePath(QStringLiteral("page"));
    tool(QStringLiteral("pdftoppm"),
         { QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("80"), QStringLiteral("-f"),
           QStringLiteral("3"), QStringLiteral("-l"), QStringLiteral("3"),
           QStringLiteral("-singlefile"), pdf, prefix });
    QPixmap page(prefix + QStringLiteral(".png"));
    ASSERT_FALSE(page.isNull());
    Screenshots::save(page, QStringLiteral("inventory_report_assets"));
    EXPECT_TRUE(ui.openedUrls().empty());
}

TEST_F(ReportDialog, CancellingTheProgressLeavesNoFileBehind)
{
    addBooks(3000, QStringLiteral("A first edition."));
    auto dialog = makeDialog();
    const QStringList before = QDir(out.path()).entryList(QDir::Files | QDir::Hidden);
    ui.nextFileName(out.filePath(QStringLiteral("books.pdf")));

    // The person presses Cancel as soon as the progress window is there.
    const EveryWorkIsLong longWork;
    const CancelWhenShown cancel;
    ASSERT_TRUE(Fill::click(*dialog, QStringLiteral("saveAsPdf")));
    EXPECT_TRUE(cancel.pressed());
    EXPECT_EQ(QDir(out.path()).entryList(QDir::Files | QDir::Hidden), before);
    EXPECT_TRUE(dialog->writtenFile().isEmpty());
    EXPECT_TRUE(ui.messages().empty()) << ui.messageTexts().join('\n').toStdString();
}

// No printer here: a job goes to a PDF file, as a "print to file" printer would, and the PDF is
// what the printer would have been sent.
TEST_F(ReportDialog, PrintAndPreviewGoThroughQtsOwnDialogs)
{
    seed();
    auto dialog = makeDialog();
    ASSERT_TRUE(Fill::check(*dialog, QStringLiteral("pagePerAsset"), true));
    // Accepts the print dialog with the job going to file, and pages when given. (done() keeps
    // the printer's settings, where accept() would take the dialog's own choice of printer.)
    const auto printTo = [&](const QString &file, const QPageRanges &pages = {}) {
        ui.onNextDialog([=](QDialog &shown) {
            auto *print = qobject_cast<QPrintDialog *>(&shown);
            ASSERT_NE(print, nullptr);
            EXPECT_EQ(print->printer()->pageLayout().pageSize().id(), QPageSize::Letter);
            print->printer()->setOutputFileName(file);
            if (!pages.isEmpty()) {
                print->printer()->setPrintRange(QPrinter::PageRange);
                print->printer()->setPageRanges(pages);
            }
            shown.done(QDialog::Accepted);
        });
        EXPECT_TRUE(Fill::click(*dialog, QStringLiteral("print")));
    };
    const auto folios = [](const QString &pdf) {
        QStringList found;
        const QRegularExpression folio(QStringLiteral("Page \\d+ of \\d+"));
        for (auto it = folio.globalMatch(pdfText(pdf)); it.hasNext();)
            found << it.next().captured();
        return found;
    };

    // Cancelling the print dialog prints nothing; accepting it prints every page.
    ui.onNextDialog([](QDialog &) {});
    ASSERT_TRUE(Fill::click(*dialog, QStringLiteral("print")));
    const QString printed = out.filePath(QStringLiteral("printed.pdf"));
    printTo(printed);
    EXPECT_EQ(ui.dialogTitles(), QStringList(2, QStringLiteral("Print Inventory Report")));
    ASSERT_TRUE(QFile::exists(printed));
    const int printedPages = pdfInfo(printed, QStringLiteral("Pages")).toInt();
    EXPECT_EQ(printedPages, 5); // the cover, the summary, a page per asset
    EXPECT_TRUE(squeezed(pdfText(printed)).contains(QStringLiteral("Serial number EM-9031-K")));

    // The pages chosen in the print dialog, and only those, each with its own folio.
    const QString chosen = out.filePath(QStringLiteral("chosen.pdf"));
    QPageRanges pages;
    pages.addRange(2, 3);
    pages.addPage(5);
    printTo(chosen, pages);
    EXPECT_EQ(folios(chosen), (QStringList { "Page 2 of 5", "Page 3 of 5", "Page 5 of 5" }));
    EXPECT_TRUE(ui.messages().empty()) << ui.messageTexts().join('\n').toStdString();
    // Pages the report does not have: said so, and no job at all.
    const QString beyond = out.filePath(QStringLiteral("beyond.pdf"));
    QPageRanges past;
    past.addRange(7, 9);
    printTo(beyond, past);
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_TRUE(ui.messages()[0].text.startsWith(
        QStringLiteral("None of the pages chosen is in the report, which has 5 pages.")));
    EXPECT_FALSE(QFile::exists(beyond));

    // The preview shows the same pages. Its Print button makes a print job like any other:
    // named so in the progress window, and Cancel there paints nothing more.
    int previewPages = 0;
    QStringList labels;
    const QString stopped = out.filePath(QStringLiteral("stopped.pdf"));
    ui.onNextDialog([&](QDialog &shown) {
        auto *preview = shown.findChild<QPrintPreviewWidget *>();
        ASSERT_NE(preview, nullptr);
        preview->updatePreview();
        previewPages = preview->pageCount();
        qobject_cast<QPrintPreviewDialog *>(&shown)->printer()->setOutputFileName(stopped);
        const EveryWorkIsLong longWork;
        QTimer cancel;
        cancel.setInterval(0);
        QObject::connect(&cancel, &QTimer::timeout, [&] {
            QProgressDialog *progress = Ui::busyWindow().dialog();
            if (!progress || !progress->isVisible())
                return;
            labels << progress->findChild<QLabel *>(QStringLiteral("busyLabel"))->text();
            // Once pages are on their way: past the layout, in the painting.
            if (progress->value() > 500) {
                progress->findChild<QPushButton *>(QStringLiteral("busyCancel"))->click();
                cancel.stop();
            }
        });
        cancel.start();
        preview->print();
    });
    ASSERT_TRUE(Fill::click(*dialog, QStringLiteral("preview")));
    EXPECT_EQ(ui.dialogTitles().last(), QStringLiteral("Inventory Report Preview"));
    EXPECT_EQ(previewPages, printedPages);
    labels.removeDuplicates();
    EXPECT_EQ(labels, QStringList { QStringLiteral("Printing the inventory report...") });
    const QStringList sent = folios(stopped);
    ASSERT_FALSE(sent.isEmpty());
    EXPECT_LT(sent.size(), printedPages);
    EXPECT_EQ(sent.first(), QStringLiteral("Page 1 of 5"));
    EXPECT_EQ(ui.messages().size(), 1u) << ui.messageTexts().join('\n').toStdString();
}

TEST(ReportCommand, FileMenuAndTheInventoryPopupOpenTheReportWhileAHomeIsCurrent)
{
    ProgramRun run;
    run.seedHomes({ { 1, QStringLiteral("Lake house") } });
    CMainFrame &frame = run.start();
    frame.OnSelectHome();
    EXPECT_FALSE(frame.isCommandEnabled(Command::PrintInventoryReport));
    ASSERT_TRUE(frame.SetCurrentHome(1));
    for (QAction *each : frame.commandActions(Command::PrintInventoryReport))
        EXPECT_TRUE(each->isEnabled());
    const qsizetype shown = run.ui.dialogTitles().size();
    frame.action(Command::PrintInventoryReport)->trigger();
    ASSERT_EQ(run.ui.dialogTitles().size(), shown + 1);
    EXPECT_EQ(run.ui.dialogTitles().last(), QStringLiteral("Print Inventory Report"));

    // The shared popup offers it in the Home Inventory view only.
    auto reportInPopup = [&] {
        frame.ShowContextMenu();
        const QList<QAction *> entries = frame.contextMenu()->actions();
        frame.contextMenu()->hide();
        return entries.last()->isVisible() && entries.last()->text().contains("Report");
    };
    EXPECT_FALSE(reportInPopup());
    frame.ShowView(CMainFrame::InventoryIndex);
    EXPECT_TRUE(reportInPopup());
    frame.contextMenu()->actions().last()->trigger();
    EXPECT_EQ(run.ui.dialogTitles().size(), shown + 2);
    frame.ShowView(CMainFrame::TasksIndex);
    EXPECT_FALSE(reportInPopup());
}

} // namespace
