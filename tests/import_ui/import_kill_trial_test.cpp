// Imports cut off: a child process imports a file of thousands of rows through the Import
// Inventory Data dialog and is killed with SIGKILL part way, at a different point each time.
// Once the program opens the file again, it must be exactly the file from before the import,
// byte for byte (or, should the kill come after the commit, hold the whole import): all rows or
// none. A last child is left to finish, and the file then holds every row, with every id
// counter ahead of its table.
#include "db/ado_database.h"
#include "db/ado_recordset.h"
#include "exchange/import_command.h"
#include "format/display_text.h"
#include "platform/busy.h"
#include "records/area.h"
#include "records/asset.h"
#include "records/home.h"
#include "support/child_process.h"
#include "support/integrity.h"
#include "support/scripted_ui.h"
#include "support/temp_env.h"

#include <QDialog>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <random>

namespace {

constexpr const char *kChildVariable = "DOMELIO_IMPORT_TRIAL_CHILD";
constexpr int kRows = 8000;
constexpr int kKills = 5;

// The child's progress window: says how far the import has got, in thousandths, every 2%.
class ReportingWindow : public Busy::Window
{
public:
    void show(const Busy::Work &work) override { update(work); }
    bool update(const Busy::Work &work) override
    {
        if (work.label == QLatin1String("Importing the inventory...") && work.total > 0) {
            const qint64 permille = work.done * 1000 / work.total;
            if (permille >= m_next) {
                reportToParent("at " + QByteArray::number(permille));
                m_next = permille + 20;
            }
        }
        return false;
    }
    void hide() override { }

private:
    qint64 m_next = 0;
};

TEST(ImportKillTrialChild, Imports)
{
    const QByteArray file = qgetenv(kChildVariable);
    if (file.isEmpty())
        GTEST_SKIP() << "runs only as the trial's child process";
    ScriptedUi ui;
    ui.nextFileName(QString::fromUtf8(file));
    ui.onNextDialog([](QDialog &d) { Fill::click(d, QStringLiteral("import")); });
    // The file's dates are written the American way.
    setUserLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    ReportingWindow window;
    Busy::setWindow(&window);
    Busy::setTiming(0, 0);
    CADODataBase db;
    ASSERT_TRUE(
        db.Open(qEnvironmentVariable("DOMELIO_DATA_DIR") + QStringLiteral("/HOMEDATA.DAT")));
    CHome home(1);
    ASSERT_TRUE(home.Load(db));
    const bool imported = Import::importInventory(nullptr, db, home);
    Busy::setWindow(nullptr);
    reportToParent(imported ? "done" : "failed " + ui.messageTexts().join(' ').toUtf8());
}

class ImportKillTrial : public ::testing::Test
{
protected:
    void SetUp() override
    {
        CADODataBase db;
        ASSERT_TRUE(db.Open(env.dataFile()));
        CHome home;
        home.m_strDescription = QStringLiteral("Maple Court");
        ASSERT_TRUE(home.Save(db));
        ASSERT_EQ(home.id(), 1);
        CArea den;
        den.m_nHomeId = 1;
        den.m_strDescription = QStringLiteral("Den");
        ASSERT_TRUE(den.Save(db));
        CAsset piano;
        piano.m_lHomeId = 1;
        piano.m_strDescription = QStringLiteral("Piano");
        ASSERT_TRUE(piano.Save(db));

        QByteArray text = "Name,Room,Category,Price,Purchased\r\n";
        for (int i = 0; i < kRows; ++i)
            text += "Asset " + QByteArray::number(i) + ",Room " + QByteArray::number(i % 40)
                + ",Kind " + QByteArray::number(i % 9) + ",\"$" + QByteArray::number(i % 3000)
                + ".50\"," + QByteArray::number(1 + i % 12) + "/" + QByteArray::number(1 + i % 28)
                + "/19\r\n";
        QFile out(source());
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(text);
    }

    QString source() const { return files.filePath(QStringLiteral("big inventory.csv")); }

