// The copy cut off: a child process runs the real filter and is killed partway through. Both
// files must still open, pass the integrity check, and hold either the old data or the new,
// never a mixture, and the next sync must work.
#include "exchange/sync_session.h"
#include "support/child_process.h"
#include "support/temp_env.h"
#include "sync_fixture.h"

#include <QElapsedTimer>
#include <QThread>

using namespace SyncTest;

namespace {

constexpr const char *kChildVariable = "DOMELIO_SYNC_CHILD";

// The child's side: started by the trial below with the direction in the environment.
TEST(SyncKillTrialChild, ChildCopy)
{
    const QByteArray direction = qgetenv(kChildVariable);
    if (direction.isEmpty())
        GTEST_SKIP() << "runs only as the trial's child process";
    RapiSession rapi;
    CSyncService service;
    ASSERT_EQ(service.Load(), CSyncService::Status::Ready);
    CADODataBase desktop;
    ASSERT_TRUE(
        desktop.Open(qEnvironmentVariable("DOMELIO_DATA_DIR") + QStringLiteral("/HOMEDATA.DAT")));
    const auto d =
        direction == "1" ? Sync::Direction::DesktopToDevice : Sync::Direction::DeviceToDesktop;
    EXPECT_EQ(service.Copy(d, desktop, kDbPath), DeviceFilter::Ok);
}

struct State
{
    QString integrity;
    int assets = -1;
    QString owner; // "desk" or "hand": whose assets the file holds
    bool operator==(const State &) const = default;
};

// Opened read-write, as the program opens it: a journal left by the killed copy is played back.
State stateOf(const QString &file)
{
    State state;
    CADODataBase db;
    if (!db.Open(file)) {
        state.integrity = db.GetLastError();
        return state;
    }
    state.integrity = integrityOf(file);
    CADORecordset rs(db);
    if (rs.Open(QStringLiteral("SELECT count(*), min(substr(Description, 1, 4)), "
                               "max(substr(Description, 1, 4)) FROM Assets;"))
        && !rs.IsEof()) {
        qint32 count = 0;
        QString low, high;
        rs.GetLong(0, count);
        rs.GetString(1, low);
        rs.GetString(2, high);
        state.assets = count;
        state.owner = low == high ? low : low + QLatin1Char('+') + high;
    }
    return state;
}

void fillAssets(const QString &file, const char *owner, int count)
{
    CADODataBase db;
    ASSERT_TRUE(db.Open(file));
    ASSERT_TRUE(db.Execute(QStringLiteral("DELETE FROM Assets;")));
    // Text long enough that the copy takes a while to write.
    ASSERT_TRUE(db.Execute(
        QStringLiteral(
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
            "INSERT INTO Assets (AssetId, HomeId, Description, Notes) SELECT i, 1, '%2 ' "
            "|| i, printf('%.300c', 'n') FROM n;")
            .arg(count)
            .arg(QLatin1String(owner))));
}

class SyncKillTrial : public ::testing::Test
{
protected:
    void SetUp() override
    {
        registerService();
        setUpDevice();
        fillAssets(env.dataFile(), "desk", kDesk);
        fillAssets(deviceFile(), "hand", kHand);
    }

    // Starts the copy in a child process and kills it once it has begun writing and a little
    // more; returns whether the kill came before the child finished.
    bool killMidway(Sync::Direction direction, int extraMs)
    {
        // The desktop's journal, or the new device database the filter writes beside the old.
        const auto begun = [&] {
            return direction == Sync::Direction::DeviceToDesktop
                ? QFile::exists(env.dataFile() + QStringLiteral("-journal"))
                : !deviceLeftovers().isEmpty();
        };
        ChildProcess child("SyncKillTrialChild.ChildCopy", kChildVariable,
                           direction == Sync::Direction::DesktopToDevice ? "1" : "2");
        EXPECT_TRUE(child.started());
        QElapsedTimer waited;
        waited.start();
        while (!begun() && child.running() && waited.elapsed() < 60000)
            QThread::usleep(200);
        QThread::msleep(extraMs);
        return child.kill();
    }

    static constexpr int kDesk = 20000;
    static constexpr int kHand = 15000;
    TempEnv env;
};

TEST_F(SyncKillTrial, AKilledCopyLeavesBothFilesWholeWithOldOrNewData)
{
    const State desk { QStringLiteral("ok"), kDesk, QStringLiteral("desk") };
    const State hand { QStringLiteral("ok"), kHand, QStringLiteral("hand") };
    int cut = 0;
    for (const auto direction :
         { Sync::Direction::DeviceToDesktop, Sync::Direction::DesktopToDevice }) {
        for (int extraMs : { 0, 15 }) {
            SCOPED_TRACE(int(direction) * 100 + extraMs);
            cut += killMidway(direction, extraMs);
            const State desktopNow = stateOf(env.dataFile());
            const State deviceNow = stateOf(deviceFile());
            EXPECT_TRUE(desktopNow == desk || desktopNow == hand)
                << desktopNow.integrity.toStdString() << ' ' << desktopNow.assets << ' '
                << desktopNow.owner.toStdString();
            EXPECT_TRUE(deviceNow == desk || deviceNow == hand)
                << deviceNow.integrity.toStdString() << ' ' << deviceNow.assets << ' '
                << deviceNow.owner.toStdString();
            // Put both sides back for the next cut.
            fillAssets(env.dataFile(), "desk", kDesk);
            fillAssets(deviceFile(), "hand", kHand);
        }
    }
    EXPECT_GT(cut, 0) << "no copy was cut off; the trial proved nothing";
    std::printf("copies cut off: %d of 4\n", cut);

    // What a cut-off copy left behind does not stand in the way of the next one.
    RapiSession rapi;
    CSyncService service;
    ASSERT_EQ(service.Load(), CSyncService::Status::Ready);
    CADODataBase desktop;
    ASSERT_TRUE(desktop.Open(env.dataFile()));
    EXPECT_EQ(service.Copy(Sync::Direction::DesktopToDevice, desktop, kDbPath), DeviceFilter::Ok);
    EXPECT_EQ(stateOf(deviceFile()), desk);
    EXPECT_EQ(deviceLeftovers(), QStringList());
}

} // namespace
