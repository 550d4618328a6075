// The one place a report file is written: whole or not at all, and never over the data file.
#include "report/report_file.h"
#include "support/temp_env.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {

using InventoryReport::SaveResult;

QByteArray digest(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

SaveResult writeText(QIODevice &device, const QByteArray &text, SaveResult result)
{
    device.write(text);
    return result;
}

class ReportFile : public ::testing::Test
{
protected:
    SaveResult save(const QString &target, SaveResult outcome = SaveResult::Saved)
    {
        error.clear();
        return InventoryReport::saveFile(
            target, env.dataFile(),
            [&](QIODevice &device) { return writeText(device, "%PDF new report", outcome); },
            &error);
    }

    QStringList folderEntries() const
    {
        return QDir(env.root()).entryList(QDir::Files | QDir::Hidden | QDir::System);
    }

    TempEnv env;
    QString error;
};

TEST_F(ReportFile, TheDataFileItsSideFilesAndLinksToThemAreRefused)
{
    const QByteArray before = digest(env.dataFile());
    ASSERT_FALSE(before.isEmpty());
    const QString link = env.root() + QStringLiteral("/report.pdf");
    ASSERT_TRUE(QFile::link(env.dataFile(), link));
    const QString journal = env.dataFile() + QStringLiteral("-journal");
    for (const QString &target :
         { env.dataFile(), link, journal, env.dataFile() + QStringLiteral("-wal"),
           env.dataDir() + QStringLiteral("/../data/HOMEDATA.DAT") }) {
        EXPECT_EQ(save(target), SaveResult::Failed) << target.toStdString();
        EXPECT_TRUE(error.contains(QStringLiteral("data file"))) << error.toStdString();
    }
    EXPECT_EQ(digest(env.dataFile()), before);
    EXPECT_FALSE(QFile::exists(journal));
    EXPECT_EQ(save(env.dataDir()), SaveResult::Failed) << "a folder";
}

TEST_F(ReportFile, AFileIsReplacedOnlyWhenTheNewOneIsWhole)
{
    const QString target = env.root() + QStringLiteral("/Lake house Inventory.pdf");
    QFile old(target);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("%PDF old report");
    old.close();
    ASSERT_TRUE(old.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    const QStringList entries = folderEntries();

    // Cancelled or failed halfway: the old report stays, and no temporary file is left over.
    EXPECT_EQ(save(target, SaveResult::Cancelled), SaveResult::Cancelled);
    EXPECT_EQ(save(target, SaveResult::Failed), SaveResult::Failed);
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(folderEntries(), entries);
    QFile check(target);
    ASSERT_TRUE(check.open(QIODevice::ReadOnly));
    EXPECT_EQ(check.readAll(), QByteArray("%PDF old report"));
    check.close();

    EXPECT_EQ(save(target), SaveResult::Saved) << error.toStdString();
    ASSERT_TRUE(check.open(QIODevice::ReadOnly));
    EXPECT_EQ(check.readAll(), QByteArray("%PDF new report"));
    EXPECT_EQ(check.permissions() & (QFileDevice::ReadGroup | QFileDevice::ReadOther), 0)
        << "the replaced file's permissions are kept";
    EXPECT_EQ(folderEntries(), entries);

    EXPECT_EQ(save(env.root() + QStringLiteral("/no such folder/report.pdf")), SaveResult::Failed);
    EXPECT_FALSE(error.isEmpty());
}

} // namespace
