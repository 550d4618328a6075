// The inventory report laid out as a PDF and read back with poppler's tools.
#include "report/report_fixture.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace {

using InventoryReport::Grouping;
using InventoryReport::Options;
using InventoryReport::Selection;

class ReportPdf : public ReportFixture
{
protected:
    void seedFiveAssets()
    {
        const qint32 kitchen = addLocation(QStringLiteral("Kitchen"));
        const qint32 living = addLocation(QStringLiteral("Living Room"));
        addAsset({ .description = QStringLiteral("Sofa"),
                   .category = 8,
                   .location = living,
                   .price = 1200,
                   .current = 800,
                   .replacement = 1500,
                   .serial = QStringLiteral("SF-2291"),
                   .makeModel = QStringLiteral("Chesterfield"),
                   .vendor = QStringLiteral("Main Street Furniture"),
                   .warranty = COleDateTime(2026, 1, 31) });
        addAsset({ .description = QStringLiteral("coffee maker"),
                   .category = 1,
                   .location = kitchen,
                   .price = 99.5,
                   .current = 40,
                   .replacement = 120,
                   .serial = QStringLiteral("CM-77") });
        addAsset({ .description = QStringLiteral("Blender"),
                   .category = 1,
                   .location = kitchen,
                   .price = 50,
                   .current = 20,
                   .replacement = 60 });
        addAsset({ .description = QStringLiteral("The Godfather"),
                   .category = CAsset::kVideoCategoryId,
                   .price = 15,
                   .current = 5,
                   .replacement = 20,
                   .makeModel = QStringLiteral("Drama"),
                   .warranty = COleDateTime(1972, 1, 1) });
        addAsset({ .description = QStringLiteral("Ladder"),
                   .price = 80,
                   .current = 50,
                   .replacement = 90,
                   .notes = QStringLiteral("Aluminium, 12 rungs.") });
    }

    // The 1-based pages whose text holds needle.
    std::vector<int> pagesWith(const QString &path, const QString &needle)
    {
        std::vector<int> found;
        for (int page = 1; page <= pages; ++page) {
            if (pdfText(path, page).contains(needle))
                found.push_back(page);
        }
        return found;
    }

    void expectFolios(const QString &path)
    {
        for (int page = 1; page <= pages; ++page) {
            const QString text = pdfText(path, page);
            EXPECT_TRUE(text.contains(QStringLiteral("Page %1 of %2").arg(page).arg(pages)))
                << "page " << page;
            EXPECT_TRUE(text.contains(QStringLiteral("Lake house"))) << "page " << page;
            EXPECT_TRUE(text.contains(QStringLiteral("Saturday, March 9, 2024")))
                << "page " << page;
        }
    }
};

TEST_F(ReportPdf, CoverSummaryAndAssetsByLocationReadBack)
{
    seedFiveAssets();
    const QString pdf = writePdf(Options {});
    EXPECT_EQ(pdfInfo(pdf, QStringLiteral("Pages")), QString::number(pages));
    EXPECT_EQ(pdfInfo(pdf, QStringLiteral("Page size")), QStringLiteral("612 x 792 pts (letter)"));
    ASSERT_GE(pages, 3);

    const QString cover = squeezed(pdfText(pdf, 1));
    for (const char *line :
         { "Home Inventory Report", "Lake house", "12 Shore Road", "Lakeside",
           "Report date Saturday, March 9, 2024", "Assets 5", "Total purchase price $1,444.50",
           "Total current value $915.00", "Total replacement value $1,790.00",
           "Assets chosen All assets of the home", "Grouped by Location" })
        EXPECT_TRUE(cover.contains(QLatin1String(line))) << line << "\n" << cover.toStdString();

    // One summary row per location, the assets without one last, then the grand total.
    const QString summary = squeezed(pdfText(pdf, 2));
    const QStringList rows = { QStringLiteral("Kitchen 2 $149.50 $60.00 $180.00"),
                               QStringLiteral("Living Room 1 $1,200.00 $800.00 $1,500.00"),
                               QStringLiteral("(No location) 2 $95.00 $55.00 $110.00"),
                               QStringLiteral("Total 5 $1,444.50 $915.00 $1,790.00") };
    qsizetype at = summary.indexOf(QStringLiteral("Summary by location"));
    EXPECT_GE(at, 0) << summary.toStdString();
    for (const QString &row : rows) {
        const qsizetype next = summary.indexOf(row);
        EXPECT_GT(next, at) << row.toStdString() << "\n" << summary.toStdString();
        at = next;
    }

    // The assets in group order, then by description whatever the letter case.
    const QString all = squeezed(pdfText(pdf));
    const qsizetype blender = all.indexOf(QStringLiteral("Blender"));
    const qsizetype coffee = all.indexOf(QStringLiteral("coffee maker"));
    const qsizetype sofa = all.indexOf(QStringLiteral("Sofa"));
    const qsizetype ladder = all.indexOf(QStringLiteral("Ladder"));
    EXPECT_TRUE(blender > 0 && blender < coffee && coffee < sofa && sofa < ladder)
        << all.toStdString();
    for (const char *text :
         { "Serial number: SF-2291", "Make and model: Chesterfield", "5/14/19", "Main Street",
           "1/31/26", "none", "Category: Furniture", "Category: (No category)",
           "Notes: Aluminium, 12 rungs.", "Genre: Drama", "Release year: 1972" })
        EXPECT_TRUE(all.contains(QLatin1String(text))) << text;
    EXPECT_FALSE(all.contains(QStringLiteral("Make and model: Drama")));
    expectFolios(pdf);
}

