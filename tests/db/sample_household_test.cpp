// make-datafile --sample, run as a user runs it, and the household it writes.
#include "db/ado_database.h"
#include "db/ado_recordset.h"
#include "db/datafile.h"
#include "format/string_table.h"
#include "platform/ole_date.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

int makeDatafile(const QStringList &arguments, QByteArray *err = nullptr)
{
    QProcess process;
    process.start(QStringLiteral(DOMELIO_BIN_DIR "/make-datafile"), arguments);
    EXPECT_TRUE(process.waitForFinished(60000));
    if (err)
        *err = process.readAllStandardError();
    return process.exitCode();
}

class SampleHousehold : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QByteArray err;
        ASSERT_EQ(makeDatafile({ QStringLiteral("--sample"), path() }, &err), 0)
            << err.toStdString();
        ASSERT_TRUE(db.Open(path())) << db.GetLastError().toStdString();
    }

    QString path() const { return m_folder.path() + QStringLiteral("/HOMEDATA.DAT"); }

    qint32 number(const QString &sql)
    {
        CADORecordset rs(db);
        EXPECT_TRUE(rs.Open(sql)) << sql.toStdString();
        qint32 n = -1;
        if (!rs.IsEof())
            rs.GetLong(0, n);
        return n;
    }

    QStringList texts(const QString &sql)
    {
        CADORecordset rs(db);
        EXPECT_TRUE(rs.Open(sql)) << sql.toStdString();
        QStringList all;
        for (; !rs.IsEof(); rs.MoveNext()) {
            QString text;
            rs.GetString(0, text);
            all << text;
        }
        return all;
    }

    QTemporaryDir m_folder;
    CADODataBase db;
};

TEST_F(SampleHousehold, IsABelievableHouseholdWithEveryKindOfRecord)
{
    EXPECT_EQ(number(QStringLiteral("SELECT COUNT(*) FROM Homes")), 2);
    EXPECT_EQ(number(QStringLiteral("SELECT COUNT(*) FROM Areas")), 12);
    EXPECT_EQ(number(QStringLiteral("SELECT COUNT(*) FROM Areas WHERE Length<=0 OR Width<=0 "
                                    "OR Color1=16777215 OR Label1 IS NULL")),
              0);
    const qint32 assets = number(QStringLiteral("SELECT COUNT(*) FROM Assets"));
    EXPECT_GE(assets, 140);
    EXPECT_LE(assets, 180);
    // Every asset lies in a location of its own home.
    EXPECT_EQ(number(QStringLiteral("SELECT COUNT(*) FROM Assets a LEFT JOIN Areas l ON "
                                    "a.AreaId=l.AreaId WHERE l.HomeId IS NOT a.HomeId")),
              0);
    for (const int category : { 1, 7, 8, 9, 17 }) // appliances, electronics, furniture, ...
        EXPECT_GE(
            number(QStringLiteral("SELECT COUNT(*) FROM Assets WHERE CategoryId=%1").arg(category)),
            5)
            << category;

    // The video library: 40 titles, each genre one the program offers, each year sensible.
    EXPECT_EQ(number(QStringLiteral("SELECT COUNT(*) FROM Assets WHERE CategoryId=19")), 40);
    const QStringList offered = Strings::load(Strings::VideoGenres).split(QLatin1Char(';'));
    const QStringList genres =
        texts(QStringLiteral("SELECT DISTINCT MakeModel FROM Assets WHERE CategoryId=19"));
    EXPECT_GE(genres.size(), 15);
    for (const QString &genre : genres)
        EXPECT_TRUE(offered.contains(genre)) << genre.toStdString();
    const double firstJanuary1940 = COleDateTime::fromDate(QDate(1940, 1, 1)).days();
    EXPECT_EQ(number(QStringLiteral("SELECT COUNT(*) FROM Assets WHERE CategoryId=19 AND "
                                    "WarrantyExpiration < %1")
                         .arg(firstJanuary1940)),
              0);

    // Warranties both run out and still running (the year 2000 means "no date").
    const double today = COleDateTime::fromDate(QDate::currentDate()).days();
    const QString warranties =
        QStringLiteral("SELECT COUNT(*) FROM Assets WHERE CategoryId<>19 AND "
                       "WarrantyExpiration > %1 AND WarrantyExpiration %3 %2")
            .arg(COleDateTime::fromDate(QDate(2001, 1, 1)).days());
    EXPECT_GE(number(warranties.arg(today).arg(QLatin1Char('<'))), 10);
    EXPECT_GE(number(warranties.arg(today).arg(QLatin1Char('>'))), 10);

    EXPECT_EQ(number(QStringLiteral("SELECT COUNT(*) FROM Loans WHERE AssetType=1 AND "
                                    "AssetId=1")),
              2);
    EXPECT_EQ(number(QStringLiteral("SELECT COUNT(*) FROM Loans WHERE AssetType=1 AND "
                                    "AssetId=2")),
              2);
    // General tasks and shopping items, each in the pool, picked and done.
    for (const int type : { 1, 2 }) {
        for (const int status : { 0, 1, 2 })
            EXPECT_GE(number(QStringLiteral("SELECT COUNT(*) FROM Tasks WHERE TaskType=%1 AND "
                                            "Status=%2")
                                 .arg(type)
                                 .arg(status)),
                      2)
                << type << ' ' << status;
    }

    // A dozen maintenance plans of both homes, each for an asset, a location or a home of its
    // own; some overdue, some due within the week, most done before.
    EXPECT_EQ(number(QStringLiteral("SELECT COUNT(*) FROM Schedules")), 12);
    EXPECT_EQ(number(QStringLiteral("SELECT COUNT(DISTINCT HomeId) FROM Schedules")), 2);
    EXPECT_EQ(number(QStringLiteral("SELECT COUNT(*) FROM Schedules s WHERE (AssetId>0 AND NOT "
                                    "EXISTS (SELECT 1 FROM Assets a WHERE a.AssetId=s.AssetId AND "
                                    "a.HomeId=s.HomeId)) OR (AreaId>0 AND NOT EXISTS (SELECT 1 "
                                    "FROM Areas r WHERE r.AreaId=s.AreaId AND "
                                    "r.HomeId=s.HomeId))")),
              0);
    EXPECT_GE(number(QStringLiteral("SELECT COUNT(*) FROM Schedules WHERE NextDue<%1").arg(today)),
              2);
    EXPECT_GE(number(QStringLiteral("SELECT COUNT(*) FROM Schedules WHERE NextDue>=%1 AND "
                                    "NextDue<%2")
                         .arg(today)
                         .arg(today + 7)),
              2);
    EXPECT_GE(number(QStringLiteral("SELECT COUNT(DISTINCT ScheduleId) FROM ScheduleLog")), 10);

    // New records get fresh ids: every counter lies above the ids written.
    for (const char *table : { "Homes", "Areas", "Assets", "Loans", "Tasks" }) {
        const QString id = QString::fromLatin1(table).chopped(1) + QStringLiteral("Id");
        EXPECT_GT(number(QStringLiteral("SELECT NextId FROM TableIds WHERE TableName='%1'")
                             .arg(QLatin1String(table))),
                  number(QStringLiteral("SELECT MAX(%1) FROM %2").arg(id, QLatin1String(table))))
            << table;
    }
}

