// bench_scaling: how the program's cost grows with a household's size. For households of 1,000,
// 10,000, 100,000 and 1,000,000 assets (locations, categories, tasks and loans in proportion) it
// times each step beside its baseline, measured in the same run, and prints one table: time,
// baseline, ratio and the program's peak memory; then, per step, the growth from one size to the
// next per tenfold data, marked where it is worse than linear.
//
//   bench_scaling [--sizes 1000,10000,...] [--keep DIR]
//
// --keep DIR keeps each generated data file as DIR/<size>/HOMEDATA.DAT, and uses a file already
// there instead of generating it again. Every step of the program runs in a process of its own
// (this program in a child mode, or bench_startup for the start-ups), so each size and step has
// its own peak resident memory (VmHWM).
#include "bench_host.h"
#include "bench_util.h"
#include "controls/auto_list_ctrl.h"
#include "db/ado_database.h"
#include "db/datafile.h"
#include "device_bench.h"
#include "exchange/backup_restore.h"
#include "exchange/inventory_export.h"
#include "format/string_table.h"
#include "launch.h"
#include "plain_sqlite.h"
#include "records/warranties.h"
#include "views/inventory_view.h"
#include "views/today_view.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QMenu>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

enum StepId {
    StartReturning,
    StartChanged,
    StartWorthShown,
    InventoryRefresh,
    CategoryMenu,
    TodayLines,
    CsvExport,
    Backup,
    Restore,
    ToDevice,
    ToDesktop,
    StepCount
};

struct StepInfo
{
    const char *child; // the child mode's name
    const char *name;
    const char *baseline;
};

const StepInfo kSteps[StepCount] = {
    { "", "start-up, returning user", "plain window, same look (launch to idle)" },
    { "", "start-up, file changed", "plain window, same look (launch to idle)" },
    { "", "  the same, to the worth shown", "plain window, same look (launch to idle)" },
    { "inventory", "Home Inventory refresh", "sqlite3 shell, same SELECT" },
    { "menu", "category menu", "sqlite3 shell, its two SELECTs" },
    { "today", "Today lines (equity + lines)", "sqlite3 shell, the four aggregates" },
    { "csv", "CSV export (to /dev/null)", "sqlite3 -csv, same join" },
    { "backup", "backup", "sqlite3 shell .backup" },
    { "restore", "restore", "file copy + integrity_check" },
    { "to-device", "device copy, to device", "ATTACH + INSERT ... SELECT" },
    { "to-desktop", "device copy, to desktop", "ATTACH + INSERT ... SELECT" },
};

// The statements the baselines run through the shell, the same the program runs.
const QString kInventorySelect =
    QStringLiteral("SELECT AssetId, Description,CurrentValue, Picture2, CategoryId "
                   "FROM Assets WHERE HomeId=1  ORDER BY Description;");
const QString kMenuSelects =
    QStringLiteral("SELECT CategoryId, COUNT(*) FROM Assets WHERE HomeId=1 AND CategoryId>0 "
                   "GROUP BY CategoryId;"
                   "SELECT CategoryId, Description FROM Categories WHERE CategoryType=1 "
                   "ORDER BY Description;");
// The Today lines' four: active tasks, the inventory's worth, the loans, the warranties.
QString todayAggregates()
{
    return QStringLiteral("SELECT COUNT(*) FROM Tasks WHERE Status=1 ;"
                          "SELECT TOTAL(CurrentValue) FROM Assets WHERE HomeId=1;"
                          "SELECT TOTAL(Principal) FROM Loans WHERE AssetId=1 AND AssetType=1;")
        + Warranties::countStatement(1, QDate::currentDate());
}

QString reportQuery()
{
    return QString::asprintf(Strings::load(Strings::InventoryReportQuery).toLatin1().constData(),
                             1);
}

// The files of one size's run, under work; the data file itself may live elsewhere (--keep).
struct Files
{
    QString data; // HOMEDATA.DAT
    QString work;
    QString backup() const { return work + QStringLiteral("/Domelio Backup.dat"); }
    QString restored() const { return work + QStringLiteral("/restored.dat"); }
    QString device() const { return work + QStringLiteral("/device"); }
    QString desktopCopy() const { return work + QStringLiteral("/desktop-copy.dat"); }
};

