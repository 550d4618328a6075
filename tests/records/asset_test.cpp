#include "db/ado_recordset.h"
#include "format/display_text.h"
#include "records/asset.h"
#include "records/home_figures.h"
#include "records/video_titles.h"
#include "support/data_file_test.h"

#include <gtest/gtest.h>

namespace {

const QLocale kUs(QLocale::English, QLocale::UnitedStates);
// Built on use: a date made during static initialisation may run before the date code's own
// constants exist.
COleDateTime testNow()
{
    return COleDateTime(2026, 3, 10, 12, 0, 0);
}

// As std::string, so a failure prints the texts.
std::string text(const CAsset &asset, const COleDateTime &now)
{
    return asset.DescriptionText(now, kUs).toStdString();
}

CAsset sonyTv()
{
    CAsset tv;
    tv.m_strMakeModel = QStringLiteral("Sony TV");
    tv.m_fCurrentValue = 300.0f;
    tv.m_strVendor = QStringLiteral("Best Store");
    tv.m_fPurchasePrice = 450.0f;
    tv.m_dtWarrantyExpiration = COleDateTime(2027, 6, 30);
    tv.m_strNotes = QStringLiteral("Wall mounted");
    return tv;
}

TEST(AssetDescriptionText, ListsMakeValuePurchaseAndWarrantyThenTheNotes)
{
    CAsset tv = sonyTv();
    const QString warranty = dateText(COleDateTime(2027, 6, 30), false, kUs);
    EXPECT_EQ(text(tv, testNow()),
              (QStringLiteral("Sony TV\r\nCurrent value: $300.00\r\nPurchased at Best Store for "
                              "$450.00\r\nWarranty expires on ")
               + warranty + QStringLiteral("\r\nWall mounted"))
                  .toStdString());

    // Without a price the purchase line still names the store (with its trailing blank).
    tv.m_fPurchasePrice = 0.0f;
    EXPECT_EQ(text(tv, testNow()),
              (QStringLiteral("Sony TV\r\nCurrent value: $300.00\r\nPurchased at Best Store "
                              "\r\nWarranty expires on ")
               + warranty + QStringLiteral("\r\nWall mounted"))
                  .toStdString());

    // No store and no price: no purchase line; a value of 0 gives no value line; a warranty
    // that has run out says so.
    tv.m_strVendor.clear();
    tv.m_fCurrentValue = 0.0f;
    EXPECT_EQ(text(tv, COleDateTime(2028, 1, 1)),
              (QStringLiteral("Sony TV\r\nWarranty expired on ") + warranty
               + QStringLiteral("\r\nWall mounted"))
                  .toStdString());

    // A price without a store.
    tv.m_fPurchasePrice = 19.99f;
    tv.m_strMakeModel.clear();
    tv.m_dtWarrantyExpiration = CAsset::noWarrantyDate();
    EXPECT_EQ(text(tv, testNow()), "Purchased for $19.99\r\nWall mounted");
}

TEST(AssetDescriptionText, WarrantiesUpToTheYear2000AreNeverShown)
{
    CAsset asset;
    asset.m_strNotes = QStringLiteral("n");
    for (const COleDateTime &date :
         { CAsset::noWarrantyDate(), COleDateTime(2000, 12, 31), COleDateTime(1998, 5, 1) }) {
        asset.m_dtWarrantyExpiration = date;
        EXPECT_EQ(asset.DescriptionText(testNow(), kUs), QStringLiteral("n"));
    }
    asset.m_dtWarrantyExpiration = COleDateTime(2001, 1, 1);
    EXPECT_TRUE(
        asset.DescriptionText(testNow(), kUs).startsWith(QStringLiteral("Warranty expired on ")));
}

TEST(AssetDescriptionText, AVideoShowsYearAndGenre)
{
    CAsset title;
    title.m_lCategoryId = CAsset::kVideoCategoryId;
    title.m_strVendor = QStringLiteral("ignored for titles");
    title.m_fCurrentValue = 12.0f;
    EXPECT_EQ(title.DescriptionText(testNow(), kUs), QStringLiteral("Year: 2000; Genre: N/A\r\n"));
    title.m_strMakeModel = QStringLiteral("Drama");
    title.m_dtWarrantyExpiration = COleDateTime(1972, 1, 1);
    title.m_strNotes = QStringLiteral("Brando");
    EXPECT_EQ(title.DescriptionText(testNow(), kUs),
              QStringLiteral("Year: 1972; Genre: Drama\r\nBrando"));
}

class AssetRecord : public DataFileTest
{
};

TEST_F(AssetRecord, NewAssetDefaultsAndARoundTripOfEveryColumn)
{
    CAsset fresh;
    EXPECT_FALSE(fresh.Exists());
    EXPECT_EQ(fresh.m_strDescription, QStringLiteral("New Asset"));
    EXPECT_EQ(fresh.m_dtWarrantyExpiration, COleDateTime(2000, 1, 1));
    EXPECT_EQ(fresh.m_dtPurchaseDate.date(), QDate::currentDate());

    run(QStringLiteral("UPDATE TableIds SET NextId=70 WHERE TableName='Assets';"));
    CAsset asset = sonyTv();
    asset.m_lHomeId = 3;
    asset.m_lAreaId = 4;
    asset.m_lCategoryId = 7;
    asset.m_strDescription = QStringLiteral("Living room TV");
    asset.m_dtPurchaseDate = COleDateTime(2024, 2, 29, 15, 30, 0);
    asset.m_fReplacementValue = 520.5f;
    asset.m_strPhone1 = QStringLiteral("555-0100");
    asset.m_strPhone2 = QStringLiteral("555-0199");
    asset.m_strSerialNumber = QStringLiteral("SN-1");
    asset.m_strPicture = QStringLiteral("/no/such/dir/tv photo.jpg");
    ASSERT_TRUE(asset.Save(db)) << db.GetLastError().toStdString();
    EXPECT_EQ(asset.id(), 70);

    CAsset loaded(70);
    ASSERT_TRUE(loaded.Load(db));
    EXPECT_EQ(loaded.m_lHomeId, 3);
    EXPECT_EQ(loaded.m_lAreaId, 4);
    EXPECT_EQ(loaded.m_lCategoryId, 7);
    EXPECT_EQ(loaded.m_strDescription, asset.m_strDescription);
    EXPECT_EQ(loaded.m_fPurchasePrice, 450.0f);
    EXPECT_EQ(loaded.m_dtPurchaseDate, asset.m_dtPurchaseDate);
    EXPECT_EQ(loaded.m_fCurrentValue, 300.0f);
    EXPECT_EQ(loaded.m_fReplacementValue, 520.5f);
    EXPECT_EQ(loaded.m_strVendor, asset.m_strVendor);
    EXPECT_EQ(loaded.m_strPhone1, asset.m_strPhone1);
    EXPECT_EQ(loaded.m_strPhone2, asset.m_strPhone2);
    EXPECT_EQ(loaded.m_strMakeModel, asset.m_strMakeModel);
    EXPECT_EQ(loaded.m_strSerialNumber, asset.m_strSerialNumber);
    EXPECT_EQ(loaded.m_dtWarrantyExpiration, asset.m_dtWarrantyExpiration);
    // The path is kept exactly as chosen, though no such file exists.
    EXPECT_EQ(loaded.m_strPicture, asset.m_strPicture);
    EXPECT_EQ(loaded.m_strNotes, asset.m_strNotes);

    // NULL dates keep the record's defaults; NULL money reads as 0.
    run(QStringLiteral("UPDATE Assets SET WarrantyExpiration=NULL, PurchaseDate=NULL, "
                       "CurrentValue=NULL WHERE AssetId=70;"));
    CAsset nulls(70);
    ASSERT_TRUE(nulls.Load(db));
    EXPECT_EQ(nulls.m_dtWarrantyExpiration, CAsset::noWarrantyDate());
    EXPECT_EQ(nulls.m_dtPurchaseDate.date(), QDate::currentDate());
    EXPECT_EQ(nulls.m_fCurrentValue, 0.0f);

    // Delete removes the row only.
    EXPECT_TRUE(loaded.Delete(db));
    EXPECT_EQ(number(QStringLiteral("SELECT COUNT(*) FROM Assets;")), 0);
    EXPECT_FALSE(CAsset(70).Load(db));
}

TEST_F(AssetRecord, ANewAssetIsNotStoredWithoutAnId)
{
    run(QStringLiteral("DELETE FROM TableIds WHERE TableName='Assets';"));
    CAsset asset;
    EXPECT_FALSE(asset.Save(db));
    EXPECT_EQ(asset.id(), -1);
    EXPECT_EQ(number(QStringLiteral("SELECT COUNT(*) FROM Assets;")), 0);
}

TEST_F(AssetRecord, CountsByCategoryLeaveOutAssetsWithoutOne)
{
    run(QStringLiteral("INSERT INTO Assets (AssetId, HomeId, CategoryId) VALUES (1, 1, 8), "
                       "(2, 1, 8), (3, 1, 0), (4, 1, NULL), (5, 1, 60123), (6, 2, 8);"));
    const std::map<qint32, int> counts = CAsset::CountByCategory(db, 1);
    EXPECT_EQ(counts, (std::map<qint32, int> { { 8, 2 }, { 60123, 1 } }));
    EXPECT_TRUE(CAsset::CountByCategory(db, 3).empty());
}

class VideoSearch : public DataFileTest
{
protected:
    void SetUp() override
    {
        DataFileTest::SetUp();
        run(QStringLiteral(
            "INSERT INTO Assets (AssetId, HomeId, CategoryId, Description, MakeModel, "
            "WarrantyExpiration) VALUES "
            "(1, 1, 19, 'Casablanca', 'Romance', 15707), " // 1943-01-01
            "(2, 2, 19, 'amelie', 'Romance', 37257), " // 2002-01-01
            "(3, 1, 19, 'Alien', 'Sci Fi/Fantasy', 28856), " // 1979-01-01
            "(4, 1, 19, 'Untitled', NULL, NULL), "
            "(5, 1, 7, 'Not a title', 'Romance', 36526);"));
    }