// A date with a four-digit year and amounts in the millions, as the locale writes them, keep
// to one line in the table's columns and the summary's: none wraps in the middle.
TEST_F(ReportPdf, LongDatesAndLargeAmountsNeverWrapInTheMiddle)
{
    const qint32 id = addAsset({ .description = QStringLiteral("Grand piano"),
                                 .category = 14,
                                 .purchased = COleDateTime(2027, 6, 30),
                                 .warranty = COleDateTime(2027, 6, 30) });
    // Stored as doubles, as another program may have written them: every cent is kept.
    run(QStringLiteral("UPDATE Assets SET PurchasePrice=1234567.89, CurrentValue=1234567.89, "
                       "ReplacementValue=1234567.89 WHERE AssetId=%1;")
            .arg(id));
    const struct
    {
        QLocale locale;
        const char *date;
        const char *amount;
    } locales[] = {
        { QLocale(QLocale::English, QLocale::UnitedKingdom), "30/06/2027", "\u00a31,234,567.89" },
        { QLocale(QLocale::German, QLocale::Germany), "30.06.27", "1.234.567,89 \u20ac" }
    }; // (pdftotext gives the no-break space as a space)
    for (const auto &l : locales) {
        SCOPED_TRACE(l.locale.name().toStdString());
        for (bool pictures : { true, false }) {
            Options options;
            options.pictures = pictures;
            const QString text = squeezed(pdfText(writePdf(options, QPageSize::A4, l.locale)));
            const QString amount = QString::fromUtf8(l.amount);
            // The three amounts on the cover, in the summary's row and total, and in the table.
            EXPECT_EQ(text.count(amount), 12) << text.toStdString();
            // The purchase date and the warranty.
            EXPECT_EQ(text.count(QLatin1String(l.date)), 2) << text.toStdString();
        }
    }
}

// Names sort as the locale sorts them, in the report's groups and assets and in the lists the
// dialog offers to tick: letter case aside, an accented letter with its plain one.
TEST_F(ReportPdf, NamesSortAsTheLocaleSortsThem)
{
    const qint32 zimmer = addLocation(QStringLiteral("Zimmer"));
    const qint32 etage = addLocation(QStringLiteral("\u00c9tage"));
    const qint32 bureau = addLocation(QStringLiteral("bureau"));
    run(QStringLiteral("INSERT INTO Categories (CategoryId, Description, CategoryType) VALUES "
                       "(9001, '\u00c9lectronique', 1), (9002, 'zinc', 1);"));
    for (const auto &[name, location] :
         { std::pair("Zither", zimmer), std::pair("\u00e9tagere", zimmer),
           std::pair("Easel", zimmer), std::pair("desk", bureau), std::pair("Lamp", etage) })
        addAsset({ .description = QString::fromUtf8(name), .location = location });

    const QLocale french(QLocale::French, QLocale::France);
    ASSERT_TRUE(
        InventoryReport::load(db, home.id(), Options {}, kToday, contents, nullptr, french));
    QStringList order;
    for (const InventoryReport::Group &group : contents.groups)
        order << group.name;
    EXPECT_EQ(order, (QStringList { "bureau", "\u00c9tage", "Zimmer" }));
    order.clear();
    for (const InventoryReport::Asset &asset : contents.assets)
        order << asset.description;
    EXPECT_EQ(order, (QStringList { "desk", "Lamp", "Easel", "\u00e9tagere", "Zither" }));

    const auto names = [](const std::vector<InventoryReport::Choice> &choices) {
        QStringList found;
        for (const InventoryReport::Choice &choice : choices)
            found << choice.name;
        return found;
    };
    EXPECT_EQ(names(InventoryReport::locationChoices(db, home.id(), french)),
              (QStringList { "bureau", "\u00c9tage", "Zimmer", "(No location)" }));
    const QStringList categories = names(InventoryReport::categoryChoices(db, french));
    EXPECT_LT(categories.indexOf("Electronics"), categories.indexOf("\u00c9lectronique"));
    EXPECT_LT(categories.indexOf("\u00c9lectronique"), categories.indexOf("Furniture"));
    EXPECT_EQ(categories.mid(categories.size() - 3),
              (QStringList { "Videos", "zinc", "(No category)" }));
}