TEST_F(SampleHousehold, PicturesAreDrawnBesideItSmallAndNothingIsOverwritten)
{
    const QStringList pictures =
        texts(QStringLiteral("SELECT Picture2 FROM Homes WHERE Picture2 IS NOT NULL UNION ALL "
                             "SELECT Picture2 FROM Assets WHERE Picture2 IS NOT NULL"));
    EXPECT_EQ(pictures.size(), 8);
    qint64 total = 0;
    for (const QString &picture : pictures) {
        EXPECT_TRUE(picture.startsWith(m_folder.path() + QStringLiteral("/pictures/")));
        QFile file(picture);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << picture.toStdString();
        EXPECT_TRUE(file.read(3) == QByteArray("\xff\xd8\xff")) << "not a JPEG picture";
        total += QFileInfo(picture).size();
    }
    EXPECT_LT(total, 200 * 1024);

    // A second run refuses both the data file and the pictures, and changes neither, by a byte.
    db.Close();
    const QStringList files = QStringList(pictures) << path();
    const auto fingerprints = [&] {
        QList<QByteArray> sums;
        for (const QString &file : files) {
            QFile f(file);
            QCryptographicHash hash(QCryptographicHash::Sha256);
            EXPECT_TRUE(f.open(QIODevice::ReadOnly) && hash.addData(&f)) << file.toStdString();
            sums << hash.result();
        }
        return sums;
    };
    const QList<QByteArray> before = fingerprints();
    const QString other = m_folder.path() + QStringLiteral("/other.dat");
    QByteArray err;
    EXPECT_EQ(makeDatafile({ QStringLiteral("--sample"), path() }, &err), 1);
    EXPECT_TRUE(err.contains("exists already")) << err.toStdString();
    EXPECT_EQ(makeDatafile({ QStringLiteral("--sample"), other }, &err), 1);
    EXPECT_TRUE(err.contains("pictures")) << err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(other));
    EXPECT_EQ(fingerprints(), before);
    EXPECT_EQ(makeDatafile({ QStringLiteral("--sample"), QStringLiteral("--keep"), other }), 2);
}

} // namespace