    QByteArray bytes(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    qint64 count(CADODataBase &db, const char *sql)
    {
        CADORecordset rs(db);
        double n = -1;
        if (rs.Open(QString::fromLatin1(sql)) && !rs.IsEof())
            rs.GetDouble(0, n);
        return qint64(n);
    }

    // What is wrong with the whole import in the data file (empty when nothing is).
    QStringList wholeImportProblems(CADODataBase &db)
    {
        QStringList found;
        if (count(db, "SELECT COUNT(*) FROM Assets;") != kRows + 1)
            found << QStringLiteral("%1 assets").arg(count(db, "SELECT COUNT(*) FROM Assets;"));
        if (count(db, "SELECT COUNT(*) FROM Areas;") != 41)
            found << QStringLiteral("%1 locations").arg(count(db, "SELECT COUNT(*) FROM Areas;"));
        if (count(db, "SELECT COUNT(*) FROM Categories;") != 30 + 9)
            found << QStringLiteral("%1 categories")
                         .arg(count(db, "SELECT COUNT(*) FROM Categories;"));
        for (auto [table, key] : { std::pair { "Assets", "AssetId" },
                                   { "Areas", "AreaId" },
                                   { "Categories", "CategoryId" } }) {
            const QByteArray next =
                QByteArray("SELECT NextId FROM TableIds WHERE TableName='") + table + "';";
            const QByteArray largest = QByteArray("SELECT MAX(") + key + ") FROM " + table + ";";
            if (count(db, next.constData()) <= count(db, largest.constData()))
                found << QStringLiteral("the %1 counter is not ahead").arg(QLatin1String(table));
        }
        return found;
    }

    // In memory when the system has such a folder, as the save trial does.
    TempEnv env { true,
                  QFileInfo(QStringLiteral("/dev/shm")).isWritable() ? QStringLiteral("/dev/shm")
                                                                     : QString() };
    QTemporaryDir files;
};

TEST_F(ImportKillTrial, AKilledImportLeavesTheFileAsBeforeAndAFinishedOneHoldsEveryRow)
{
    const QByteArray before = bytes(env.dataFile());
    std::mt19937 random(26);
    int mid = 0; // kills that left a journal: the kill landed inside the transaction
    int asBefore = 0;
    for (int kill = 0; kill < kKills; ++kill) {
        const int target = 100 + int(random() % 800); // thousandths of the import
        SCOPED_TRACE(QStringLiteral("kill %1 at %2/1000").arg(kill + 1).arg(target).toStdString());
        ChildProcess child("ImportKillTrialChild.Imports", kChildVariable, source().toUtf8());
        ASSERT_TRUE(child.started());
        bool done = false;
        for (QByteArray line = child.readLine(120000); !line.isEmpty();
             line = child.readLine(120000)) {
            ASSERT_TRUE(line.startsWith("at ") || line == "done") << line.constData();
            done = line == "done";
            if (done || line.mid(3).toInt() >= target)
                break;
        }
        ASSERT_FALSE(done) << "the import finished before its kill";
        EXPECT_TRUE(child.kill()) << "the child had stopped by itself";
        mid += QFile::exists(env.dataFile() + QStringLiteral("-journal"));

        {
            CADODataBase db; // opening read-write plays back the journal the kill left
            ASSERT_TRUE(db.Open(env.dataFile())) << db.GetLastError().toStdString();
            ASSERT_EQ(integrityOf(env.dataFile()), QStringLiteral("ok"));
            const bool whole = wholeImportProblems(db).isEmpty();
            db.Close();
            const bool untouched = bytes(env.dataFile()) == before;
            asBefore += untouched;
            EXPECT_TRUE(untouched || whole) << "neither the file from before nor the whole import";
        }
        // The next child starts from the file as it was.
        QFile::remove(env.dataFile());
        QFile restored(env.dataFile());
        ASSERT_TRUE(restored.open(QIODevice::WriteOnly));
        restored.write(before);
    }
    std::printf("import kills: %d of %d inside the transaction, %d left the file as before\n", mid,
                kKills, asBefore);
    EXPECT_GT(mid, 0) << "no kill landed inside the import; the trial proved nothing";
    EXPECT_EQ(asBefore, kKills);

    // Left alone, the import lands whole.
    ChildProcess child("ImportKillTrialChild.Imports", kChildVariable, source().toUtf8());
    ASSERT_TRUE(child.started());
    QByteArray last;
    for (QByteArray line = child.readLine(300000); !line.isEmpty(); line = child.readLine(300000))
        last = line;
    EXPECT_EQ(last, "done");
    EXPECT_TRUE(child.finish());
    CADODataBase db;
    ASSERT_TRUE(db.Open(env.dataFile()));
    EXPECT_EQ(integrityOf(env.dataFile()), QStringLiteral("ok"));
    const QStringList problems = wholeImportProblems(db);
    EXPECT_TRUE(problems.isEmpty()) << problems.join(QLatin1Char('\n')).toStdString();
}

} // namespace
