// bench_maintenance: maintenance plans at the program's start, with 10,000 plans (one
// completion each) in a file of 100,000 assets.
//
// - The due check a start runs (Maintenance::reconcile): the first after the plans came due,
//   which makes their tasks, then the everyday one with nothing to do; beside the same check on
//   a copy of the file without the plans' indexes.
// - The Today line's counts, and the Maintenance dialog's list of the home's plans.
// - Start-up to an idle window (bench_startup's child, launched from outside) with that file,
//   with the same file without plans, and the plain window of the same look.
#include "records/maintenance.h"
#include "bench_util.h"
#include "db/ado_database.h"
#include "db/ado_recordset.h"
#include "launch.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

constexpr int kAssets = 100000;
constexpr int kPlans = 10000;

bool generate(const QString &file, int plans)
{
    return BenchUtil::generateData(file,
                                   { QStringLiteral("--homes"), QStringLiteral("1"),
                                     QStringLiteral("--assets"), QString::number(kAssets),
                                     QStringLiteral("--plans"), QString::number(plans) });
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir temp;
    const QString withPlans = temp.path() + QStringLiteral("/plans");
    const QString withoutPlans = temp.path() + QStringLiteral("/none");
    const QString registry = temp.path() + QStringLiteral("/registry");
    for (const QString &folder : { withPlans, withoutPlans, registry })
        QDir().mkpath(folder);
    const QString file = withPlans + QStringLiteral("/HOMEDATA.DAT");
    const QString bare = temp.path() + QStringLiteral("/without-indexes.dat");
    if (!generate(file, kPlans) || !generate(withoutPlans + QStringLiteral("/HOMEDATA.DAT"), 0))
        return 1;

    const QDate today = QDate::currentDate();
    CADODataBase db;
    if (!db.Open(file)) {
        std::fprintf(stderr, "%s\n", qPrintable(db.GetLastError()));
        return 1;
    }
    // The first start after the plans came due: it makes their tasks.
    Maintenance::Outcome first;
    const double making =
        BenchUtil::medianMs(1, [&] { first = Maintenance::reconcile(db, today); });
    db.Close();
    // Every start after it: nothing to do, read from the indexes alone. A start opens the file
    // afresh, with nothing of it in the engine's cache: so does each run here (the opening and
    // the first read of the schema, which any start pays, timed apart and taken off).
    const auto opened = [](const QString &path, const std::function<void(CADODataBase &)> &work) {
        CADODataBase fresh;
        if (fresh.Open(path))
            work(fresh);
    };
    const auto schema = [](CADODataBase &fresh) {
        CADORecordset rs(fresh);
        rs.Open(QStringLiteral("SELECT HomeId FROM Homes WHERE HomeId=1;"));
    };
    Maintenance::Outcome everyday;
    // Each run beside an opening alone, one after the other, so that both meet the same load.
    const auto check = [&](const QString &path) {
        std::vector<double> times;
        for (int i = 0; i < 101; ++i) {
            const double open = BenchUtil::medianMs(1, [&] { opened(path, schema); });
            const double both = BenchUtil::medianMs(1, [&] {
                opened(path, [&](CADODataBase &fresh) {
                    schema(fresh);
                    everyday = Maintenance::reconcile(fresh, today);
                });
            });
            times.push_back(std::max(0.0, both - open));
        }
        return BenchUtil::spread(std::move(times));
    };
    const BenchUtil::Spread atStart = check(file);
    db.Open(file);
    const BenchUtil::Spread warm =
        BenchUtil::spreadMs(201, [&] { Maintenance::reconcile(db, today); });
    db.Close();

    QFile::remove(bare);
    CADODataBase plain;
    if (!QFile::copy(file, bare) || !plain.Open(bare)
        || !plain.Execute(QStringLiteral("DROP INDEX SchedulesByTask;"))
        || !plain.Execute(QStringLiteral("DROP INDEX SchedulesWaking;"))
        || !plain.Execute(QStringLiteral("DROP INDEX SchedulesByDoneTask;"))) {
        std::fprintf(stderr, "%s\n", qPrintable(plain.GetLastError()));
        return 1;
    }
    plain.Close();
    const BenchUtil::Spread scanned = check(bare);

    db.Open(file);
    Maintenance::DueCounts counts;
    const BenchUtil::Spread line =
        BenchUtil::spreadMs(201, [&] { counts = Maintenance::dueCounts(db, 1, today); });
    size_t listed = 0;
    const BenchUtil::Spread list =
        BenchUtil::spreadMs(11, [&] { listed = Maintenance::rows(db, 1).size(); });
    db.Close();

    // Start-up, as a returning user, launched from outside as bench_startup does.
    qputenv("DOMELIO_REGISTRY_DIR", registry.toUtf8());
    Launch::writeReturningUser();
    const QString startup =
        QCoreApplication::applicationDirPath() + QStringLiteral("/bench_startup");
    const QProcessEnvironment planned = Launch::environment(withPlans, registry);
    const QProcessEnvironment unplanned = Launch::environment(withoutPlans, registry);
    const auto launch = [&](const char *mode, const QProcessEnvironment &env) {
        return Launch::run(startup, { QString::fromLatin1(mode) }, env);
    };
    launch("--plain", planned);
    launch("--program", planned);
    launch("--program", unplanned);
    std::vector<Launch::Timing> plainRuns, plansRuns, noneRuns;
    for (int i = 0; i < 11; ++i) {
        plainRuns.push_back(launch("--plain", planned));
        plansRuns.push_back(launch("--program", planned));
        noneRuns.push_back(launch("--program", unplanned));
    }
    const auto wall = [](const std::vector<Launch::Timing> &runs) {
        return Launch::median(runs, &Launch::Timing::wall);
    };

    std::printf("Maintenance plans: %d plans (one completion each) in a file of %d assets "
                "(ms; median and worst)\n",
                kPlans, kAssets);
    std::printf("  due check at start, nothing to do:        median %6.3f  worst %6.3f  "
                "(goal: under 5 ms)\n",
                atStart.median, atStart.worst);
    std::printf("  the same without the plans' indexes:      median %6.3f  worst %6.3f  (%.0fx)\n",
                scanned.median, scanned.worst, scanned.median / atStart.median);
    std::printf("  the check again, the file in the cache:   median %6.3f  worst %6.3f\n",
                warm.median, warm.worst);
    std::printf("  the first check after they came due:      %6.1f (made %d tasks)\n", making,
                first.made);
    std::printf("  the Today line's counts:                  median %6.3f  worst %6.3f  (\"%s\")\n",
                line.median, line.worst, qPrintable(Maintenance::todayLine(counts)));
    std::printf("  the Maintenance dialog's list (%zu plans): median %6.1f  worst %6.1f\n", listed,
                list.median, list.worst);
    std::printf("start-up to an idle main window, returning user, offscreen, median of %zu "
                "launches\n",
                plansRuns.size());
    std::printf("  plain window, same look:          %6.1f ms\n", wall(plainRuns));
    std::printf("  Domelio, %d assets, no plans: %6.1f ms  %5.2fx the plain window\n", kAssets,
                wall(noneRuns), wall(noneRuns) / wall(plainRuns));
    std::printf("  Domelio, the same and %d plans: %5.1f ms  %5.2fx the plain window  "
                "(goal: at most 1.3x)\n",
                kPlans, wall(plansRuns), wall(plansRuns) / wall(plainRuns));
    return everyday.changed() ? 1 : 0;
}