int runsFor(int assets)
{
    return assets <= 10000 ? 5 : 3;
}

// Child mode: one step of the program, runs times, in a process of its own so its peak memory is
// its own. Prints "median-wall-ms peak-MiB".
int runChild(const QString &step, const Files &files, int runs)
{
    qputenv("DOMELIO_REGISTRY_DIR",
            QFile::encodeName(files.work + QStringLiteral("/child-registry")));
    auto fail = [](const QString &what) {
        std::fprintf(stderr, "%s\n", qPrintable(what));
        return 1;
    };
    double wall = 0;
    if (step == QLatin1String("inventory") || step == QLatin1String("menu")
        || step == QLatin1String("today")) {
        BenchHost host;
        if (!host.db.Open(files.data) || !host.SetCurrentHome(1))
            return fail(host.db.GetLastError());
        if (step == QLatin1String("today")) {
            CTodayView *view = showTodayView(host);
            // No other view filled, as at start or a home switch: the equity and both figures
            // come from their aggregate statements.
            wall = BenchUtil::medianMs(runs, [&] {
                view->ComputeEquity();
                view->UpdateLines();
                QApplication::processEvents();
            });
        } else {
            CInventoryView view(host);
            view.resize(640, 480);
            view.show();
            QApplication::processEvents();
            if (step == QLatin1String("inventory")) {
                wall = BenchUtil::medianMs(runs, [&] {
                    view.Refresh(0);
                    QApplication::processEvents(); // the list's column sizing and first paint
                });
                if (view.list()->GetItemCount() == 0)
                    return fail(QStringLiteral("the inventory is empty"));
            } else {
                wall = BenchUtil::medianMs(runs, [&] {
                    view.ShowCategoryMenu();
                    view.categoryMenu()->hide();
                });
                if (view.CategoryMenuEntries().empty())
                    return fail(QStringLiteral("the category menu is empty"));
            }
        }
    } else if (step == QLatin1String("csv")) {
        CADODataBase db;
        if (!db.Open(files.data))
            return fail(db.GetLastError());
        const InventoryExport::Report report = wholeInventoryReport(db);
        bool ok = true;
        wall = BenchUtil::medianMs(runs, [&] {
            QFile out(QStringLiteral("/dev/null"));
            ok = ok && out.open(QIODevice::WriteOnly) && InventoryExport::write(db, report, out);
        });
        if (!ok)
            return fail(QStringLiteral("the export failed"));
    } else if (step == QLatin1String("backup") || step == QLatin1String("restore")) {
        const bool backup = step == QLatin1String("backup");
        CADODataBase db;
        if (!db.Open(backup ? files.data : files.restored()))
            return fail(db.GetLastError());
        bool ok = true;
        wall = BenchUtil::medianMs(runs, [&] {
            if (backup) {
                QFile::remove(files.backup());
                ok = ok && DataFileBackup::backup(db, files.backup()).ok;
            } else {
                ok = ok && DataFileBackup::restore(db, files.backup()).ok;
            }
        });
        if (!ok)
            return fail(QStringLiteral("the %1 failed").arg(step));
    } else if (step == QLatin1String("to-device") || step == QLatin1String("to-desktop")) {
        const bool toDevice = step == QLatin1String("to-device");
        CSyncService service;
        if (!DeviceBench::prepare(files.device(), service))
            return 1;
        CADODataBase desktop;
        if (!desktop.Open(toDevice ? files.data : files.desktopCopy()))
            return fail(desktop.GetLastError());
        DeviceFilter::Result result = DeviceFilter::Ok;
        wall = BenchUtil::medianMs(runs, [&] {
            const DeviceFilter::Result r = service.Copy(toDevice ? Sync::Direction::DesktopToDevice
                                                                 : Sync::Direction::DeviceToDesktop,
                                                        desktop, DeviceBench::devicePath());
            if (r != DeviceFilter::Ok)
                result = r;
        });
        CeRapiUninit();
        if (result != DeviceFilter::Ok)
            return fail(QStringLiteral("the device copy failed: %1").arg(int(result)));
    } else {
        return fail(QStringLiteral("no such step: %1").arg(step));
    }
    std::printf("%f %f\n", wall, BenchUtil::peakMiB());
    return 0;
}

