// Label sheets painted as PDFs and read back: every label where the sheet's maker puts it, every
// word inside its own label, every QR code scanned to the text it stands for.
#include "format/display_text.h"
#include "labels/label_fixture.h"
#include "records/label_code.h"
#include "report/label_contents.h"

#include <gtest/gtest.h>

#include <map>
#include <numeric>

namespace {

using Labels::Geometry;
using Labels::Sheet;

constexpr qreal kInch = 25.4;
// How far a label may lie from where the maker's template puts it.
constexpr qreal kPlacement = 0.2;

// The sheets as their makers publish them, written out here apart from the program's table.
struct Published
{
    Sheet sheet;
    const char *paperPoints; // pdfinfo's page size
    QSizeF page;
    int rows;
    int columns;
    QSizeF label;
    qreal top;
    qreal left;
    qreal pitchX;
    qreal pitchY;
};
const Published kPublished[] = {
    { Sheet::Avery5160, "612 x 792 pts (letter)", QSizeF(8.5 * kInch, 11 * kInch), 10, 3,
      QSizeF(2.625 * kInch, 1 * kInch), 0.5 * kInch, 0.1875 * kInch, 2.75 * kInch, 1 * kInch },
    { Sheet::Avery5163, "612 x 792 pts (letter)", QSizeF(8.5 * kInch, 11 * kInch), 5, 2,
      QSizeF(4 * kInch, 2 * kInch), 0.5 * kInch, 0.15625 * kInch, 4.1875 * kInch, 2 * kInch },
    { Sheet::AveryL7160, "595 x 842 pts (A4)", QSizeF(210, 297), 7, 3, QSizeF(63.5, 38.1), 15.15,
      7.25, 66.0, 38.1 },
    { Sheet::AveryL7163, "595 x 842 pts (A4)", QSizeF(210, 297), 7, 2, QSizeF(99.1, 38.1), 15.15,
      4.65, 101.6, 38.1 },
    { Sheet::Roll62, "176 x 82 pts", QSizeF(62, 29), 1, 1, QSizeF(62, 29), 0, 0, 62, 29 },
};

QRectF publishedCell(const Published &sheet, int index)
{
    const int row = index / sheet.columns;
    const int column = index % sheet.columns;
    return QRectF(sheet.left + column * sheet.pitchX, sheet.top + row * sheet.pitchY,
                  sheet.label.width(), sheet.label.height());
}

std::vector<Labels::Label> numberedLabels(int count, int firstId = 1)
{
    std::vector<Labels::Label> labels;
    for (int id = firstId; id < firstId + count; ++id)
        labels.push_back({ LabelCode::text({ LabelCode::Kind::Asset, 7, id }),
                           QStringLiteral("Asset number %1").arg(id),
                           QStringLiteral("Garage shelf %1").arg(id % 4),
                           Labels::assetNumber(id) });
    return labels;
}

bool near(qreal a, qreal b, qreal tolerance)
{
    return std::abs(a - b) <= tolerance;
}

class LabelSheet : public LabelFixture
{
protected:
    // Checks one page: the labels with the given ids fill the cells from slot first on, each
    // one's number line where the template puts that cell, every word inside the text part of
    // an occupied cell, and every code scanned back to its text.
    void expectPage(const QString &pdf, const Page &page, int pageNumber, const Published &sheet,
                    int first, const std::vector<int> &ids)
    {
        const Labels::Parts parts = Labels::partsOf(sheet.label);
        std::vector<QRectF> textBoxes;
        QStringList expectedCodes;
        for (size_t i = 0; i < ids.size(); ++i) {
            const QRectF cell = publishedCell(sheet, first + int(i));
            const QRectF text = parts.text.translated(cell.topLeft());
            textBoxes.push_back(text);
            expectedCodes << QString::fromLatin1(
                LabelCode::text({ LabelCode::Kind::Asset, 7, ids[i] }));
            // "Domelio #<id>": its first word starts at the text's left edge in that cell.
            const QString number = QStringLiteral("#%1").arg(ids[i]);
            const auto found = std::find_if(page.words.begin(), page.words.end(),
                                            [&](const Word &w) { return w.text == number; });
            ASSERT_NE(found, page.words.end()) << number.toStdString();
            ASSERT_NE(found, page.words.begin());
            const Word &domelio = *(found - 1);
            EXPECT_EQ(domelio.text, QStringLiteral("Domelio"));
            EXPECT_TRUE(near(domelio.box.left(), text.left(), kPlacement))
                << "label " << ids[i] << " at x " << domelio.box.left() << " mm, expected "
                << text.left();
            EXPECT_TRUE(cell.contains(domelio.box))
                << "label " << ids[i] << " number outside its cell";
        }
        for (const Word &word : page.words) {
            const bool inside =
                std::any_of(textBoxes.begin(), textBoxes.end(), [&](const QRectF &box) {
                    return box.adjusted(-kPlacement, -kPlacement, kPlacement, kPlacement)
                        .contains(word.box);
                });
            EXPECT_TRUE(inside) << "page " << pageNumber << ": \"" << word.text.toStdString()
                                << "\" at " << word.box.left() << ", " << word.box.top()
                                << " lies outside every label's text";
        }

        // Each label's code scans to its own text; on sheets it is 15 mm wide at least, so a
        // hand scanner reads it from arm's length.
        const QImage image = render(pdf, pageNumber);
        std::vector<QRectF> squares;
        for (size_t i = 0; i < ids.size(); ++i)
            squares.push_back(
                parts.code.translated(publishedCell(sheet, first + int(i)).topLeft()));
        EXPECT_EQ(scan(image, squares), expectedCodes) << "page " << pageNumber;
        for (size_t i = 0; sheet.sheet != Sheet::Roll62 && i < ids.size(); ++i)
            EXPECT_GE(inkWidth(image, squares[i]), 15.0) << "label " << ids[i];
    }
};

TEST_F(LabelSheet, PresetsMatchTheMakersTemplatesAndEveryLabelLandsInItsCell)
{
    for (const Published &sheet : kPublished) {
        SCOPED_TRACE(Labels::sheetName(sheet.sheet).toStdString());
        const Geometry g = Labels::presetGeometry(sheet.sheet);
        constexpr qreal kExact = 0.1;
        EXPECT_EQ(g.rows, sheet.rows);
        EXPECT_EQ(g.columns, sheet.columns);
        for (const auto &[program, published] :
             { std::pair(g.page.width(), sheet.page.width()),
               std::pair(g.page.height(), sheet.page.height()),
               std::pair(g.label.width(), sheet.label.width()),
               std::pair(g.label.height(), sheet.label.height()), std::pair(g.top, sheet.top),
               std::pair(g.left, sheet.left), std::pair(g.pitchX, sheet.pitchX),
               std::pair(g.pitchY, sheet.pitchY) })
            EXPECT_TRUE(near(program, published, kExact)) << program << " vs " << published;
        EXPECT_EQ(Labels::problem(g), QString());

        // A full sheet and two labels more: the second page starts again at the top left.
        const int perPage = sheet.rows * sheet.columns;
        const int count = sheet.sheet == Sheet::Roll62 ? 2 : perPage + 2;
        const QString pdf = paintPdf(g, numberedLabels(count));
        ASSERT_EQ(pages, 2);
        EXPECT_EQ(pdfInfo(pdf, QStringLiteral("Pages")), QStringLiteral("2"));
        EXPECT_EQ(pdfInfo(pdf, QStringLiteral("Page size")), QLatin1String(sheet.paperPoints));
        const std::vector<Page> read = readPages(pdf);
        ASSERT_EQ(read.size(), 2u);
        std::vector<int> firstIds(size_t(std::min(count, perPage)));
        std::iota(firstIds.begin(), firstIds.end(), 1);
        expectPage(pdf, read[0], 1, sheet, 0, firstIds);
        std::vector<int> secondIds(size_t(count - int(firstIds.size())));
        std::iota(secondIds.begin(), secondIds.end(), int(firstIds.size()) + 1);
        expectPage(pdf, read[1], 2, sheet, 0, secondIds);
    }
}

TEST_F(LabelSheet, SkippedLabelsOfAUsedSheetStayBlank)
{
    const Published &sheet = kPublished[0]; // Avery 5160, 30 a sheet
    Labels::Painter painter(Labels::presetGeometry(Sheet::Avery5160), 27, QString());
    EXPECT_EQ(painter.pagesFor(3), 1);
    EXPECT_EQ(painter.pagesFor(4), 2);
    EXPECT_EQ(painter.pagesFor(0), 0);

    const QString pdf =
        paintPdf(Labels::presetGeometry(Sheet::Avery5160), numberedLabels(5, 40), 27);
    ASSERT_EQ(pages, 2);
    const std::vector<Page> read = readPages(pdf);
    ASSERT_EQ(read.size(), 2u);
    // The first 27 places are left as they are; the labels take the last three, then go on at
    // the top of the next sheet.
    expectPage(pdf, read[0], 1, sheet, 27, { 40, 41, 42 });
    expectPage(pdf, read[1], 2, sheet, 0, { 43, 44 });

    // A print dialog's choice of pages: only the second sheet, its labels where they were.
    QPageRanges second;
    second.addPage(2);
    const QString chosen = paintPdf(Labels::presetGeometry(Sheet::Avery5160), numberedLabels(5, 40),
                                    27, QString(), second);
    const std::vector<Page> secondOnly = readPages(chosen);
    ASSERT_EQ(secondOnly.size(), 1u);
    expectPage(chosen, secondOnly[0], 1, sheet, 0, { 43, 44 });
    // Pages the labels do not take: nothing painted, and the device never begun.
    QPageRanges past;
    past.addPage(3);
    QPdfWriter unused(out.filePath(QStringLiteral("unused.pdf")));
    int painted = -1;
    EXPECT_FALSE(painter.paint(unused, numberedLabels(5, 40), {}, past, &painted));
    EXPECT_EQ(painted, 0);

    // A skip past the sheet's end is taken as the sheet's last place.
    Labels::Painter tooMany(Labels::presetGeometry(Sheet::AveryL7163), 99, QString());
    EXPECT_EQ(tooMany.pagesFor(1), 1);
    EXPECT_EQ(tooMany.pagesFor(2), 2);
}

TEST_F(LabelSheet, LongTextWrapsToTwoLinesAndEndsInAnEllipsisInAnyScript)
{
    const Geometry g = Labels::presetGeometry(Sheet::AveryL7160);
    const QString ownLine = QStringLiteral("If found, call Anna: +1 555 0123");
    std::vector<Labels::Label> labels = {
        { "DOMELIO:A:7:1",
          QStringLiteral("Antique oak roll-top writing desk with brass handles, restored in 1998 "
                         "by the maker's grandson"),
          QStringLiteral("Study"), Labels::assetNumber(1) },
        { "DOMELIO:A:7:2", QStringLiteral("Εικόνα του Αγίου Γεωργίου"), QStringLiteral("Σαλόνι"),
          Labels::assetNumber(2) },
        { "DOMELIO:A:7:3", QStringLiteral("茶碗 (tea bowl)"), QStringLiteral("和室"),
          Labels::assetNumber(3) },
        { "DOMELIO:A:7:4", QStringLiteral("Supercalifragilisticexpialidociousandthensome"),
          QString(), Labels::assetNumber(4) },
        { "DOMELIO:L:7:5", QStringLiteral("Box 12\nwinter clothes"),
          QStringLiteral("A place name far too long to fit on one line of a small label"),
          Labels::locationNumber(5) },
    };
    const QString pdf = paintPdf(g, labels, 0, ownLine);
    const std::vector<Page> read = readPages(pdf);
    ASSERT_EQ(read.size(), 1u);
    const Labels::Parts parts = Labels::partsOf(g.label);
    auto wordsOf = [&](int slot) {
        const QRectF text = parts.text.translated(g.cell(slot).topLeft());
        std::vector<Word> inside;
        for (const Word &word : read[0].words) {
            if (text.adjusted(-kPlacement, -kPlacement, kPlacement, kPlacement).contains(word.box))
                inside.push_back(word);
        }
        return inside;
    };
    auto linesOf = [&](int slot) {
        // Words of one line share their top; lines in reading order.
        std::map<int, QStringList> lines;
        for (const Word &word : wordsOf(slot))
            lines[int(std::round(word.box.top() * 10))] << word.text;
        QStringList joined;
        for (const auto &[top, words] : lines)
            joined << words.join(QLatin1Char(' '));
        return joined;
    };

    // Every word of the page is inside one label's text.
    size_t counted = 0;
    for (int slot = 0; slot < int(labels.size()); ++slot)
        counted += wordsOf(slot).size();
    EXPECT_EQ(counted, read[0].words.size());

    // The desk: two title lines, the second ending in "…", then place, number, own line.
    const QStringList desk = linesOf(0);
    ASSERT_EQ(desk.size(), 5) << desk.join('|').toStdString();
    EXPECT_TRUE(desk[0].startsWith(QStringLiteral("Antique oak"))) << desk[0].toStdString();
    EXPECT_TRUE(desk[1].endsWith(QChar(0x2026))) << desk[1].toStdString();
    EXPECT_EQ(desk[2], QStringLiteral("Study"));
    EXPECT_EQ(desk[3], QStringLiteral("Domelio #1"));
    // The own line whole, in smaller type where it must be: a number cut off helps nobody.
    EXPECT_EQ(desk[4], ownLine);

    // Greek and Japanese come out as written: the fonts are embedded.
    const QString icon = linesOf(1).join(QLatin1Char(' '));
    EXPECT_TRUE(icon.startsWith(QStringLiteral("Εικόνα του Αγίου Γεωργίου Σαλόνι Domelio #2")))
        << icon.toStdString();
    const QString bowl = linesOf(2).join(QLatin1Char(' '));
    EXPECT_TRUE(bowl.contains(QStringLiteral("茶碗"))) << bowl.toStdString();
    EXPECT_TRUE(bowl.contains(QStringLiteral("和室"))) << bowl.toStdString();

    // One word longer than the label is broken where it must be; no place line when none.
    const QStringList word = linesOf(3);
    ASSERT_EQ(word.size(), 4) << word.join('|').toStdString();
    EXPECT_TRUE(word[0].startsWith(QStringLiteral("Supercali")));
    EXPECT_EQ(word[2], QStringLiteral("Domelio #4"));

    // A line break in a name is a blank on a label; a long place ends in "…".
    const QStringList box = linesOf(4);
    ASSERT_EQ(box.size(), 5) << box.join('|').toStdString();
    EXPECT_EQ(box[0] + QLatin1Char(' ') + box[1], QStringLiteral("Box 12 winter clothes"));
    EXPECT_TRUE(box[2].endsWith(QChar(0x2026))) << box[2].toStdString();
    EXPECT_EQ(box[3], QStringLiteral("Domelio location #5"));

    // Too long for the smallest type, the own line is cut short with "…", inside the label.
    const Geometry roll = Labels::presetGeometry(Sheet::Roll62);
    const QString tooLong = QStringLiteral(
        "If found, please call Anna on +1 555 0123 or Ben on +1 555 0456, reward offered");
    const std::vector<Page> rolled = readPages(paintPdf(roll, { labels[0] }, 0, tooLong));
    ASSERT_EQ(rolled.size(), 1u);
    ASSERT_FALSE(rolled[0].words.empty());
    EXPECT_TRUE(rolled[0].words.back().text.endsWith(QChar(0x2026)))
        << rolled[0].words.back().text.toStdString();
    for (const Word &word : rolled[0].words)
        EXPECT_TRUE(
            Labels::partsOf(roll.label).text.adjusted(-0.2, -0.2, 0.2, 0.2).contains(word.box))
            << word.text.toStdString();

    std::vector<QRectF> squares;
    for (int slot = 0; slot < 5; ++slot)
        squares.push_back(parts.code.translated(g.cell(slot).topLeft()));
    EXPECT_EQ(scan(render(pdf, 1), squares),
              QStringList({ "DOMELIO:A:7:1", "DOMELIO:A:7:2", "DOMELIO:A:7:3", "DOMELIO:A:7:4",
                            "DOMELIO:L:7:5" }));
}

TEST_F(LabelSheet, CustomLayoutsAreCheckedAndKeptAsText)
{
    Geometry g = Labels::presetGeometry(Sheet::Custom);
    EXPECT_EQ(Labels::problem(g), QString());
    EXPECT_EQ(Labels::fromText(Labels::toText(g)), g);
    const Geometry odd { QSizeF(100.5, 150.25), 3, 2, QSizeF(45.125, 40), 5.5, 3.25, 48, 45 };
    EXPECT_EQ(Labels::fromText(QStringLiteral("units=in ") + Labels::toText(odd)), odd);
    for (const char *bad : { "", "page=210x297",
                             "page=ax297 grid=7x3 label=63.5x38.1 top=15 "
                             "left=7 pitch=66x38.1",
                             "page=210x297 grid=-1x3 label=63.5x38.1 top=15 left=7 pitch=66x38.1" })
        EXPECT_FALSE(Labels::fromText(QLatin1String(bad))) << bad;

    setUserLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    const struct
    {
        void (*change)(Geometry &);
        const char *says;
    } cases[] = {
        { [](Geometry &g) { g.rows = 0; }, "at least one row and one column" },
        { [](Geometry &g) { g.columns = 0; }, "at least one row and one column" },
        { [](Geometry &g) { g.left = 20; },
          "do not fit across the page: the last column ends at "
          "215.5 mm from the left edge, past the page's width "
          "of 210.0 mm" },
        { [](Geometry &g) { g.rows = 8; }, "do not fit down the page" },
        { [](Geometry &g) { g.pitchX = 60; },
          "overlap: the horizontal pitch (60.0 mm) is less "
          "than the width of a label (63.5 mm)" },
        { [](Geometry &g) { g.pitchY = 30; }, "overlap: the vertical pitch" },
        { [](Geometry &g) { g.label.setHeight(10); }, "at least 12.7 mm" },
        { [](Geometry &g) { g.page = QSizeF(); }, "width and the height of the page" },
        { [](Geometry &g) { g.top = -1; }, "margins" },
    };
    for (const auto &each : cases) {
        Geometry changed = g;
        each.change(changed);
        EXPECT_TRUE(Labels::problem(changed).contains(QLatin1String(each.says)))
            << each.says << "\n"
            << Labels::problem(changed).toStdString();
    }
    resetUserLocale();

    // A layout that just fits is fine, one column of labels needs no pitch.
    Geometry single { QSizeF(100, 50), 1, 1, QSizeF(100, 50), 0, 0, 0, 0 };
    EXPECT_EQ(Labels::problem(single), QString());
    for (Sheet sheet : Labels::kSheets)
        EXPECT_EQ(Labels::sheetFromKey(Labels::sheetKey(sheet)), sheet);
    EXPECT_FALSE(Labels::sheetFromKey(QStringLiteral("5161")));
}

TEST_F(LabelSheet, ATallCustomLabelPutsItsCodeAboveTheText)
{
    const Geometry tall { QSizeF(100, 100), 1, 2, QSizeF(30, 60), 10, 10, 40, 60 };
    ASSERT_EQ(Labels::problem(tall), QString());
    const Labels::Parts parts = Labels::partsOf(tall.label);
    EXPECT_LE(parts.code.bottom(), parts.text.top() + 0.01);
    const QString pdf = paintPdf(tall, numberedLabels(2));
    const std::vector<Page> read = readPages(pdf);
    ASSERT_EQ(read.size(), 1u);
    for (const Word &word : read[0].words) {
        const bool inside = tall.cell(0).contains(word.box) || tall.cell(1).contains(word.box);
        EXPECT_TRUE(inside) << word.text.toStdString();
    }
    EXPECT_EQ(scan(render(pdf, 1),
                   { parts.code.translated(tall.cell(0).topLeft()),
                     parts.code.translated(tall.cell(1).topLeft()) }),
              QStringList({ "DOMELIO:A:7:1", "DOMELIO:A:7:2" }));
}

TEST_F(LabelSheet, ProgressCanStopThePaintingHalfway)
{
    QFile file(out.filePath(QStringLiteral("stopped.pdf")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    QPdfWriter writer(&file);
    const Geometry g = Labels::presetGeometry(Sheet::Avery5160);
    writer.setPageLayout(Labels::pageLayout(g));
    Labels::Painter painter(g, 0, QString());
    std::vector<int> told;
    EXPECT_FALSE(painter.paint(writer, numberedLabels(200), [&](int permille) {
        told.push_back(permille);
        return permille < 500;
    }));
    ASSERT_FALSE(told.empty());
    EXPECT_GE(told.back(), 500);
    EXPECT_LT(told.back(), 1000);
    EXPECT_TRUE(std::is_sorted(told.begin(), told.end()));
}

} // namespace