TEST_F(ReportPdf, GreekAndJapaneseTextAndALongNoteThatRunsOntoTheNextPage)
{
    QStringList note;
    for (int i = 1; i <= 160; ++i)
        note << QStringLiteral("Line %1 of the appraisal.").arg(i, 3, 10, QLatin1Char('0'));
    addAsset({ .description = QStringLiteral("Εικόνα του Αγίου Γεωργίου"),
               .category = 2,
               .serial = QStringLiteral("ΑΒΓ-42"),
               .notes = note.join(QLatin1Char('\n')) });
    addAsset({ .description = QStringLiteral("茶碗 (tea bowl)"),
               .category = 5,
               .notes = QStringLiteral("京都の骨董店で購入") });

    for (const bool pagePerAsset : { false, true }) {
        Options options;
        options.grouping = Grouping::Category;
        options.pagePerAsset = pagePerAsset;
        const QString pdf = writePdf(options, QPageSize::A4);
        EXPECT_TRUE(pdfInfo(pdf, QStringLiteral("Page size")).endsWith(QLatin1String("(A4)")));
        const QString all = pdfText(pdf);
        // (The Greek title may wrap in its table column.)
        for (const char *text :
             { "Εικόνα του Αγίου", "Γεωργίου", "ΑΒΓ-42", "茶碗 (tea bowl)", "京都の骨董店で購入" })
            EXPECT_TRUE(all.contains(QString::fromUtf8(text))) << text;

        // Every line of the note is there; the last ones on a later page, under the heading of
        // what they continue.
        const std::vector<int> first = pagesWith(pdf, QStringLiteral("Line 001 of"));
        const std::vector<int> last = pagesWith(pdf, QStringLiteral("Line 160 of"));
        ASSERT_EQ(first.size(), 1u);
        ASSERT_EQ(last.size(), 1u);
        EXPECT_GT(last[0], first[0]);
        for (int i = 1; i <= 160; ++i)
            EXPECT_TRUE(all.contains(QStringLiteral("Line %1 of").arg(i, 3, 10, QLatin1Char('0'))))
                << i;
        EXPECT_TRUE(pdfText(pdf, last[0]).contains(QStringLiteral("(continued)")));
        expectFolios(pdf);
    }
}

TEST_F(ReportPdf, AReportOfNoAssetsSaysSoOnItsCover)
{
    const QString empty = writePdf(Options {});
    EXPECT_EQ(pages, 1);
    QString text = squeezed(pdfText(empty));
    EXPECT_TRUE(text.contains(QStringLiteral("There are no assets to list: this home's inventory "
                                             "is empty.")));
    EXPECT_TRUE(text.contains(QStringLiteral("Assets 0")));
    EXPECT_FALSE(text.contains(QStringLiteral("Summary by")));
    EXPECT_FALSE(text.contains(QStringLiteral("Assets by")));

    // Assets there are, but none in the ticked categories.
    addAsset({ .description = QStringLiteral("Sofa"), .category = 8 });
    Options options;
    options.selection = Selection::TickedCategories;
    options.ticked = { 1 };
    text = squeezed(pdfText(writePdf(options)));
    EXPECT_EQ(pages, 1);
    EXPECT_TRUE(text.contains(QStringLiteral("none of this home's assets is in the chosen "
                                             "categories")));
    EXPECT_TRUE(text.contains(QStringLiteral("Assets in these categories: Appliances")));
}

