// Saves cut off: a child process saves homes, locations, assets, loans and tasks, new and
// edited, through the records' own Save, and is killed with SIGKILL at random moments. After
// every kill the data file must be whole, hold every save the child had reported done, hold no
// row that lacks its columns, and its id counters must be ahead of every stored id.
//
// The saves and where the kills fall among them come from a seed, printed at the start;
// DOMELIO_SAVE_TRIAL_SEED=<n> repeats a run (the exact moments also follow the machine's pace).
#include "db/ado_database.h"
#include "db/ado_recordset.h"
#include "db/datafile.h"
#include "records/area.h"
#include "records/asset.h"
#include "records/home.h"
#include "records/loan.h"
#include "records/task.h"
#include "support/child_process.h"
#include "support/integrity.h"
#include "support/temp_env.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <map>
#include <random>
#include <set>
#include <thread>
#include <vector>

namespace {

constexpr const char *kChildVariable = "DOMELIO_SAVE_TRIAL_CHILD";
constexpr const char *kSeedVariable = "DOMELIO_SAVE_TRIAL_SEED";
constexpr quint64 kDefaultSeed = 16;
constexpr int kSaves = 1000;
constexpr int kKills = 20;

enum Kind { Home, Area, Asset, Loan, Task, KindCount };

struct Table
{
    const char *name;
    const char *key;
    const char *number; // the column each save writes its own number into
};
constexpr Table kTables[KindCount] = { { "Homes", "HomeId", "CurrentValue" },
                                       { "Areas", "AreaId", "Length" },
                                       { "Assets", "AssetId", "PurchasePrice" },
                                       { "Loans", "LoanId", "Principal" },
                                       { "Tasks", "TaskId", "Cost" } };

// Save number k of a run: which table, whether it edits a stored row or adds one, and a number
// to pick the row (and a new record's home) with. The same seed gives the same saves.
struct Step
{
    Kind kind;
    bool edit;
    quint64 pick;
};

Step stepAt(quint64 seed, int k)
{
    std::mt19937_64 random(seed * 1000003u + quint64(k));
    const quint64 r = random();
    return { Kind(r % KindCount), (r >> 8) % 3 == 0, r >> 16 };
}

// What save k writes: its number in the description, a numeric column and the notes, whose
// length varies so that some rows spill onto overflow pages.
QString descriptionOf(int k)
{
    return QStringLiteral("save %1").arg(k);
}
QString notesOf(int k)
{
    return QString((k % 6) * 900, QChar(u'a' + k % 26));
}

// The key of one of the table's rows chosen by pick; -1 when the table is empty.
qint32 pickId(CADODataBase &db, Kind kind, quint64 pick)
{
    CADORecordset rs(db);
    std::vector<qint32> ids;
    if (rs.Open(QStringLiteral("SELECT %1 FROM %2 ORDER BY %1;")
                    .arg(QLatin1String(kTables[kind].key), QLatin1String(kTables[kind].name)))) {
        for (; !rs.IsEof(); rs.MoveNext()) {
            qint32 id = 0;
            rs.GetLong(0, id);
            ids.push_back(id);
        }
    }
    return ids.empty() ? -1 : ids[pick % ids.size()];
}

template<class Record, class Fill>
bool saveRecord(CADODataBase &db, qint32 target, int k, qint32 &id, Fill fill)
{
    Record record;
    if (target > 0) {
        record.setId(target);
        if (!record.Load(db))
            return false;
    }
    record.m_strDescription = descriptionOf(k);
    record.m_strNotes = notesOf(k);
    fill(record, float(k));
    if (!record.Save(db))
        return false;
    id = record.id();
    return true;
}

bool save(CADODataBase &db, quint64 seed, int k, qint32 &id)
{
    const Step step = stepAt(seed, k);
    const qint32 target = step.edit ? pickId(db, step.kind, step.pick) : -1;
    const qint32 home = std::max(pickId(db, Home, step.pick), 0);
    switch (step.kind) {
    case Home:
        return saveRecord<CHome>(db, target, k, id,
                                 [](CHome &r, float n) { r.m_fCurrentValue = n; });
    case Area:
        return saveRecord<CArea>(db, target, k, id, [&](CArea &r, float n) {
            r.m_nLength = qint32(n);
            if (!r.Exists())
                r.m_nHomeId = home;
        });
    case Asset:
        return saveRecord<CAsset>(db, target, k, id, [&](CAsset &r, float n) {
            r.m_fPurchasePrice = n;
            if (!r.Exists())
                r.m_lHomeId = home;
        });
    case Loan:
        return saveRecord<CLoan>(db, target, k, id, [&](CLoan &r, float n) {
            r.m_fPrincipal = n;
            if (!r.Exists())
                r.m_nAssetId = home;
        });
    case Task:
    case KindCount:
        break;
    }
    return saveRecord<CTask>(db, target, k, id, [&](CTask &r, float n) {
        r.m_fCost = n;
        if (!r.Exists())
            r.m_nTaskType = k % 2 ? CTask::ShoppingItem : CTask::GeneralTask;
    });
}

// The child's side: saves from the first number given on, reporting each one once its Save has
// returned true, until it is killed or all are done.
TEST(RecordSaveKillTrialChild, Saves)
{
    const QList<QByteArray> job = qgetenv(kChildVariable).split(' ');
    if (job.size() != 2)
        GTEST_SKIP() << "runs only as the trial's child process";
    const quint64 seed = job[0].toULongLong();
    CADODataBase db;
    ASSERT_TRUE(
        db.Open(qEnvironmentVariable("DOMELIO_DATA_DIR") + QStringLiteral("/HOMEDATA.DAT")));
    for (int k = job[1].toInt(); k < kSaves; ++k) {
        qint32 id = -1;
        if (!save(db, seed, k, id)) {
            reportToParent("failed " + QByteArray::number(k) + ' '
                           + db.GetLastError().toUtf8().replace('\n', ' '));
            FAIL() << db.GetLastError().toStdString();
        }
        ASSERT_TRUE(reportToParent(QByteArray::number(k) + ' '
                                   + QByteArray::number(stepAt(seed, k).kind) + ' '
                                   + QByteArray::number(id)));
    }
}

quint64 trialSeed()
{
    bool ok = false;
    const quint64 seed = qEnvironmentVariable(kSeedVariable).toULongLong(&ok);
    return ok ? seed : kDefaultSeed;
}

class RecordSaveKillTrial : public ::testing::Test
{
protected:
    // Takes in one line the child reported; false for a save the child said had failed.
    bool take(const QByteArray &line)
    {
        const QList<QByteArray> parts = line.split(' ');
        if (parts.size() != 3 || parts[0] == "failed") {
            ADD_FAILURE() << "the child reported: " << line.constData();
            return false;
        }
        const int k = parts[0].toInt();
        latest[{ Kind(parts[1].toInt()), parts[2].toInt() }] = k;
        done.insert(k);
        next = k + 1;
        return true;
    }

