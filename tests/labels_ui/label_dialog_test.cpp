// The Print Labels dialog: its controls, what it remembers, what it refuses, and the labels it
// previews, prints and saves.
#include "app/command_ids.h"
#include "app/frame_fixture.h"
#include "controls/auto_list_ctrl.h"
#include "format/display_text.h"
#include "labels/label_fixture.h"
#include "records/label_code.h"
#include "report/custom_sheet_dialog.h"
#include "report/label_dialog.h"
#include "support/long_work.h"
#include "support/screenshots.h"
#include "views/inventory_view.h"
#include "views/rooms_view.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

#include <gtest/gtest.h>

namespace {

using Labels::Choice;
using Labels::Sheet;

class LabelDialog : public LabelFixture
{
protected:
    void SetUp() override
    {
        LabelFixture::SetUp();
        setUserLocale(QLocale(QLocale::English, QLocale::UnitedStates));
        ASSERT_TRUE(settings.Create(HKEY_CURRENT_USER, QLatin1String(CHomeApp::kSettingsPath)));
        garage = addLocation(QStringLiteral("Garage"));
        kitchen = addLocation(QStringLiteral("Kitchen"));
        drill = addAsset(
            { .description = QStringLiteral("Cordless drill"), .category = 6, .location = garage });
        kettle = addAsset(
            { .description = QStringLiteral("Kettle"), .category = 1, .location = kitchen });
        toaster = addAsset(
            { .description = QStringLiteral("Toaster"), .category = 1, .location = kitchen });
    }
    void TearDown() override { resetUserLocale(); }

    std::unique_ptr<Labels::Dialog> makeDialog(const Labels::Context &context = {})
    {
        return std::make_unique<Labels::Dialog>(db, home, settings, context);
    }

    static void chooseSheet(Labels::Dialog &dialog, Sheet sheet)
    {
        auto *combo = dialog.findChild<QComboBox *>(QStringLiteral("sheet"));
        combo->setCurrentIndex(combo->findData(int(sheet)));
    }

    // Save as PDF to a new file in the test's folder; its path, or empty when nothing was saved.
    QString savePdf(Labels::Dialog &dialog)
    {
        const QString chosen = out.filePath(QStringLiteral("labels-%1.pdf").arg(++m_saved));
        ui.nextFileName(chosen);
        ui.answer(Ui::No); // not opened now
        EXPECT_TRUE(Fill::click(dialog, QStringLiteral("saveAsPdf")));
        return dialog.writtenFile() == chosen ? chosen : QString();
    }