TEST_F(ReportPdf, TickedCategoriesGroupedByCategoryWithTheUncategorisedLast)
{
    seedFiveAssets();
    Options options;
    options.selection = Selection::TickedCategories;
    options.ticked = { 1, InventoryReport::kNone };
    options.grouping = Grouping::Category;
    const QString pdf = writePdf(options);
    const QString all = squeezed(pdfText(pdf));
    EXPECT_TRUE(all.contains(QStringLiteral("Assets in these categories: Appliances, (No "
                                            "category)")));
    EXPECT_TRUE(all.contains(QStringLiteral("Appliances 2 $149.50 $60.00 $180.00")));
    EXPECT_TRUE(all.contains(QStringLiteral("(No category) 1 $80.00 $50.00 $90.00")));
    EXPECT_TRUE(all.contains(QStringLiteral("Total 3 $229.50 $110.00 $270.00")));
    EXPECT_TRUE(all.contains(QStringLiteral("Location: Kitchen")));
    EXPECT_TRUE(all.contains(QStringLiteral("Location: (No location)")));
    for (const char *absent : { "Sofa", "The Godfather", "Furniture" })
        EXPECT_FALSE(all.contains(QLatin1String(absent))) << absent;
}

TEST_F(ReportPdf, PicturesAreSmallThumbnailsAndAMissingOneIsNoted)
{
    QImage photo(3000, 2000, QImage::Format_RGB32);
    QPainter painter(&photo);
    QLinearGradient gradient(0, 0, 3000, 2000);
    gradient.setColorAt(0, QColor(200, 120, 40));
    gradient.setColorAt(1, QColor(30, 60, 160));
    painter.fillRect(photo.rect(), gradient);
    painter.end();
    const QString jpeg = out.filePath(QStringLiteral("sofa.jpg"));
    ASSERT_TRUE(photo.save(jpeg, "JPEG", 90));
    const QString notPicture = out.filePath(QStringLiteral("notes.jpg"));
    QFile text(notPicture);
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("not a picture at all");
    text.close();

    addAsset({ .description = QStringLiteral("Sofa"), .picture = jpeg });
    addAsset({ .description = QStringLiteral("Lamp"), .picture = out.filePath("gone.jpg") });
    addAsset({ .description = QStringLiteral("Rug"), .picture = notPicture });
    home.m_strPicture = jpeg;
    ASSERT_TRUE(home.Save(db));

    for (const bool pagePerAsset : { false, true }) {
        Options options;
        options.pagePerAsset = pagePerAsset;
        const QString pdf = writePdf(options);
        EXPECT_EQ(pdfText(pdf).count(QStringLiteral("Picture not found")), 2);
        // The home's and the sofa's pictures, each decoded to the size it is printed at.
        const QStringList images =
            tool(QStringLiteral("pdfimages"), { QStringLiteral("-list"), pdf })
                .split(QLatin1Char('\n'), Qt::SkipEmptyParts)
                .mid(2);
        ASSERT_EQ(images.size(), 2) << images.join('\n').toStdString();
        for (const QString &line : images) {
            const QStringList fields = line.simplified().split(QLatin1Char(' '));
            EXPECT_LE(fields.value(3).toInt(), 700) << line.toStdString();
            EXPECT_EQ(fields.value(8), QStringLiteral("jpeg")) << line.toStdString();
        }
        EXPECT_LT(QFileInfo(pdf).size(), 400 * 1024);
    }

    // Without pictures nothing is read or noted.
    Options options;
    options.pictures = false;
    const QString pdf = writePdf(options);
    EXPECT_FALSE(pdfText(pdf).contains(QStringLiteral("Picture not found")));
    EXPECT_EQ(tool(QStringLiteral("pdfimages"), { QStringLiteral("-list"), pdf })
                  .split(QLatin1Char('\n'), Qt::SkipEmptyParts)
                  .size(),
              2);
}

TEST_F(ReportPdf, ProgressCanStopTheWorkHalfway)
{
    addBooks(200);
    ASSERT_TRUE(InventoryReport::load(db, home.id(), Options {}, kToday, contents));
    for (const int stopAt : { 100, 600 }) {
        QFile file(out.filePath(QStringLiteral("stopped.pdf")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        QPdfWriter writer(&file);
        InventoryReport::PageLayout layout(contents);
        int last = -1;
        bool rising = true;
        EXPECT_FALSE(layout.paint(writer, [&](int permille) {
            rising = rising && permille >= last && permille <= 1000;
            last = permille;
            return permille < stopAt;
        }));
        EXPECT_TRUE(rising);
        EXPECT_GE(last, stopAt);
    }
}

} // namespace