    // Reads every line still to come; the child has ended or been killed.
    void drain(ChildProcess &child)
    {
        for (QByteArray line = child.readLine(60000); !line.isEmpty(); line = child.readLine(60000))
            take(line);
    }

    // Spreads the kills over the saves left, keeping some for the last child: waits for a few
    // reports, then for a moment within the save under way, however long saves take on this
    // machine now.
    void waitForAMomentWithinASave(ChildProcess &child, int kill)
    {
        const int share = 2 * (kSaves - next) / (kKills - kill + 2);
        const int reports = 2 + int(moments() % quint64(std::max(share - 1, 1)));
        int read = 0;
        std::chrono::steady_clock::time_point first;
        for (; read < reports; ++read) {
            const QByteArray line = child.readLine(60000);
            if (line.isEmpty() || !take(line))
                break;
            if (read == 0)
                first = std::chrono::steady_clock::now();
        }
        qint64 perSave = 1000; // microseconds
        if (read > 1)
            perSave = std::chrono::duration_cast<std::chrono::microseconds>(
                          (std::chrono::steady_clock::now() - first) / (read - 1))
                          .count();
        std::this_thread::sleep_for(
            std::chrono::microseconds(moments() % quint64(std::max<qint64>(perSave, 1000))));
    }

    // Everything wrong with the data file as the program would now open it.
    QStringList problems()
    {
        QStringList found;
        CADODataBase db; // opening read-write plays back the journal a killed save left
        if (!db.Open(env.dataFile()))
            return { db.GetLastError() };
        const QString integrity = integrityOf(env.dataFile());
        if (integrity != QLatin1String("ok"))
            found << QStringLiteral("integrity: ") + integrity;

        std::map<std::pair<Kind, qint32>, int> stored; // the save each row holds
        for (int kind = 0; kind < KindCount; ++kind) {
            const Table &t = kTables[kind];
            CADORecordset rs(db);
            if (!rs.Open(QStringLiteral("SELECT %1, Description, Notes, %2 FROM %3;")
                             .arg(QLatin1String(t.key), QLatin1String(t.number),
                                  QLatin1String(t.name)))) {
                found << rs.GetLastError();
                continue;
            }
            qint32 largest = 0;
            for (; !rs.IsEof(); rs.MoveNext()) {
                qint32 id = 0;
                QString description, notes;
                double number = -1;
                rs.GetLong(0, id);
                rs.GetString(1, description);
                rs.GetString(2, notes);
                rs.GetDouble(QLatin1String(t.number), number);
                largest = std::max(largest, id);
                bool numbered = false;
                const int k = description.mid(5).toInt(&numbered);
                // A key without its columns, or columns of two different saves.
                if (!description.startsWith(QLatin1String("save ")) || !numbered
                    || stepAt(seed, k).kind != kind || notes != notesOf(k) || number != k) {
                    found << QStringLiteral("%1 %2 is not one whole save: '%3', %4 notes, %5")
                                 .arg(QLatin1String(t.name))
                                 .arg(id)
                                 .arg(description)
                                 .arg(notes.size())
                                 .arg(number);
                    continue;
                }
                stored[{ Kind(kind), id }] = k;
            }
            CADORecordset counter(db);
            qint32 nextId = 0;
            if (!counter.Open(QStringLiteral("SELECT NextId FROM TableIds WHERE TableName='%1';")
                                  .arg(QLatin1String(t.name)))
                || counter.IsEof() || !counter.GetLong(0, nextId) || nextId <= largest)
                found << QStringLiteral("the %1 counter %2 is not above the largest id %3")
                             .arg(QLatin1String(t.name))
                             .arg(nextId)
                             .arg(largest);
        }
        // A reported save is there, or a later one of the same row that landed.
        for (const auto &[row, k] : latest) {
            const auto it = stored.find(row);
            if (it == stored.end() || it->second < k)
                found << QStringLiteral("save %1 (%2 %3) was reported but is not there")
                             .arg(k)
                             .arg(QLatin1String(kTables[row.first].name))
                             .arg(row.second);
        }
        return found;
    }