    static QStringList names(const std::vector<VideoTitles::Title> &titles)
    {
        QStringList out;
        for (const auto &t : titles)
            out << t.title;
        return out;
    }
};

TEST_F(VideoSearch, MatchesTheGenreExactlyAcrossEveryHome)
{
    const auto romance = VideoTitles::search(db, QStringLiteral("Romance"));
    EXPECT_EQ(names(romance), (QStringList { "amelie", "Casablanca" }));
    EXPECT_EQ(romance[0].year, 2002);
    EXPECT_EQ(romance[0].assetId, 2);
    EXPECT_EQ(romance[1].year, 1943);

    EXPECT_TRUE(VideoTitles::search(db, QStringLiteral("romance")).empty());
    EXPECT_TRUE(VideoTitles::search(db, QStringLiteral("Romance ")).empty());

    // An empty genre lists every title; one without a stored year reads as 2000.
    const auto all = VideoTitles::search(db, QString());
    EXPECT_EQ(names(all), (QStringList { "Alien", "amelie", "Casablanca", "Untitled" }));
    EXPECT_EQ(all[3].year, 2000);

    // A title moved out of the video category is no longer a title.
    run(QStringLiteral("UPDATE Assets SET CategoryId=0 WHERE AssetId=1;"));
    EXPECT_EQ(names(VideoTitles::search(db, QStringLiteral("Romance"))),
              (QStringList { "amelie" }));
}

TEST_F(VideoSearch, AFailedQueryFindsNothing)
{
    run(QStringLiteral("DROP TABLE Assets;"));
    EXPECT_TRUE(VideoTitles::search(db, QString()).empty());
}

TEST(ReleaseYears, RunToNextYear)
{
    EXPECT_EQ(VideoTitles::lastReleaseYear(QDate(2026, 12, 7)), 2027);
    EXPECT_EQ(VideoTitles::lastReleaseYear(QDate(2031, 1, 1)), 2032);
    EXPECT_EQ(VideoTitles::kFirstReleaseYear, 1900);
}

} // namespace