struct Measured
{
    double program = 0; // ms
    double baseline = 0; // ms
    double peakMiB = 0;
    bool ok = false;
};

// One step in a child of this program: its median time and peak.
Measured runStepChild(StepId step, const Files &files, int runs)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(),
                { QStringLiteral("--child"), QLatin1String(kSteps[step].child), files.data,
                  files.work, QString::number(runs) });
    child.waitForFinished(-1);
    const QList<QByteArray> fields = child.readAllStandardOutput().simplified().split(' ');
    Measured m;
    m.ok =
        child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0 && fields.size() == 2;
    if (m.ok) {
        m.program = fields[0].toDouble();
        m.peakMiB = fields[1].toDouble();
    } else {
        std::fprintf(stderr, "step \"%s\" failed\n", kSteps[step].name);
    }
    return m;
}

// Generates (or, kept from before, reuses) the data file of a household of assets.
bool prepareData(const QString &path, int assets)
{
    if (QFile::exists(path)) {
        std::fprintf(stderr, "using the kept %s\n", qPrintable(path));
        return true;
    }
    // In proportion, per 1,000 assets: 12 locations, 1 added category, 10 tasks, 2 loans.
    const int thousands = std::max(1, assets / 1000);
    QElapsedTimer clock;
    clock.start();
    const bool ok = BenchUtil::generateData(
        path,
        { QStringLiteral("--homes"), QStringLiteral("1"), QStringLiteral("--assets"),
          QString::number(assets), QStringLiteral("--areas"), QString::number(12 * thousands),
          QStringLiteral("--categories"), QString::number(thousands), QStringLiteral("--tasks"),
          QString::number(10 * thousands), QStringLiteral("--loans"),
          QString::number(2 * thousands) });
    std::fprintf(stderr, "generated %d assets in %.1f s\n", assets, clock.nsecsElapsed() / 1e9);
    return ok;
}