    CSettingsKey settings { HKEY_CURRENT_USER };
    ScriptedUi ui;
    qint32 garage = 0, kitchen = 0, drill = 0, kettle = 0, toaster = 0;

private:
    int m_saved = 0;
};

TEST_F(LabelDialog, EveryControlIsNamedWithItsOwnMnemonicAndTheChoicesAreKept)
{
    auto dialog = makeDialog({ .selectedAssets = { kettle } });
    dialog->show();
    Screenshots::save(*dialog, QStringLiteral("labels_dialog"));
    {
        QWidget *shown = dialog.get();
        QStringList mnemonics;
        for (QAbstractButton *button : shown->findChildren<QAbstractButton *>()) {
            if (button->objectName() == QLatin1String("close") || button->text().isEmpty())
                continue;
            const qsizetype amp = button->text().indexOf(QLatin1Char('&'));
            ASSERT_GE(amp, 0) << button->text().toStdString();
            mnemonics << button->text().mid(amp + 1, 1).toLower();
        }
        for (QLabel *label : shown->findChildren<QLabel *>()) {
            if (!label->text().contains(QLatin1Char('&')))
                continue;
            ASSERT_NE(label->buddy(), nullptr) << label->text().toStdString();
            mnemonics
                << label->text().mid(label->text().indexOf(QLatin1Char('&')) + 1, 1).toLower();
        }
        mnemonics.sort();
        EXPECT_EQ(mnemonics.removeDuplicates(), 0) << mnemonics.join(' ').toStdString();
        for (QWidget *control : shown->findChildren<QWidget *>()) {
            if (control->focusPolicy() == Qt::NoFocus || !control->isVisibleTo(shown)
                || qobject_cast<QAbstractButton *>(control) || control->inherits("QViewport")
                || !control->parentWidget() || control->parentWidget()->inherits("QAbstractSpinBox")
                || control->parentWidget()->inherits("QComboBox"))
                continue;
            EXPECT_FALSE(control->accessibleName().isEmpty())
                << control->metaObject()->className() << " " << control->objectName().toStdString();
        }
    }

    // Opened on the Home Inventory's selection: that asset, on the locale's usual sheet.
    EXPECT_EQ(dialog->request().choice, Choice::SelectedAssets);
    EXPECT_EQ(dialog->request().selected, std::vector<qint32>({ kettle }));
    EXPECT_EQ(dialog->sheet(), Sheet::Avery5160);
    EXPECT_FALSE(dialog->categoryList()->isEnabled());
    EXPECT_EQ(Fill::textOf(*dialog, QStringLiteral("sheetSummary")),
              QStringLiteral("30 labels of 66.7 \u00d7 25.4 mm a sheet (3 across, 10 down), on "
                             "Letter paper."));
    auto *skip = dialog->findChild<QSpinBox *>(QStringLiteral("skip"));
    EXPECT_EQ(skip->maximum(), 29);

    // The choices go to the settings when the dialog closes, and come back the next time.
    ASSERT_TRUE(Fill::check(*dialog, QStringLiteral("tickedCategories"), true));
    ASSERT_TRUE(Fill::click(*dialog, QStringLiteral("selectNone")));
    chooseSheet(*dialog, Sheet::AveryL7163);
    EXPECT_EQ(skip->maximum(), 13);
    skip->setValue(9);
    ASSERT_TRUE(Fill::text(*dialog, QStringLiteral("ownLine"), QStringLiteral("Call 555-0123")));
    dialog->reject();

    auto again = makeDialog();
    EXPECT_EQ(again->sheet(), Sheet::AveryL7163);
    EXPECT_EQ(again->skip(), 9);
    EXPECT_EQ(again->ownLine(), QStringLiteral("Call 555-0123"));
    EXPECT_EQ(again->request().choice, Choice::TickedCategories);
    EXPECT_TRUE(again->categoryList()->isEnabled());
    EXPECT_FALSE(again->findChild<QRadioButton *>(QStringLiteral("selectedAssets"))->isEnabled());

    // A roll has no used labels to skip.
    chooseSheet(*again, Sheet::Roll62);
    EXPECT_FALSE(again->findChild<QSpinBox *>(QStringLiteral("skip"))->isEnabled());
    EXPECT_EQ(again->skip(), 0);
    EXPECT_EQ(Fill::textOf(*again, QStringLiteral("sheetSummary")),
              QStringLiteral("One label of 62.0 \u00d7 29.0 mm a page."));

    // Opened on the Locations view's selection: location labels, only that one ticked.
    auto locations = makeDialog({ .selectedLocation = kitchen });
    const Labels::Request asked = locations->request();
    EXPECT_EQ(asked.choice, Choice::LocationLabels);
    EXPECT_EQ(asked.ticked, QSet<qint32>({ kitchen }));
    EXPECT_EQ(locations->locationLabelList()->GetItemCount(), 2); // no "(No location)"
}

TEST_F(LabelDialog, ACustomLayoutIsCheckedBeforeItIsKeptAndBeforeAnyLabelIsPrinted)
{
    auto dialog = makeDialog();
    chooseSheet(*dialog, Sheet::Custom);
    auto *layoutButton = dialog->findChild<QPushButton *>(QStringLiteral("customLayout"));
    ASSERT_TRUE(layoutButton->isEnabled());

    // Too wide a label: OK says why and keeps the dialog; then fixed, in inches.
    QString first;
    QStringList refusals;
    ui.onNextDialog([&](QDialog &shown) {
        auto &custom = dynamic_cast<Labels::CustomSheetDialog &>(shown);
        Screenshots::save(custom, QStringLiteral("labels_custom_sheet"));
        ASSERT_TRUE(Fill::comboIndex(custom, QStringLiteral("units"), 1));
        EXPECT_NEAR(custom.findChild<QDoubleSpinBox *>(QStringLiteral("pageWidth"))->value(),
                    210 / 25.4, 0.001);
        auto set = [&](const char *name, double value) {
            custom.findChild<QDoubleSpinBox *>(QLatin1String(name))->setValue(value);
        };
        set("pageWidth", 8.5);
        set("pageHeight", 11);
        custom.findChild<QSpinBox *>(QStringLiteral("rows"))->setValue(4);
        custom.findChild<QSpinBox *>(QStringLiteral("columns"))->setValue(0);
        set("labelWidth", 4);
        set("labelHeight", 2.5);
        set("topMargin", 0.5);
        set("leftMargin", 0.25);
        set("horizontalPitch", 4.25);
        set("verticalPitch", 2.5);
        custom.accept();
        EXPECT_NE(custom.result(), QDialog::Accepted);
        custom.findChild<QSpinBox *>(QStringLiteral("columns"))->setValue(3);
        custom.accept();
        custom.findChild<QSpinBox *>(QStringLiteral("columns"))->setValue(2);
        custom.accept();
        EXPECT_EQ(custom.result(), QDialog::Accepted);
    });
    ASSERT_TRUE(Fill::click(*dialog, QStringLiteral("customLayout")));
    refusals = ui.messageTexts();
    ASSERT_EQ(refusals.size(), 2) << refusals.join('\n').toStdString();
    EXPECT_TRUE(refusals[0].contains(QStringLiteral("at least one row and one column")));
    EXPECT_TRUE(refusals[1].contains(QStringLiteral("do not fit across the page: the last column "
                                                    "ends at 323.8 mm")))
        << refusals[1].toStdString();
    const Labels::Geometry kept = dialog->geometry();
    EXPECT_EQ(kept.columns, 2);
    EXPECT_NEAR(kept.pitchX, 4.25 * 25.4, 0.01);
    EXPECT_EQ(Fill::textOf(*dialog, QStringLiteral("sheetSummary")),
              QStringLiteral("8 labels of 101.6 \u00d7 63.5 mm a sheet (2 across, 4 down), on "
                             "Letter paper."));
    EXPECT_EQ(dialog->findChild<QSpinBox *>(QStringLiteral("skip"))->maximum(), 7);

    // Kept in a value of its own, in the units it was typed in.
    QString stored;
    ASSERT_TRUE(settings.ReadString(QStringLiteral("LabelCustomLayout"), stored));
    EXPECT_TRUE(stored.startsWith(QStringLiteral("units=in "))) << stored.toStdString();
    EXPECT_EQ(Labels::fromText(stored), kept);
    auto again = makeDialog();
    EXPECT_EQ(again->sheet(), Sheet::Custom);
    EXPECT_EQ(again->geometry(), kept);

    // A layout spoilt in the settings is refused when the labels are asked for.
    ASSERT_TRUE(settings.WriteString(QStringLiteral("LabelCustomLayout"),
                                     QStringLiteral("page=100x100 grid=0x2 label=40x20 top=0 "
                                                    "left=0 pitch=50x20")));
    auto spoilt = makeDialog();
    EXPECT_TRUE(Fill::textOf(*spoilt, QStringLiteral("sheetSummary"))
                    .contains(QStringLiteral("at least one row")));
    const size_t before = ui.messages().size();
    EXPECT_TRUE(savePdf(*spoilt).isEmpty());
    ASSERT_EQ(ui.messages().size(), before + 1);
    EXPECT_TRUE(ui.messages().back().text.contains(QStringLiteral("Please correct the custom")));
    EXPECT_EQ(ui.messages().back().icon, Ui::Icon::Warning);
}

TEST_F(LabelDialog, NothingChosenIsSaidSoAndWritesNothing)
{
    auto dialog = makeDialog();
    const struct
    {
        const char *choice;
        std::function<void()> arrange;
        const char *says;
    } cases[] = {
        { "tickedCategories", [&] { Fill::click(*dialog, QStringLiteral("selectNone")); },
          "Please tick at least one category." },
        { "tickedLocations", [&] { Fill::click(*dialog, QStringLiteral("selectNone")); },
          "Please tick at least one location." },
        { "locationLabels", [&] { Fill::click(*dialog, QStringLiteral("selectNone")); },
          "Please tick at least one location." },
        { "tickedCategories",
          [&] {
              // Art: no asset of the home is in it.
              Fill::click(*dialog, QStringLiteral("selectNone"));
              CAutoListCtrl *list = dialog->categoryList();
              for (int row = 0; row < list->GetItemCount(); ++row)
                  list->SetCheck(row, list->GetItemData(row) == 2);
          },
          "is in the ticked categories." },
        { "assetNumbers",
          [&] {
              dialog->findChild<QSpinBox *>(QStringLiteral("firstNumber"))->setValue(toaster + 1);
              dialog->findChild<QSpinBox *>(QStringLiteral("lastNumber"))->setValue(toaster + 50);
          },
          "has a number from" },
    };
    for (const auto &each : cases) {
        ASSERT_TRUE(Fill::check(*dialog, QLatin1String(each.choice), true));
        each.arrange();
        const size_t before = ui.messages().size();
        ui.nextFileName(out.filePath(QStringLiteral("never.pdf")));
        ASSERT_TRUE(Fill::click(*dialog, QStringLiteral("saveAsPdf")));
        ASSERT_EQ(ui.messages().size(), before + 1) << each.says;
        EXPECT_TRUE(ui.messages().back().text.contains(QLatin1String(each.says)))
            << ui.messages().back().text.toStdString();
    }
    EXPECT_FALSE(QFile::exists(out.filePath(QStringLiteral("never.pdf"))));
    EXPECT_TRUE(dialog->writtenFile().isEmpty());
}

TEST_F(LabelDialog, SavedLabelsSkipTheUsedOnesCarryTheOwnLineAndScan)
{
    auto dialog = makeDialog();
    chooseSheet(*dialog, Sheet::AveryL7160);
    dialog->findChild<QSpinBox *>(QStringLiteral("skip"))->setValue(19);
    ASSERT_TRUE(
        Fill::text(*dialog, QStringLiteral("ownLine"), QStringLiteral("If found: 555-0123")));
    ASSERT_TRUE(Fill::check(*dialog, QStringLiteral("allAssets"), true));
    const QString pdf = savePdf(*dialog);
    ASSERT_FALSE(pdf.isEmpty()) << ui.messageTexts().join('\n').toStdString();
    EXPECT_TRUE(
        ui.messages().back().text.endsWith(QStringLiteral("Would you like to open it now?")));
    EXPECT_EQ(pdfInfo(pdf, QStringLiteral("Pages")), QStringLiteral("2"));
    EXPECT_EQ(pdfInfo(pdf, QStringLiteral("Page size")), QStringLiteral("595 x 842 pts (A4)"));
    EXPECT_TRUE(
        pdfInfo(pdf, QStringLiteral("Title")).startsWith(QStringLiteral("Lake house Labels ")));

    // Places 19 and 20 of the first sheet (by location: Garage, then Kitchen), then the top left
    // of the second.
    const Labels::Geometry g = Labels::presetGeometry(Sheet::AveryL7160);
    const Labels::Parts parts = Labels::partsOf(g.label);
    const std::vector<Page> pagesRead = readPages(pdf);
    ASSERT_EQ(pagesRead.size(), 2u);
    const struct
    {
        int page;
        int slot;
        qint32 id;
    } placed[] = { { 0, 19, drill }, { 0, 20, kettle }, { 1, 0, toaster } };
    for (const auto &label : placed) {
        const QRectF text = parts.text.translated(g.cell(label.slot).topLeft());
        QStringList inside;
        for (const Word &word : pagesRead[size_t(label.page)].words) {
            if (text.adjusted(-0.2, -0.2, 0.2, 0.2).contains(word.box))
                inside << word.text;
        }
        const QString joined = inside.join(QLatin1Char(' '));
        EXPECT_TRUE(joined.contains(QStringLiteral("Domelio #%1").arg(label.id)))
            << joined.toStdString();
        EXPECT_TRUE(joined.endsWith(QStringLiteral("If found: 555-0123"))) << joined.toStdString();
        const QImage page = render(pdf, label.page + 1);
        EXPECT_EQ(scan(page, { parts.code.translated(g.cell(label.slot).topLeft()) }),
                  QStringList(QString::fromLatin1(
                      LabelCode::text({ LabelCode::Kind::Asset, home.id(), label.id }))));
    }
}

TEST_F(LabelDialog, PrintAndPreviewPlaceTheLabelsFromThePapersEdge)
{
    auto dialog = makeDialog({ .selectedAssets = { drill } });
    chooseSheet(*dialog, Sheet::Avery5163);
    dialog->findChild<QSpinBox *>(QStringLiteral("skip"))->setValue(3);

    const QString printed = out.filePath(QStringLiteral("printed.pdf"));
    ui.onNextDialog([&](QDialog &shown) {
        auto *print = qobject_cast<QPrintDialog *>(&shown);
        ASSERT_NE(print, nullptr);
        EXPECT_EQ(print->printer()->pageLayout().pageSize().id(), QPageSize::Letter);
        EXPECT_TRUE(print->printer()->fullPage());
        print->printer()->setOutputFileName(printed);
        shown.done(QDialog::Accepted);
    });
    ASSERT_TRUE(Fill::click(*dialog, QStringLiteral("print")));
    EXPECT_EQ(ui.dialogTitles().last(), QStringLiteral("Print Labels"));
    ASSERT_TRUE(QFile::exists(printed));
    const std::vector<Page> read = readPages(printed);
    ASSERT_EQ(read.size(), 1u);
    const Labels::Geometry g = Labels::presetGeometry(Sheet::Avery5163);
    const QRectF text = Labels::partsOf(g.label).text.translated(g.cell(3).topLeft());
    const auto number =
        std::find_if(read[0].words.begin(), read[0].words.end(),
                     [&](const Word &w) { return w.text == QStringLiteral("#%1").arg(drill); });
    ASSERT_NE(number, read[0].words.end());
    EXPECT_NEAR((number - 1)->box.left(), text.left(), 0.2);
    EXPECT_TRUE(text.adjusted(-0.2, -0.2, 0.2, 0.2).contains(number->box));

    int previewPages = 0;
    ui.onNextDialog([&](QDialog &shown) {
        auto *preview = shown.findChild<QPrintPreviewWidget *>();
        ASSERT_NE(preview, nullptr);
        preview->updatePreview();
        previewPages = preview->pageCount();
    });
    ASSERT_TRUE(Fill::click(*dialog, QStringLiteral("preview")));
    EXPECT_EQ(ui.dialogTitles().last(), QStringLiteral("Labels Preview"));
    EXPECT_EQ(previewPages, 1);
    EXPECT_TRUE(ui.messages().empty()) << ui.messageTexts().join('\n').toStdString();
}

TEST_F(LabelDialog, CancellingTheProgressLeavesNoFileBehind)
{
    addBooks(3000);
    auto dialog = makeDialog();
    ASSERT_TRUE(Fill::check(*dialog, QStringLiteral("allAssets"), true));
    const QStringList before = QDir(out.path()).entryList(QDir::Files | QDir::Hidden);
    ui.nextFileName(out.filePath(QStringLiteral("books.pdf")));
    const EveryWorkIsLong longWork;
    const CancelWhenShown cancel;
    ASSERT_TRUE(Fill::click(*dialog, QStringLiteral("saveAsPdf")));
    EXPECT_TRUE(cancel.pressed());
    EXPECT_EQ(QDir(out.path()).entryList(QDir::Files | QDir::Hidden), before);
    EXPECT_TRUE(dialog->writtenFile().isEmpty());
    EXPECT_TRUE(ui.messages().empty()) << ui.messageTexts().join('\n').toStdString();
}

TEST_F(LabelDialog, TheSampleHouseholdsLabelsStayInTheirCellsAndScan)
{
    // The invented household's real names, long and short, on Avery 5160 sheets.
    const QString sample = out.filePath(QStringLiteral("sample/HOMEDATA.DAT"));
    QDir().mkpath(QFileInfo(sample).path());
    tool(QStringLiteral(DOMELIO_BIN_DIR "/make-datafile"), { QStringLiteral("--sample"), sample });
    CADODataBase household;
    ASSERT_TRUE(household.Open(sample));
    CHome first(1);
    ASSERT_TRUE(first.Load(household));
    Labels::Dialog dialog(household, first, settings);
    chooseSheet(dialog, Sheet::Avery5160);
    ASSERT_TRUE(Fill::check(dialog, QStringLiteral("allAssets"), true));
    ASSERT_TRUE(Fill::text(dialog, QStringLiteral("ownLine"),
                           QStringLiteral("If found, please call 555-0123")));
    const QString pdf = savePdf(dialog);
    ASSERT_FALSE(pdf.isEmpty()) << ui.messageTexts().join('\n').toStdString();

    std::vector<Labels::Label> labels;
    ASSERT_TRUE(Labels::load(household, 1, dialog.request(), labels));
    ASSERT_GT(labels.size(), 30u);
    const int sheets = int(labels.size() + 29) / 30;
    EXPECT_EQ(pdfInfo(pdf, QStringLiteral("Pages")), QString::number(sheets));
    const Labels::Geometry g = Labels::presetGeometry(Sheet::Avery5160);
    const Labels::Parts parts = Labels::partsOf(g.label);
    const std::vector<Page> read = readPages(pdf);
    ASSERT_EQ(read.size(), size_t(sheets));
    for (size_t p = 0; p < read.size(); ++p) {
        for (const Word &word : read[p].words) {
            bool inside = false;
            for (int slot = 0; slot < 30 && !inside; ++slot)
                inside = parts.text.translated(g.cell(slot).topLeft())
                             .adjusted(-0.2, -0.2, 0.2, 0.2)
                             .contains(word.box);
            EXPECT_TRUE(inside) << "page " << p + 1 << ": " << word.text.toStdString();
        }
    }
    // Every label has the own line whole.
    int numbers = 0;
    for (const Page &sheet : read)
        numbers += int(std::count_if(sheet.words.begin(), sheet.words.end(),
                                     [](const Word &w) { return w.text == "555-0123"; }));
    EXPECT_EQ(numbers, int(labels.size()));

    // The first sheet's codes, each the asset in that place.
    const QImage page = render(pdf, 1);
    std::vector<QRectF> squares;
    QStringList expected;
    for (int slot = 0; slot < 30; ++slot) {
        squares.push_back(parts.code.translated(g.cell(slot).topLeft()));
        expected << QString::fromLatin1(labels[size_t(slot)].code);
    }
    EXPECT_EQ(scan(page, squares), expected);

    // A person looks at the sheet before calling it finished (the README's picture).
    const QString prefix = out.filePath(QStringLiteral("sheet"));
    tool(QStringLiteral("pdftoppm"),
         { QStringLiteral("-png"), QStringLiteral("-gray"), QStringLiteral("-r"),
           QStringLiteral("96"), QStringLiteral("-x"), QStringLiteral("0"), QStringLiteral("-y"),
           QStringLiteral("0"), QStringLiteral("-W"), QStringLiteral("816"), QStringLiteral("-H"),
           QStringLiteral("480"), QStringLiteral("-singlefile"), pdf, prefix });
    Screenshots::save(QPixmap(prefix + QStringLiteral(".png")), QStringLiteral("labels"));
}

TEST(LabelCommand, FileMenuAndTheInventoryAndLocationsPopupsOpenTheDialog)
{
    ProgramRun run;
    run.seedHomes({ { 1, QStringLiteral("Lake house") } });
    CMainFrame &frame = run.start();
    frame.OnSelectHome();
    EXPECT_FALSE(frame.isCommandEnabled(Command::PrintLabels));
    ASSERT_TRUE(frame.SetCurrentHome(1));
    for (QAction *each : frame.commandActions(Command::PrintLabels)) {
        EXPECT_TRUE(each->isEnabled());
        EXPECT_EQ(each->text(), QStringLiteral("Print &Labels..."));
    }
    // In the File menu, its mnemonic its own.
    QMenu *file = frame.menuBar()->actions().first()->menu();
    ASSERT_TRUE(file->actions().contains(frame.action(Command::PrintLabels)));
    QStringList letters;
    for (QAction *entry : file->actions()) {
        const qsizetype amp = entry->text().indexOf(QLatin1Char('&'));
        if (amp >= 0 && entry->text() != QStringLiteral("E&xit"))
            letters << entry->text().mid(amp + 1, 1).toLower();
    }
    EXPECT_EQ(letters.count(QStringLiteral("l")), 1) << letters.join(' ').toStdString();

    Labels::Request asked;
    run.ui.onNextDialog(
        [&](QDialog &shown) { asked = dynamic_cast<Labels::Dialog &>(shown).request(); });
    frame.action(Command::PrintLabels)->trigger();
    EXPECT_EQ(run.ui.dialogTitles().last(), QStringLiteral("Print Labels"));

    auto labelsInPopup = [&] {
        frame.ShowContextMenu();
        QAction *found = nullptr;
        for (QAction *entry : frame.contextMenu()->actions()) {
            if (entry->text() == QStringLiteral("Print &Labels...") && entry->isVisible())
                found = entry;
        }
        frame.contextMenu()->hide();
        return found;
    };
    EXPECT_EQ(labelsInPopup(), nullptr);
    frame.ShowView(CMainFrame::LocationsIndex);
    ASSERT_NE(labelsInPopup(), nullptr);
    frame.ShowView(CMainFrame::InventoryIndex);
    ASSERT_NE(labelsInPopup(), nullptr);
    const qsizetype shown = run.ui.dialogTitles().size();
    labelsInPopup()->trigger();
    EXPECT_EQ(run.ui.dialogTitles().size(), shown + 1);
    frame.ShowView(CMainFrame::TasksIndex);
    EXPECT_EQ(labelsInPopup(), nullptr);
}

} // namespace
