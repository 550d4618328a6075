// Which labels a choice gives, read from a real data file, and the codes that lead back to them.
#include "labels/label_fixture.h"
#include "records/label_code.h"
#include "report/label_contents.h"

#include <gtest/gtest.h>

namespace {

using LabelCode::Kind;
using Labels::Choice;

class LabelContents : public LabelFixture
{
protected:
    void SetUp() override
    {
        LabelFixture::SetUp();
        garage = addLocation(QStringLiteral("Garage"));
        attic = addLocation(QStringLiteral("attic"));
        drill =
            addAsset({ .description = QStringLiteral("Drill"), .category = 6, .location = garage });
        boxes = addAsset({ .description = QStringLiteral("Christmas lights"),
                           .category = 11,
                           .location = attic });
        ladder = addAsset(
            { .description = QStringLiteral("ladder"), .category = 6, .location = garage });
        loose = addAsset({ .description = QStringLiteral("Bicycle pump") });
        // Another home's asset never comes along.
        CHome other;
        other.m_strDescription = QStringLiteral("Cabin");
        EXPECT_TRUE(other.Save(db));
        otherHome = other.id();
        CAsset elsewhere;
        elsewhere.m_lHomeId = otherHome;
        elsewhere.m_strDescription = QStringLiteral("Canoe");
        EXPECT_TRUE(elsewhere.Save(db));
        canoe = elsewhere.id();
    }

    std::vector<Labels::Label> load(const Labels::Request &request)
    {
        std::vector<Labels::Label> labels;
        QString error;
        EXPECT_TRUE(Labels::load(db, home.id(), request, labels, &error)) << error.toStdString();
        return labels;
    }

    static QStringList titles(const std::vector<Labels::Label> &labels)
    {
        QStringList result;
        for (const Labels::Label &label : labels)
            result << label.title;
        return result;
    }

    qint32 garage = 0, attic = 0, drill = 0, boxes = 0, ladder = 0, loose = 0, otherHome = 0,
           canoe = 0;
};

TEST_F(LabelContents, EachChoiceGivesItsAssetsByLocationThenName)
{
    // Every asset: by location (letter case aside), those without one last.
    const std::vector<Labels::Label> all = load({ .choice = Choice::AllAssets });
    EXPECT_EQ(titles(all), QStringList({ "Christmas lights", "Drill", "ladder", "Bicycle pump" }));
    const Labels::Label &first = all[0];
    EXPECT_EQ(first.code, LabelCode::text({ Kind::Asset, home.id(), boxes }));
    EXPECT_EQ(first.code,
              QByteArray("DOMELIO:A:") + QByteArray::number(home.id()) + ':'
                  + QByteArray::number(boxes));
    EXPECT_EQ(first.place, QStringLiteral("attic"));
    EXPECT_EQ(first.number, QStringLiteral("Domelio #%1").arg(boxes));
    EXPECT_EQ(all[3].place, QString());

    // The selected ones, in the order given; an id of another home is not this home's label.
    EXPECT_EQ(
        titles(load({ .choice = Choice::SelectedAssets, .selected = { loose, canoe, drill } })),
        QStringList({ "Bicycle pump", "Drill" }));

    // Ticked categories and locations, "none" among them.
    EXPECT_EQ(titles(load(
                  { .choice = Choice::TickedCategories, .ticked = { 6, InventoryReport::kNone } })),
              QStringList({ "Drill", "ladder", "Bicycle pump" }));
    EXPECT_EQ(titles(load({ .choice = Choice::TickedLocations, .ticked = { attic } })),
              QStringList({ "Christmas lights" }));
    EXPECT_TRUE(load({ .choice = Choice::TickedLocations }).empty());
}

TEST_F(LabelContents, ARangeCountsAssetNumbersNotAssets)
{
    // Numbers with a gap: a range of numbers takes the numbers, whichever are still there.
    ASSERT_TRUE(CAsset(boxes).Delete(db));
    const std::vector<Labels::Label> range =
        load({ .choice = Choice::AssetNumbers, .first = drill, .last = ladder });
    ASSERT_EQ(range.size(), 2u);
    EXPECT_EQ(range[0].number, Labels::assetNumber(drill));
    EXPECT_EQ(range[1].number, Labels::assetNumber(ladder));
    // Given the wrong way round, the same.
    EXPECT_EQ(titles(load({ .choice = Choice::AssetNumbers, .first = loose, .last = drill })),
              QStringList({ "Drill", "ladder", "Bicycle pump" }));
    EXPECT_TRUE(load({ .choice = Choice::AssetNumbers, .first = canoe, .last = canoe }).empty());
}

TEST_F(LabelContents, LocationLabelsNameTheHome)
{
    const std::vector<Labels::Label> labels = load(
        { .choice = Choice::LocationLabels, .ticked = { garage, attic, InventoryReport::kNone } });
    ASSERT_EQ(labels.size(), 2u);
    EXPECT_EQ(labels[0].title, QStringLiteral("attic"));
    EXPECT_EQ(labels[0].place, QStringLiteral("Lake house"));
    EXPECT_EQ(labels[0].number, QStringLiteral("Domelio location #%1").arg(attic));
    EXPECT_EQ(labels[0].code, LabelCode::text({ Kind::Location, home.id(), attic }));
    EXPECT_EQ(labels[1].title, QStringLiteral("Garage"));
}

TEST_F(LabelContents, ScannedCodesAreReadForgivinglyAndLeadToWhatIsThereNow)
{
    const LabelCode::Target asset { Kind::Asset, home.id(), drill };
    EXPECT_EQ(LabelCode::parse(QString::fromLatin1(LabelCode::text(asset))), asset);
    EXPECT_EQ(LabelCode::parse(QStringLiteral("  domelio:l:3:2147483647 \r\n")),
              (LabelCode::Target { Kind::Location, 3, 2147483647 }));
    for (const char *bad :
         { "", "DOMELIO", "DOMELIO:A:1", "DOMELIO:A:1:2:3", "DOMELIO:X:1:2", "DOMELIO:A:0:2",
           "DOMELIO:A:1:02", "DOMELIO:A:1:-2", "DOMELIO:A:1:+2", "DOMELIO:A:1:2147483648",
           "DOMELIO:A:1: 2", "DOMELIO:A:1:99999999999", "HOMELIO:A:1:2", "DOMELIO:A:1:٢" })
        EXPECT_FALSE(LabelCode::parse(QString::fromUtf8(bad))) << bad;

    EXPECT_EQ(LabelCode::currentHome(db, asset), home.id());
    EXPECT_EQ(LabelCode::currentHome(db, { Kind::Location, home.id(), attic }), home.id());
    // A label printed before the asset went to another home leads to that home.
    run(QStringLiteral("UPDATE Assets SET HomeId=%1 WHERE AssetId=%2;").arg(otherHome).arg(drill));
    EXPECT_EQ(LabelCode::currentHome(db, asset), otherHome);
    // Gone: the asset, the location, or the home they were in.
    ASSERT_TRUE(CAsset(ladder).Delete(db));
    EXPECT_FALSE(LabelCode::currentHome(db, { Kind::Asset, home.id(), ladder }));
    CArea(attic).Delete(db);
    EXPECT_FALSE(LabelCode::currentHome(db, { Kind::Location, home.id(), attic }));
    run(QStringLiteral("DELETE FROM Homes WHERE HomeId=%1;").arg(otherHome));
    EXPECT_FALSE(LabelCode::currentHome(db, asset));
}

} // namespace