// All steps for one size, in order; start-ups first, while the file is as generated.
std::vector<Measured> measureSize(int assets, const Files &files)
{
    std::vector<Measured> results(StepCount);
    const int runs = runsFor(assets);

    // Start-up: bench_startup's child modes, the program and the plain window alternating.
    const QString registry = files.work + QStringLiteral("/registry");
    QDir().mkpath(registry);
    qputenv("DOMELIO_REGISTRY_DIR", QFile::encodeName(registry));
    Launch::writeReturningUser();
    const QProcessEnvironment env =
        Launch::environment(QFileInfo(files.data).absolutePath(), registry);
    const QString startup =
        QCoreApplication::applicationDirPath() + QStringLiteral("/bench_startup");
    auto launch = [&](const char *mode) {
        return Launch::run(startup, { QLatin1String(mode) }, env);
    };
    launch("--program"); // warms the file cache and keeps the worth for the next start
    launch("--plain");
    std::vector<Launch::Timing> plain, returning, changed;
    for (int i = 0; i < runs; ++i) {
        plain.push_back(launch("--plain"));
        returning.push_back(launch("--program"));
        Launch::forgetInventoryWorth();
        changed.push_back(launch("--program"));
    }
    auto peak = [](const std::vector<Launch::Timing> &launches) {
        double most = 0;
        for (const Launch::Timing &t : launches)
            most = std::max(most, t.peakMiB);
        return most;
    };
    const double plainWall = Launch::median(plain, &Launch::Timing::wall);
    results[StartReturning] = { Launch::median(returning, &Launch::Timing::wall), plainWall,
                                peak(returning), true };
    results[StartChanged] = { Launch::median(changed, &Launch::Timing::wall), plainWall,
                              peak(changed), true };
    // The worth a changed file needs is added up after the window's first paint: launch until
    // its line shows.
    std::vector<Launch::Timing> shown = changed;
    for (Launch::Timing &t : shown)
        t.wall += t.worthShown - t.inside;
    results[StartWorthShown] = { Launch::median(shown, &Launch::Timing::wall), plainWall,
                                 peak(changed), true };

    auto shell = [&](const QStringList &arguments) {
        return BenchUtil::medianMs(runs, [&] { BenchUtil::runShell(arguments); });
    };
    auto step = [&](StepId id, double baseline) {
        results[id] = runStepChild(id, files, runs);
        results[id].baseline = baseline;
    };
    step(InventoryRefresh, shell({ files.data, kInventorySelect }));
    step(CategoryMenu, shell({ files.data, kMenuSelects }));
    step(TodayLines, shell({ files.data, todayAggregates() }));
    step(CsvExport, shell({ QStringLiteral("-csv"), files.data, reportQuery() }));

    const QString shellBackup = files.work + QStringLiteral("/shell-backup.dat");
    step(Backup, BenchUtil::medianMs(runs, [&] {
             QFile::remove(shellBackup);
             BenchUtil::runShell({ files.data, QStringLiteral(".backup '%1'").arg(shellBackup) });
         }));
    QFile::remove(shellBackup);
    QFile::copy(files.data, files.restored());
    const QString plainCopy = files.work + QStringLiteral("/copy.dat");
    bool checked = true;
    const double copyAndCheck = BenchUtil::medianMs(runs, [&] {
        QFile::remove(plainCopy);
        checked = checked && QFile::copy(files.backup(), plainCopy)
            && PlainSqlite::integrityOk(plainCopy);
    });
    if (!checked)
        std::fprintf(stderr, "the backup's plain copy failed its integrity check\n");
    QFile::remove(plainCopy);
    step(Restore, copyAndCheck);
    QFile::remove(files.restored());

    const QString plainTarget = files.work + QStringLiteral("/plain.cdb");
    step(ToDevice, BenchUtil::medianMs(runs, [&] {
             QFile::remove(plainTarget);
             PlainSqlite::copyTables(files.data, plainTarget, true);
         }));
    QFile::remove(plainTarget);
    QFile::copy(files.data, files.desktopCopy());
    const double plainToDesktop = BenchUtil::medianMs(runs, [&] {
        PlainSqlite::copyTables(DeviceBench::deviceFile(files.device()), files.desktopCopy(),
                                false);
    });
    step(ToDesktop, plainToDesktop);
    return results;
}

QString thousands(int n)
{
    return QLocale(QLocale::English).toString(n);
}

} // namespace

