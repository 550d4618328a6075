// bench_attachments: attachments kept in the data file, each figure beside a baseline measured
// in the same run:
//   1. a 200 MB file added to the data file, and saved out of it again (as Save As and Open do),
//      against cp of the same file (and cp followed by sync of the copy, since the data file is
//      flushed to the disk on every commit); the program's peak memory (VmHWM) over what it was
//      before each step;
//   2. start-up to an idle window and the Home Inventory refresh, 100,000 assets, with and
//      without 2 GB of attachments in the file, alternating (goal: at most 1.1x apart);
//   3. the backup of the file with the attachments against the sqlite3 shell's .backup (goal:
//      at most 1.2x).
// Everything is made in a temporary folder on disk and removed at the end.
//
//   bench_attachments [--file-mb 200] [--total-mb 2048] [--assets 100000]
#include "records/attachments.h"
#include "bench_host.h"
#include "bench_util.h"
#include "controls/auto_list_ctrl.h"
#include "db/ado_database.h"
#include "db/datafile.h"
#include "exchange/backup_restore.h"
#include "launch.h"
#include "platform/whole_file.h"
#include "records/attachment_store.h"
#include "views/inventory_view.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QStorageInfo>
#include <QTemporaryDir>

#include <cstdio>

namespace {

// VmRSS of this process, MiB.
double residentMiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return -1;
}

// Sets the peak (VmHWM) back to what is resident now, so the next peak is the step's own.
void resetPeak()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

bool writeRandomFile(const QString &path, qint64 size, quint32 seed)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    QRandomGenerator random(seed);
    QByteArray block(1 << 20, Qt::Uninitialized);
    for (qint64 left = size; left > 0; left -= block.size()) {
        random.fillRange(reinterpret_cast<quint32 *>(block.data()), block.size() / 4);
        if (file.write(block.constData(), std::min<qint64>(left, block.size())) < 0)
            return false;
    }
    return file.flush();
}

bool run(const QString &program, const QStringList &arguments)
{
    return QProcess::execute(program, arguments) == 0;
}

// A data file with one home and one asset.
bool smallDataFile(const QString &path)
{
    QFile::remove(path);
    CADODataBase db;
    return DataFile::create(path) && db.Open(path)
        && db.Execute(QStringLiteral("INSERT INTO Homes (HomeId, Description) VALUES (1, 'H');"))
        && db.Execute(QStringLiteral(
            "INSERT INTO Assets (AssetId, HomeId, Description) VALUES (1, 1, 'Piano');"));
}

struct StepFigures
{
    BenchUtil::Times time;
    double peakOverMiB = 0;
};

