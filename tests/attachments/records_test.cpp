// Attachments as records: they go with their asset or home, one of them is the picture, the
// inventory counts them from an index alone, the unfiled ones are found, and a backup and its
// restore carry their bytes.
#include "attachments/attachment_files.h"
#include "db/added_tables.h"
#include "exchange/backup_restore.h"
#include "records/asset.h"
#include "records/attachment_store.h"
#include "records/attachments.h"
#include "records/home.h"
#include "support/data_file_test.h"
#include "support/integrity.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sqlite3.h>

namespace {

using Attachments::Attachment;

class AttachmentRecords : public DataFileTest
{
protected:
    void SetUp() override
    {
        DataFileTest::SetUp();
        run(QStringLiteral("INSERT INTO Homes (HomeId, Description) VALUES (1, 'Lake house'), "
                           "(2, 'Flat');"));
        run(QStringLiteral("INSERT INTO Assets (AssetId, HomeId, Description) VALUES (10, 1, "
                           "'Sofa'), (11, 1, 'Television'), (20, 2, 'Bike');"));
    }

    qint64 attach(qint32 home, qint32 asset, const QString &name, qint64 size = 5000)
    {
        const QString path = AttachmentFiles::write(files.path(), name, size, quint32(size));
        const Attachments::AddOutcome added = Attachments::add(db, path, home, asset);
        EXPECT_EQ(added.problem, Attachments::Problem::None) << added.detail.toStdString();
        hashes[added.id] = AttachmentFiles::hashOf(path);
        return added.id;
    }

    QStringList names(const std::vector<Attachment> &list)
    {
        QStringList found;
        for (const Attachment &a : list)
            found << a.fileName;
        return found;
    }

    QByteArray storedHash(CADODataBase &from, qint64 id)
    {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        if (!Attachments::writeTo(from, id, buffer))
            return {};
        return AttachmentFiles::hashOfBytes(bytes);
    }

    QStringList plan(const QString &sql)
    {
        QStringList details;
        sqlite3_stmt *stmt = nullptr;
        EXPECT_EQ(sqlite3_prepare_v2(db.handle(),
                                     ("EXPLAIN QUERY PLAN " + sql).toUtf8().constData(), -1, &stmt,
                                     nullptr),
                  SQLITE_OK);
        while (sqlite3_step(stmt) == SQLITE_ROW)
            details << QString::fromUtf8(
                reinterpret_cast<const char *>(sqlite3_column_text(stmt, 3)));
        sqlite3_finalize(stmt);
        return details;
    }

