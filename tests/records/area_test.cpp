#include "db/ado_recordset.h"
#include "records/area.h"
#include "support/data_file_test.h"

#include <gtest/gtest.h>

namespace {

const QLocale kUs(QLocale::English, QLocale::UnitedStates);

class AreaRecord : public DataFileTest
{
};

TEST(AreaText, LengthsShowAsFeetAndInches)
{
    EXPECT_EQ(CArea::lengthText(0), QStringLiteral("0\""));
    EXPECT_EQ(CArea::lengthText(7), QStringLiteral("7\""));
    EXPECT_EQ(CArea::lengthText(11), QStringLiteral("11\""));
    EXPECT_EQ(CArea::lengthText(12), QStringLiteral("1'"));
    EXPECT_EQ(CArea::lengthText(144), QStringLiteral("12'"));
    EXPECT_EQ(CArea::lengthText(150), QStringLiteral("12'6\""));
    EXPECT_EQ(CArea::lengthText(74), QStringLiteral("6'2\""));
}

TEST(AreaText, DimensionsAndAreaComeBeforeTheNotes)
{
    CArea room;
    room.m_nLength = 150;
    room.m_nWidth = 120;
    room.m_nHeight = 96;
    room.m_strNotes = QStringLiteral("South facing");
    EXPECT_EQ(room.DescriptionText(kUs),
              QStringLiteral("Dimensions: 12'6\" x 10' x 8'\r\nArea: 125.00 sq. ft.\r\n"
                             "South facing"));

    // Without a height the dimensions stop at the width.
    room.m_nHeight = 0;
    room.m_strNotes.clear();
    EXPECT_EQ(room.DescriptionText(kUs),
              QStringLiteral("Dimensions: 12'6\" x 10'\r\nArea: 125.00 sq. ft.\r\n"));

    // A missing width hides every dimension, the height included.
    room.m_nLength = 120;
    room.m_nWidth = 0;
    room.m_nHeight = 96;
    room.m_strNotes = QStringLiteral("only notes");
    EXPECT_EQ(room.DescriptionText(kUs), QStringLiteral("only notes"));

    CArea closet;
    closet.m_nLength = 7;
    closet.m_nWidth = 11;
    EXPECT_EQ(closet.DescriptionText(kUs),
              QStringLiteral("Dimensions: 7\" x 11\"\r\nArea: 0.53 sq. ft.\r\n"));

    // The area follows the user's number format.
    CArea hall;
    hall.m_nLength = 1200;
    hall.m_nWidth = 1200;
    EXPECT_EQ(hall.DescriptionText(QLocale(QLocale::German, QLocale::Germany)),
              QStringLiteral("Dimensions: 100' x 100'\r\nArea: 10.000,00 sq. ft.\r\n"));

    // Large dimensions whose product passes 32 bits (50,000 x 50,000 wraps to -1,794,967,296)
    // give the whole area, not a wrapped one.
    CArea field;
    field.m_nLength = 50000;
    field.m_nWidth = 50000;
    EXPECT_EQ(field.DescriptionText(kUs),
              QStringLiteral("Dimensions: 4166'8\" x 4166'8\"\r\nArea: 17,361,112.00 sq. ft.\r\n"));
}

TEST_F(AreaRecord, EveryColumnRoundTripsWithColoursAsStored)
{
    CArea area;
    EXPECT_EQ(area.m_strLabel[0], QStringLiteral("Walls"));
    EXPECT_EQ(area.m_strLabel[1], QStringLiteral("Curtains"));
    EXPECT_EQ(area.m_strLabel[2], QStringLiteral("Panels"));
    EXPECT_EQ(area.m_nColor[0], 16777215);
    EXPECT_TRUE(area.m_strDescription.isEmpty());

    area.m_nHomeId = 4;
    area.m_strDescription = QStringLiteral("Kid's \"den\"; DELETE FROM Areas;");
    area.m_nLength = 74;
    area.m_nWidth = 120;
    area.m_nHeight = 96;
    area.m_nColor[0] = 0x00332211; // red 0x11, green 0x22, blue 0x33
    area.m_nColor[1] = 0x000000FF; // pure red
    area.m_strLabel[2] = QStringLiteral("Floor\r\nboards");
    area.m_strNotes = QStringLiteral("line 1\nline 2");
    ASSERT_TRUE(area.Save(db)) << db.GetLastError().toStdString();
    ASSERT_TRUE(area.Exists());

    CArea stored(area.id());
    ASSERT_TRUE(stored.Load(db));
    EXPECT_EQ(stored.m_nHomeId, 4);
    EXPECT_EQ(stored.m_strDescription, area.m_strDescription);
    EXPECT_EQ(stored.m_nLength, 74);
    EXPECT_EQ(stored.m_nWidth, 120);
    EXPECT_EQ(stored.m_nHeight, 96);
    EXPECT_EQ(stored.m_nColor[0], 0x00332211);
    EXPECT_EQ(stored.m_nColor[1], 0x000000FF);
    EXPECT_EQ(stored.m_nColor[2], 16777215);
    EXPECT_EQ(stored.m_strLabel[0], QStringLiteral("Walls"));
    EXPECT_EQ(stored.m_strLabel[2], QStringLiteral("Floor\r\nboards"));
    EXPECT_EQ(stored.m_strNotes, area.m_strNotes);
    EXPECT_EQ(number(QStringLiteral("SELECT Color1 FROM Areas;")), 0x00332211);
    EXPECT_EQ(number(QStringLiteral("SELECT Color2 FROM Areas;")), 255);
}

TEST_F(AreaRecord, DeletingALocationKeepsItsAssetsWithoutALocation)
{
    CArea kitchen;
    kitchen.m_strDescription = QStringLiteral("Kitchen");
    kitchen.m_nHomeId = 1;
    ASSERT_TRUE(kitchen.Save(db));
    CArea garage;
    garage.m_strDescription = QStringLiteral("Garage");
    garage.m_nHomeId = 1;
    ASSERT_TRUE(garage.Save(db));
    for (int asset = 1; asset <= 3; ++asset)
        run(QStringLiteral("INSERT INTO Assets (AssetId, HomeId, AreaId) VALUES (%1, 1, %2);")
                .arg(asset)
                .arg(kitchen.id()));
    run(QStringLiteral("INSERT INTO Assets (AssetId, HomeId, AreaId) VALUES (4, 1, %1);")
            .arg(garage.id()));

    ASSERT_TRUE(CArea(kitchen.id()).Delete(db));
    EXPECT_EQ(number(QStringLiteral("SELECT COUNT(*) FROM Areas;")), 1);
    EXPECT_EQ(number(QStringLiteral("SELECT COUNT(*) FROM Assets;")), 4);
    EXPECT_EQ(number(QStringLiteral("SELECT COUNT(*) FROM Assets WHERE AreaId=0;")), 3);
    EXPECT_EQ(number(QStringLiteral("SELECT AreaId FROM Assets WHERE AssetId=4;")), garage.id());

    // When clearing the assets fails the location stays too, so nothing points at a ghost.
    run(QStringLiteral("CREATE TRIGGER NoClear BEFORE UPDATE ON Assets BEGIN "
                       "SELECT RAISE(ABORT, 'refused'); END;"));
    EXPECT_FALSE(CArea(garage.id()).Delete(db));
    EXPECT_EQ(number(QStringLiteral("SELECT COUNT(*) FROM Areas;")), 1);
    EXPECT_EQ(number(QStringLiteral("SELECT AreaId FROM Assets WHERE AssetId=4;")), garage.id());
}

} // namespace