// 1. One large file in and out, each run on a fresh data file.
bool oneLargeFile(const QString &folder, qint64 bytes)
{
    const QString source = folder + QStringLiteral("/recital.mov");
    if (!writeRandomFile(source, bytes, 7))
        return false;
    const QString copy = folder + QStringLiteral("/copy.mov");
    const QString dataFile = folder + QStringLiteral("/one/HOMEDATA.DAT");
    QDir().mkpath(folder + QStringLiteral("/one"));
    const QString out = folder + QStringLiteral("/saved.mov");
    constexpr int kRuns = 3;

    const BenchUtil::Times cp = BenchUtil::measure(
        kRuns,
        [&] {
            QFile::remove(copy);
            run(QStringLiteral("cp"), { source, copy });
        },
        true);
    const BenchUtil::Times cpSync = BenchUtil::measure(
        kRuns,
        [&] {
            QFile::remove(copy);
            run(QStringLiteral("sh"),
                { QStringLiteral("-c"), QStringLiteral("cp \"$0\" \"$1\" && sync \"$1\""), source,
                  copy });
        },
        true);
    QFile::remove(copy);

    std::vector<double> addWall, addCpu, addPeak, saveWall, saveCpu, savePeak;
    bool ok = true;
    for (int i = 0; i < kRuns && ok; ++i) {
        ok = smallDataFile(dataFile);
        CADODataBase db;
        ok = ok && db.Open(dataFile);
        // In: one transaction, piece by piece.
        double before = residentMiB();
        resetPeak();
        double cpu = BenchUtil::cpuMs();
        QElapsedTimer clock;
        clock.start();
        const Attachments::AddOutcome added = Attachments::add(db, source, 1, 1);
        addWall.push_back(clock.nsecsElapsed() / 1e6);
        addCpu.push_back(BenchUtil::cpuMs() - cpu);
        addPeak.push_back(BenchUtil::peakMiB() - before);
        ok = ok && added.problem == Attachments::Problem::None;
        // Out: written whole under a temporary name and renamed, as Save As and Open write it.
        QFile::remove(out);
        before = residentMiB();
        resetPeak();
        cpu = BenchUtil::cpuMs();
        clock.restart();
        const WholeFile::Outcome saved =
            WholeFile::write(out, dataFile, [&](QIODevice &file, QString *error) {
                return Attachments::writeTo(db, added.id, file, error) ? WholeFile::Result::Written
                                                                       : WholeFile::Result::Failed;
            });
        saveWall.push_back(clock.nsecsElapsed() / 1e6);
        saveCpu.push_back(BenchUtil::cpuMs() - cpu);
        savePeak.push_back(BenchUtil::peakMiB() - before);
        ok = ok && saved.result == WholeFile::Result::Written
            && QFile(out).size() == QFile(source).size();
    }
    QFile::remove(out);
    QFile::remove(source);
    QFile::remove(dataFile);
    if (!ok) {
        std::fprintf(stderr, "adding or saving the large file failed\n");
        return false;
    }
    const auto median = [](std::vector<double> v) {
        std::sort(v.begin(), v.end());
        return v[v.size() / 2];
    };
    const auto worst = [](const std::vector<double> &v) {
        return *std::max_element(v.begin(), v.end());
    };
    std::printf("1. a %lld MB file in and out of the data file (median of %d; wall, CPU)\n",
                (long long)(bytes / 1000000), kRuns);
    std::printf("   cp of the same file:            %8.1f ms wall %8.1f ms CPU\n", cp.wall, cp.cpu);
    std::printf("   cp + sync of the copy:          %8.1f ms wall %8.1f ms CPU\n", cpSync.wall,
                cpSync.cpu);
    std::printf("   added to the data file:         %8.1f ms wall %8.1f ms CPU   %5.2fx cp, "
                "%5.2fx cp + sync; peak +%.1f MiB (worst +%.1f; goal: within 32 MiB)\n",
                median(addWall), median(addCpu), median(addWall) / cp.wall,
                median(addWall) / cpSync.wall, median(addPeak), worst(addPeak));
    std::printf("   saved out (Save As, Open):      %8.1f ms wall %8.1f ms CPU   %5.2fx cp, "
                "%5.2fx cp + sync; peak +%.1f MiB (worst +%.1f; goal: within 32 MiB)\n",
                median(saveWall), median(saveCpu), median(saveWall) / cp.wall,
                median(saveWall) / cpSync.wall, median(savePeak), worst(savePeak));
    return true;
}

// Child mode: the Home Inventory view over home 1 of path, refreshed five times; prints the
// median wall and CPU milliseconds.
int refreshChild(const QString &path)
{
    BenchHost host;
    if (!host.db.Open(path) || !host.SetCurrentHome(1)) {
        std::fprintf(stderr, "%s\n", qPrintable(host.db.GetLastError()));
        return 1;
    }
    CInventoryView view(host);
    view.resize(640, 480);
    view.show();
    QApplication::processEvents();
    const BenchUtil::Times refresh = BenchUtil::measure(5, [&] {
        view.Refresh(0);
        QApplication::processEvents();
    });
    std::printf("%f %f %d\n", refresh.wall, refresh.cpu, view.list()->GetItemCount());
    return 0;
}

