// bench_startup: start-up to an idle main window with a 100,000-asset data file, against an
// empty Qt main window, both offscreen, in one run. Each start is a fresh process (this program
// started again in a child mode), timed from launch until its event loop first runs idle, so
// library loading, fonts and the data file's first read all count; shutdown does not.
#include "app/home_app.h"
#include "app/main_frame.h"
#include "bench_util.h"
#include "platform/settings_key.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMainWindow>
#include <QMenuBar>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

namespace {

// Child modes: start, reach idle, print the in-process milliseconds, exit.
int runChild(const QString &mode, int argc, char **argv)
{
    QElapsedTimer clock;
    clock.start();
    QApplication qapp(argc, argv);
    std::unique_ptr<CHomeApp> app;
    std::unique_ptr<QMainWindow> empty;
    if (mode == QLatin1String("--program")) {
        app = std::make_unique<CHomeApp>();
        if (!app->InitInstance())
            return 2;
    } else {
        empty = std::make_unique<QMainWindow>();
        empty->setWindowTitle(QStringLiteral("Domelio"));
        empty->resize(640, 520);
        // For scale: the same window with one menu, so it renders text and loads the fonts.
        if (mode == QLatin1String("--menu"))
            empty->menuBar()->addMenu(QStringLiteral("&File"));
        empty->show();
    }
    // A zero timer fires once every event queued by the start has been handled.
    QTimer::singleShot(0, &qapp, [&] {
        std::printf("%.3f\n", clock.nsecsElapsed() / 1e6);
        std::fflush(stdout);
        // The program is closed as a person closes it, so it keeps what it keeps for next time.
        if (app && app->mainFrame())
            app->mainFrame()->close();
        QApplication::quit();
    });
    QApplication::exec();
    if (app)
        app->ExitInstance();
    return 0;
}

struct Timing
{
    double wall = 0; // launch until the child reports idle, ms (shutdown is not start-up)
    double inside = 0; // the child's own start to idle, ms
};

Timing launch(const QString &mode, const QProcessEnvironment &env)
{
    QProcess child;
    child.setProcessEnvironment(env);
    QElapsedTimer clock;
    clock.start();
    child.start(QCoreApplication::applicationFilePath(), { mode });
    child.waitForFinished(-1);
    Timing t;
    t.wall = clock.nsecsElapsed() / 1e6;
    t.inside = child.readAllStandardOutput().trimmed().toDouble();
    if (child.exitCode() != 0)
        std::fprintf(stderr, "%s exited with %d: %s\n", qPrintable(mode), child.exitCode(),
                     child.readAllStandardError().constData());
    return t;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc > 1
        && (qstrcmp(argv[1], "--program") == 0 || qstrcmp(argv[1], "--empty") == 0
            || qstrcmp(argv[1], "--menu") == 0))
        return runChild(QString::fromLatin1(argv[1]), argc, argv);

    QCoreApplication app(argc, argv);
    QTemporaryDir temp;
    const QString data = temp.path() + QStringLiteral("/data");
    const QString registry = temp.path() + QStringLiteral("/registry");
    QDir().mkpath(data);
    QDir().mkpath(registry);
    const int assets = 100000;
    const QString file = data + QStringLiteral("/HOMEDATA.DAT");
    if (!BenchUtil::generateData(file, { QStringLiteral("--homes"), QStringLiteral("1"),
                                         QStringLiteral("--assets"), QString::number(assets) }))
        return 1;

    // A returning user: greeted before, home 1 current last time, so no box waits for a person.
    qputenv("DOMELIO_REGISTRY_DIR", registry.toUtf8());
    {
        CSettingsKey key(HKEY_CURRENT_USER);
        key.Create(HKEY_CURRENT_USER, QLatin1String(CHomeApp::kSettingsPath));
        key.WriteNumber(QStringLiteral("InitialGreetingShown_v1.3"), 1);
        key.WriteNumber(QStringLiteral("LastHomeId"), 1);
    }
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("DOMELIO_DATA_DIR"), data);
    env.insert(QStringLiteral("DOMELIO_REGISTRY_DIR"), registry);

    // Warm the file cache for both, then alternate so drift hits both alike.
    launch(QStringLiteral("--empty"), env);
    launch(QStringLiteral("--program"), env);
    std::vector<Timing> empty, menu, program, changed;
    for (int i = 0; i < 9; ++i) {
        empty.push_back(launch(QStringLiteral("--empty"), env));
        menu.push_back(launch(QStringLiteral("--menu"), env));
        program.push_back(launch(QStringLiteral("--program"), env));
    }
    // The same start after the file changed elsewhere (a restore, a sync, another tool): the
    // worth kept at the last close no longer holds, and the assets are added up again.
    for (int i = 0; i < 9; ++i) {
        {
            CSettingsKey key(HKEY_CURRENT_USER);
            key.Open(HKEY_CURRENT_USER, QLatin1String(CHomeApp::kSettingsPath));
            key.DeleteValue(QStringLiteral("InventoryWorth"));
        }
        changed.push_back(launch(QStringLiteral("--program"), env));
    }
    auto median = [](std::vector<Timing> runs, double Timing::*field) {
        std::sort(runs.begin(), runs.end(),
                  [&](const Timing &a, const Timing &b) { return a.*field < b.*field; });
        return runs[runs.size() / 2].*field;
    };
    const double emptyWall = median(empty, &Timing::wall);
    const double programWall = median(program, &Timing::wall);
    const double emptyInside = median(empty, &Timing::inside);
    const double programInside = median(program, &Timing::inside);
    std::printf("start-up to an idle main window, %d assets, offscreen, median of %zu launches\n",
                assets, program.size());
    std::printf("                         launch to idle   start to idle (in process)\n");
    std::printf("  empty Qt main window:  %8.1f ms      %8.1f ms\n", emptyWall, emptyInside);
    std::printf("  (same with one menu:   %8.1f ms      %8.1f ms)\n", median(menu, &Timing::wall),
                median(menu, &Timing::inside));
    std::printf("  Domelio:               %8.1f ms      %8.1f ms\n", programWall, programInside);
    std::printf("  ratio:                 %8.2fx        %8.2fx   (goal: at most 1.5x)\n",
                programWall / emptyWall, programInside / emptyInside);
    const double changedWall = median(changed, &Timing::wall);
    std::printf("  Domelio, file changed since its last run (the assets added up again):\n");
    std::printf("                         %8.1f ms      %8.1f ms   (%.2fx)\n", changedWall,
                median(changed, &Timing::inside), changedWall / emptyWall);
    return 0;
}