int main(int argc, char **argv)
{
    if (argc > 1 && qstrcmp(argv[1], "--child") == 0) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        QApplication app(argc, argv);
        const QStringList args = app.arguments();
        if (args.size() < 6)
            return 2;
        return runChild(args[2], { args[3], args[4] }, args[5].toInt());
    }

    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    std::vector<int> sizes { 1000, 10000, 100000, 1000000 };
    QString keep;
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--sizes") && i + 1 < args.size()) {
            sizes.clear();
            for (const QString &size : args[++i].split(QLatin1Char(','), Qt::SkipEmptyParts)) {
                bool ok = false;
                const int n = size.trimmed().toInt(&ok);
                if (!ok || n < 1) {
                    std::fprintf(stderr, "not a size: %s\n", qPrintable(size));
                    return 2;
                }
                sizes.push_back(n);
            }
            std::sort(sizes.begin(), sizes.end());
        } else if (args[i] == QLatin1String("--keep") && i + 1 < args.size()) {
            keep = args[++i];
        } else {
            std::fputs("usage: bench_scaling [--sizes 1000,10000,100000,1000000] [--keep DIR]\n",
                       stderr);
            return 2;
        }
    }
    if (sizes.empty())
        return 2;

    QTemporaryDir temp;
    std::vector<std::vector<Measured>> table;
    for (const int assets : sizes) {
        Files files;
        files.work = temp.path() + QStringLiteral("/%1").arg(assets);
        const QString dataDir = keep.isEmpty()
            ? files.work + QStringLiteral("/data")
            : QDir(keep).absoluteFilePath(QString::number(assets));
        QDir().mkpath(files.work);
        QDir().mkpath(dataDir);
        files.data = dataDir + QStringLiteral("/HOMEDATA.DAT");
        if (!prepareData(files.data, assets))
            return 1;
        QElapsedTimer clock;
        clock.start();
        table.push_back(measureSize(assets, files));
        std::fprintf(stderr, "%s assets measured in %.0f s\n", qPrintable(thousands(assets)),
                     clock.nsecsElapsed() / 1e9);
        QDir(files.work).removeRecursively();
    }

    std::printf("How the cost grows: one home; per 1,000 assets 12 locations, 1 added category, "
                "10 tasks, 2 loans\n"
                "(median of 5 runs up to 10,000 assets, of 3 above; wall ms; peak = the "
                "program's VmHWM in that step's own process)\n\n");
    std::printf("%-10s %-30s %10s %10s %8s %9s  %s\n", "assets", "step", "program", "baseline",
                "ratio", "peak MiB", "baseline is");
    for (size_t s = 0; s < sizes.size(); ++s) {
        for (int step = 0; step < StepCount; ++step) {
            const Measured &m = table[s][step];
            if (!m.ok) {
                std::printf("%-10s %-30s %10s\n", qPrintable(thousands(sizes[s])),
                            kSteps[step].name, "FAILED");
                continue;
            }
            std::printf("%-10s %-30s %10.1f %10.1f %7.2fx %9.1f  %s\n",
                        qPrintable(thousands(sizes[s])), kSteps[step].name, m.program, m.baseline,
                        m.program / m.baseline, m.peakMiB, kSteps[step].baseline);
        }
        std::printf("\n");
    }

    if (sizes.size() > 1) {
        std::printf("growth per tenfold data (time at the larger size / time at the smaller, "
                    "scaled to 10x);\n"
                    "10 is linear, less is fixed cost showing; * marks worse than linear "
                    "(above 12.5)\n\n");
        std::printf("%-30s", "step");
        for (size_t s = 1; s < sizes.size(); ++s)
            std::printf(" %18s",
                        qPrintable(QStringLiteral("%1>%2").arg(thousands(sizes[s - 1]),
                                                               thousands(sizes[s]))));
        std::printf("\n%-30s", "");
        for (size_t s = 1; s < sizes.size(); ++s)
            std::printf(" %9s %8s", "program", "baseline");
        std::printf("\n");
        for (int step = 0; step < StepCount; ++step) {
            std::printf("%-30s", kSteps[step].name);
            for (size_t s = 1; s < sizes.size(); ++s) {
                const Measured &a = table[s - 1][step];
                const Measured &b = table[s][step];
                const double tenfolds = std::log10(double(sizes[s]) / sizes[s - 1]);
                if (!a.ok || !b.ok || tenfolds <= 0) {
                    std::printf(" %9s %8s", "-", "-");
                    continue;
                }
                const double program = std::pow(b.program / a.program, 1.0 / tenfolds);
                const double baseline = std::pow(b.baseline / a.baseline, 1.0 / tenfolds);
                std::printf(" %8.1f%s %8.1f", program, program > 12.5 ? "*" : " ", baseline);
            }
            std::printf("\n");
        }
    }

    const int largest = sizes.back();
    std::printf("\nsteps over 2 s at %s assets:", qPrintable(thousands(largest)));
    bool any = false;
    for (int step = 0; step < StepCount; ++step) {
        const Measured &m = table.back()[step];
        if (m.ok && m.program > 2000) {
            std::printf("%s %s (%.1f s)", any ? "," : "", kSteps[step].name, m.program / 1000);
            any = true;
        }
    }
    std::printf("%s\n", any ? "" : " none");
    double peak = 0;
    for (const Measured &m : table.back())
        peak = std::max(peak, m.peakMiB);
    std::printf("highest peak at %s assets: %.1f MiB\n", qPrintable(thousands(largest)), peak);
    return 0;
}