QList<double> refreshIn(const QString &path)
{
    QProcess process;
    process.start(QCoreApplication::applicationFilePath(), { QStringLiteral("--refresh"), path });
    process.waitForFinished(-1);
    QList<double> values;
    for (const QByteArray &field : process.readAllStandardOutput().simplified().split(' '))
        values << field.toDouble();
    return values;
}

// 2. The file with attachments: the same household, and files of 2 MB on as many assets as
// it takes (a receipt scan, a photo each) until total bytes are kept.
bool addAttachments(const QString &dataFile, const QString &folder, qint64 total, int assets)
{
    constexpr qint64 kEach = 2 * 1000 * 1000;
    const QString source = folder + QStringLiteral("/scan.jpg");
    if (!writeRandomFile(source, kEach, 3))
        return false;
    CADODataBase db;
    if (!db.Open(dataFile))
        return false;
    // Assets all over the list have some, not only its first ones.
    int k = 0;
    for (qint64 kept = 0; kept < total; kept += kEach, ++k) {
        const int asset = 1 + int((qint64(k) * 97) % assets);
        if (Attachments::add(db, source, 1, asset).problem != Attachments::Problem::None)
            return false;
    }
    QFile::remove(source);
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc > 2 && qstrcmp(argv[1], "--refresh") == 0) {
        BenchUtil::offscreenWithOwnSettings(QDir::tempPath());
        QApplication app(argc, argv);
        return refreshChild(QString::fromLocal8Bit(argv[2]));
    }
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    auto option = [&](const char *name, qint64 fallback) {
        const qsizetype at = args.indexOf(QLatin1String(name));
        return at > 0 && at + 1 < args.size() ? args[at + 1].toLongLong() : fallback;
    };
    const qint64 fileBytes = option("--file-mb", 200) * 1000 * 1000;
    const qint64 totalBytes = option("--total-mb", 2048) * 1024 * 1024;
    const int assets = int(option("--assets", 100000));

    QTemporaryDir temp;
    const QStorageInfo disk(temp.path());
    std::printf("working in %s (%.1f GB free)\n", qPrintable(temp.path()),
                disk.bytesAvailable() / 1e9);
    if (disk.bytesAvailable() < 3 * totalBytes + 4 * fileBytes) {
        std::fprintf(stderr, "not enough room on the disk for the files this makes\n");
        return 1;
    }
    if (!oneLargeFile(temp.path(), fileBytes))
        return 1;

    // 2. Two folders, the same household; one file gains the attachments.
    const QString plainDir = temp.path() + QStringLiteral("/plain");
    const QString keptDir = temp.path() + QStringLiteral("/kept");
    const QString registry = temp.path() + QStringLiteral("/registry");
    for (const QString &dir : { plainDir, keptDir, registry })
        QDir().mkpath(dir);
    const QString plain = plainDir + QStringLiteral("/HOMEDATA.DAT");
    const QString kept = keptDir + QStringLiteral("/HOMEDATA.DAT");
    if (!BenchUtil::generateData(plain,
                                 { QStringLiteral("--homes"), QStringLiteral("1"),
                                   QStringLiteral("--assets"), QString::number(assets) })
        || !QFile::copy(plain, kept))
        return 1;
    QElapsedTimer filling;
    filling.start();
    if (!addAttachments(kept, temp.path(), totalBytes, assets)) {
        std::fprintf(stderr, "could not add the attachments\n");
        return 1;
    }
    const double fillSeconds = filling.elapsed() / 1000.0;
    std::printf("\n2. %d assets, without and with %.2f GB of attachments (%.1f MB and %.1f MB "
                "files; the attachments took %.0f s to add)\n",
                assets, totalBytes / 1e9, QFile(plain).size() / 1e6, QFile(kept).size() / 1e6,
                fillSeconds);

    qputenv("DOMELIO_REGISTRY_DIR", registry.toUtf8());
    Launch::writeReturningUser();
    const QString startup =
        QCoreApplication::applicationDirPath() + QStringLiteral("/bench_startup");
    auto launch = [&](const QString &dir) {
        return Launch::run(startup, { QStringLiteral("--program") },
                           Launch::environment(dir, registry));
    };
    launch(plainDir);
    launch(keptDir);
    std::vector<Launch::Timing> plainStarts, keptStarts;
    std::vector<double> plainRefresh, keptRefresh, plainRefreshCpu, keptRefreshCpu;
    int rows = 0;
    for (int i = 0; i < 11; ++i) {
        plainStarts.push_back(launch(plainDir));
        keptStarts.push_back(launch(keptDir));
    }
    for (int i = 0; i < 5; ++i) {
        const QList<double> a = refreshIn(plain);
        const QList<double> b = refreshIn(kept);
        plainRefresh.push_back(a.value(0));
        plainRefreshCpu.push_back(a.value(1));
        keptRefresh.push_back(b.value(0));
        keptRefreshCpu.push_back(b.value(1));
        rows = int(b.value(2));
    }
    const auto median = [](std::vector<double> v) {
        std::sort(v.begin(), v.end());
        return v[v.size() / 2];
    };
    const double plainStart = Launch::median(plainStarts, &Launch::Timing::wall);
    const double keptStart = Launch::median(keptStarts, &Launch::Timing::wall);
    std::printf("   start-up to idle, returning user (median of %zu launches each, alternating)\n",
                plainStarts.size());
    std::printf("     without attachments:          %8.1f ms (in process %.1f ms)\n", plainStart,
                Launch::median(plainStarts, &Launch::Timing::inside));
    std::printf("     with the attachments:         %8.1f ms (in process %.1f ms)   %5.2fx "
                "(goal: at most 1.1x)\n",
                keptStart, Launch::median(keptStarts, &Launch::Timing::inside),
                keptStart / plainStart);
    std::printf("   Home Inventory refresh, %d rows (median of 5 processes x 5 refreshes)\n", rows);
    std::printf("     without attachments:          %8.1f ms wall %8.1f ms CPU\n",
                median(plainRefresh), median(plainRefreshCpu));
    std::printf("     with the attachments:         %8.1f ms wall %8.1f ms CPU   %5.2fx wall, "
                "%5.2fx CPU (goal: at most 1.1x)\n",
                median(keptRefresh), median(keptRefreshCpu),
                median(keptRefresh) / median(plainRefresh),
                median(keptRefreshCpu) / median(plainRefreshCpu));

    // 3. The backup of the file with the attachments.
    const QString shellTarget = temp.path() + QStringLiteral("/shell.dat");
    const QString target = temp.path() + QStringLiteral("/Domelio Backup.dat");
    CADODataBase db;
    if (!db.Open(kept))
        return 1;
    bool ok = true;
    std::vector<double> shellTimes, backupTimes;
    for (int i = 0; i < 3; ++i) {
        QFile::remove(shellTarget);
        shellTimes.push_back(BenchUtil::medianMs(1, [&] {
            BenchUtil::runShell({ kept, QStringLiteral(".backup '%1'").arg(shellTarget) });
        }));
        QFile::remove(shellTarget);
        QFile::remove(target);
        backupTimes.push_back(
            BenchUtil::medianMs(1, [&] { ok = ok && DataFileBackup::backup(db, target).ok; }));
        ok = ok && QFile(target).size() == QFile(kept).size();
        QFile::remove(target);
    }
    std::printf(
        "\n3. backup of the file with the attachments (%.1f MB; median of 3, alternating)\n",
        QFile(kept).size() / 1e6);
    std::printf("   sqlite3 shell .backup:          %8.1f ms\n", median(shellTimes));
    std::printf("   Backup & Restore's backup:      %8.1f ms   %5.2fx (goal: at most 1.2x)%s\n",
                median(backupTimes), median(backupTimes) / median(shellTimes),
                ok ? "" : "   (a backup FAILED)");
    return ok ? 0 : 1;
}