    QTemporaryDir files;
    std::map<qint64, QByteArray> hashes;
};

TEST_F(AttachmentRecords, DeletingAnAssetOrAHomeTakesItsAttachmentsAndTheirBytesAlong)
{
    attach(1, 10, QStringLiteral("sofa receipt.pdf"));
    attach(1, 10, QStringLiteral("sofa front.jpg"));
    const qint64 tv = attach(1, 11, QStringLiteral("tv manual.pdf"));
    const qint64 deed = attach(1, Attachments::kHomeItself, QStringLiteral("deed.pdf"));
    const qint64 bike = attach(2, 20, QStringLiteral("bike.jpg"));
    const qint64 lease = attach(2, Attachments::kHomeItself, QStringLiteral("lease.pdf"));

    ASSERT_TRUE(CAsset(10).Delete(db));
    EXPECT_EQ(names(Attachments::list(db, 1, 10)), QStringList());
    EXPECT_EQ(names(Attachments::list(db, 1, 11)), QStringList { QStringLiteral("tv manual.pdf") });
    EXPECT_EQ(names(Attachments::list(db, 1, Attachments::kHomeItself)),
              QStringList { QStringLiteral("deed.pdf") });
    EXPECT_EQ(number(QStringLiteral("SELECT count(*) FROM AttachmentData;")), 4);

    ASSERT_TRUE(CHome(1).Delete(db));
    EXPECT_EQ(Attachments::listOfHome(db, 1).size(), 0u);
    EXPECT_FALSE(Attachments::find(db, tv));
    EXPECT_FALSE(Attachments::find(db, deed));
    // The other home keeps everything, bytes included; no bytes are left without their row.
    EXPECT_EQ(names(Attachments::listOfHome(db, 2)),
              (QStringList { QStringLiteral("lease.pdf"), QStringLiteral("bike.jpg") }));
    EXPECT_EQ(storedHash(db, bike), hashes[bike]);
    EXPECT_EQ(storedHash(db, lease), hashes[lease]);
    EXPECT_EQ(number(QStringLiteral("SELECT count(*) FROM AttachmentData WHERE AttachmentId NOT "
                                    "IN (SELECT AttachmentId FROM Attachments);")),
              0);
    EXPECT_EQ(number(QStringLiteral("SELECT count(*) FROM AttachmentData;")), 2);
    EXPECT_EQ(integrityOf(env.dataFile()), QStringLiteral("ok"));
}

TEST_F(AttachmentRecords, OnePictureAtATimeAndTheInventoryCountsThemFromTheIndexAlone)
{
    const qint64 front = attach(1, 10, QStringLiteral("front.jpg"));
    const qint64 back = attach(1, 10, QStringLiteral("back.jpg"));
    attach(1, 10, QStringLiteral("receipt.pdf"));
    attach(1, 11, QStringLiteral("manual.pdf"));
    const qint64 house = attach(1, Attachments::kHomeItself, QStringLiteral("house.jpg"));

    ASSERT_TRUE(Attachments::setPicture(db, front, true));
    ASSERT_TRUE(Attachments::setPicture(db, house, true));
    EXPECT_EQ(Attachments::pictureOf(db, 1, 10)->id, front);
    ASSERT_TRUE(Attachments::setPicture(db, back, true));
    EXPECT_EQ(Attachments::pictureOf(db, 1, 10)->id, back);
    EXPECT_FALSE(Attachments::find(db, front)->isPicture);
    // The home's picture is its own: marking the asset's left it alone.
    EXPECT_EQ(Attachments::pictureOf(db, 1, Attachments::kHomeItself)->id, house);
    // The engine itself refuses a second picture for one owner.
    EXPECT_FALSE(db.Execute(
        QStringLiteral("UPDATE Attachments SET IsPicture=1 WHERE AttachmentId=%1;").arg(front)));

    const QHash<qint32, Attachments::Marks> marks = Attachments::marksByAsset(db, 1);
    ASSERT_EQ(marks.size(), 2); // the home's papers are no asset's
    EXPECT_EQ(marks[10].count, 3);
    EXPECT_TRUE(marks[10].picture);
    EXPECT_EQ(marks[11].count, 1);
    EXPECT_FALSE(marks[11].picture);
    // However large the files, the count never reads a row: the index answers alone.
    EXPECT_EQ(plan(QStringLiteral("SELECT AssetId, COUNT(*), MAX(IsPicture) FROM Attachments "
                                  "WHERE HomeId=1 AND AssetId>0 GROUP BY AssetId;")),
              QStringList { QStringLiteral(
                  "SEARCH Attachments USING COVERING INDEX AttachmentsByOwner (HomeId=? AND "
                  "AssetId>?)") });

    // Another kind, another owner: the picture mark stays behind.
    ASSERT_TRUE(Attachments::setKind(db, back, Attachments::Kind::Receipt));
    EXPECT_EQ(Attachments::find(db, back)->kind, Attachments::Kind::Receipt);
    ASSERT_TRUE(Attachments::moveTo(db, back, 1, 11));
    EXPECT_FALSE(Attachments::pictureOf(db, 1, 10));
    EXPECT_FALSE(Attachments::find(db, back)->isPicture);
    EXPECT_EQ(Attachments::list(db, 1, 11).size(), 2u);
    ASSERT_TRUE(Attachments::setPicture(db, house, false));
    EXPECT_FALSE(Attachments::pictureOf(db, 1, Attachments::kHomeItself));
    // None of it rewrote the bytes.
    EXPECT_EQ(storedHash(db, back), hashes[back]);
}

TEST_F(AttachmentRecords, UnfiledAreThoseWhoseAssetOrHomeIsGoneOrElsewhere)
{
    attach(1, 10, QStringLiteral("sofa.jpg"));
    const qint64 tv = attach(1, 11, QStringLiteral("tv.pdf"));
    const qint64 deed = attach(1, Attachments::kHomeItself, QStringLiteral("deed.pdf"));
    const qint64 bike = attach(2, 20, QStringLiteral("bike.jpg"));
    EXPECT_EQ(Attachments::unfiledCount(db), 0);

    // As a copy from the handheld leaves them: rows replaced, attachments untouched.
    run(QStringLiteral("DELETE FROM Assets WHERE AssetId=11;"));
    run(QStringLiteral("UPDATE Assets SET HomeId=1 WHERE AssetId=20;"));
    run(QStringLiteral("DELETE FROM Homes WHERE HomeId=1;"));
    std::vector<Attachment> unfiled = Attachments::unfiled(db);
    EXPECT_EQ(names(unfiled),
              (QStringList { QStringLiteral("deed.pdf"), QStringLiteral("tv.pdf"),
                             QStringLiteral("bike.jpg") }));
    EXPECT_EQ(Attachments::unfiledCount(db), 3);
    // An asset whose home has gone still has its attachments filed with it.
    EXPECT_EQ(names(Attachments::list(db, 1, 10)), QStringList { QStringLiteral("sofa.jpg") });

    ASSERT_TRUE(Attachments::moveTo(db, tv, 1, 10));
    ASSERT_TRUE(Attachments::moveTo(db, bike, 2, Attachments::kHomeItself));
    EXPECT_EQ(names(Attachments::unfiled(db)), QStringList { QStringLiteral("deed.pdf") });
    ASSERT_TRUE(Attachments::remove(db, deed));
    EXPECT_EQ(Attachments::unfiledCount(db), 0);
    EXPECT_EQ(storedHash(db, tv), hashes[tv]);
}

TEST_F(AttachmentRecords, ABackupAndItsRestoreCarryEveryByte)
{
    const qint64 receipt = attach(1, 10, QStringLiteral("receipt.pdf"), 3 * 1024 * 1024 + 5);
    const qint64 deed = attach(1, Attachments::kHomeItself, QStringLiteral("deed.pdf"), 70000);
    ASSERT_TRUE(Attachments::setPicture(db, receipt, true));
    const QString backup = files.filePath(QStringLiteral("backup.dat"));
    const DataFileBackup::Outcome saved = DataFileBackup::backup(db, backup);
    ASSERT_TRUE(saved.ok) << saved.reason.toStdString();
    EXPECT_TRUE(DataFileBackup::validate(backup).ok);

    // Changes after the backup are undone by its restore.
    const qint64 later = attach(1, 11, QStringLiteral("later.pdf"));
    ASSERT_TRUE(Attachments::remove(db, deed));
    const DataFileBackup::Outcome restored = DataFileBackup::restore(db, backup);
    ASSERT_TRUE(restored.ok) << restored.reason.toStdString();
    ASSERT_TRUE(AddedTables::ensure(db));
    EXPECT_FALSE(Attachments::find(db, later));
    ASSERT_TRUE(Attachments::find(db, deed));
    EXPECT_EQ(storedHash(db, deed), hashes[deed]);
    EXPECT_EQ(storedHash(db, receipt), hashes[receipt]);
    EXPECT_TRUE(Attachments::find(db, receipt)->isPicture);

    // A backup from before attachments: restored, it gets the tables and takes files.
    run(QStringLiteral("DROP TABLE Attachments;"));
    run(QStringLiteral("DROP TABLE AttachmentData;"));
    const QString old = files.filePath(QStringLiteral("old.dat"));
    ASSERT_TRUE(DataFileBackup::backup(db, old).ok);
    ASSERT_TRUE(DataFileBackup::restore(db, old).ok);
    EXPECT_EQ(Attachments::list(db, 1, 10).size(), 0u);
    ASSERT_TRUE(AddedTables::ensure(db));
    const qint64 fresh = attach(1, 10, QStringLiteral("fresh.jpg"));
    EXPECT_EQ(storedHash(db, fresh), hashes[fresh]);
}

} // namespace