    const quint64 seed = trialSeed();
    std::mt19937_64 moments { seed };
    // In memory when the system has such a folder: a kill loses nothing the kernel holds, so
    // the file's fate is the same, and a thousand saves need not wait on the disk's syncs.
    TempEnv env { true,
                  QFileInfo(QStringLiteral("/dev/shm")).isWritable() ? QStringLiteral("/dev/shm")
                                                                     : QString() };
    std::map<std::pair<Kind, qint32>, int> latest; // each row's last reported save
    std::set<int> done;
    int next = 0;
};

TEST_F(RecordSaveKillTrial, EveryReportedSaveIsWholeAfterEachKillAndTheCountersStayAhead)
{
    std::printf("save kill trial: seed %llu (%s=<n> to choose another)\n",
                static_cast<unsigned long long>(seed), kSeedVariable);
    int cut = 0; // kills that found the child still saving
    int mid = 0; // kills that left a journal: the kill landed inside a write
    for (int kill = 0; kill < kKills; ++kill) {
        SCOPED_TRACE(QStringLiteral("kill %1, from save %2").arg(kill + 1).arg(next).toStdString());
        ChildProcess child("RecordSaveKillTrialChild.Saves", kChildVariable,
                           QByteArray::number(seed) + ' ' + QByteArray::number(next));
        ASSERT_TRUE(child.started());
        waitForAMomentWithinASave(child, kill);
        cut += child.kill();
        mid += QFile::exists(env.dataFile() + QStringLiteral("-journal"));
        drain(child);
        const QStringList found = problems();
        ASSERT_TRUE(found.isEmpty()) << found.join(QLatin1Char('\n')).toStdString();
    }

    // One more child, left to finish the saves.
    {
        ChildProcess child("RecordSaveKillTrialChild.Saves", kChildVariable,
                           QByteArray::number(seed) + ' ' + QByteArray::number(next));
        ASSERT_TRUE(child.started());
        drain(child);
        EXPECT_TRUE(child.finish());
    }
    const QStringList found = problems();
    EXPECT_TRUE(found.isEmpty()) << found.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(int(done.size()), kSaves);
    std::printf("kills: %d of %d cut a child off, %d inside a write\n", cut, kKills, mid);
    EXPECT_EQ(cut, kKills) << "a child finished before its kill";
    EXPECT_GT(mid, 0) << "no kill landed inside a write; the trial proved nothing";
}

} // namespace
