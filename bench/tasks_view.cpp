// bench_tasks_view: the Tasks view's refresh with 10,000 active entries, and the General Tasks
// pool opening with 10,000 entries of the chosen kind (report and list mode), beside the
// sqlite3 shell running the same SELECT to /dev/null in the same run.
#include "views/tasks_view.h"
#include "bench_host.h"
#include "bench_util.h"
#include "controls/auto_list_ctrl.h"
#include "db/ado_database.h"
#include "db/datafile.h"
#include "platform/settings_key.h"
#include "records/home.h"
#include "sheets/general_tasks_dialog.h"

#include <QApplication>
#include <QProcess>
#include <QTemporaryDir>

namespace {

double shellMs(const QString &path, const QString &select)
{
    return BenchUtil::medianMs(5, [&] { BenchUtil::runShell({ path, select }); });
}

} // namespace

int main(int argc, char **argv)
{
    QTemporaryDir temp;
    BenchUtil::offscreenWithOwnSettings(temp.path());
    QApplication app(argc, argv);
    const int entries = 10000;
    const QString path = temp.path() + QStringLiteral("/HOMEDATA.DAT");
    if (!BenchUtil::generateData(path,
                                 { QStringLiteral("--assets"), QStringLiteral("0"),
                                   QStringLiteral("--tasks"), QString::number(entries) }))
        return 1;

    BenchHost host;
    if (!host.db.Open(path)
        || !host.key.Create(HKEY_CURRENT_USER, QStringLiteral("Software\\Varn Holt\\Domelio"))) {
        std::fprintf(stderr, "cannot open %s\n", qPrintable(path));
        return 1;
    }

    // Every entry picked and still to do.
    host.db.Execute(QStringLiteral("UPDATE Tasks SET Status=1;"));
    const double viewShell =
        shellMs(path, QStringLiteral("SELECT * FROM Tasks WHERE Status<>0  ORDER BY Description;"));
    host.window.resize(640, 480);
    auto *view = new CTasksView(host, &host.window);
    view->resize(640, 480);
    host.window.show();
    view->show();
    const double refresh = BenchUtil::medianMs(7, [&] {
        view->Refresh();
        QApplication::processEvents();
    });
    std::printf("Tasks view refresh, %d rows, %d active\n", view->list()->GetItemCount(),
                view->activeCount());
    std::printf("  sqlite3 shell, same SELECT to /dev/null: %8.1f ms\n", viewShell);
    std::printf("  refresh (list filled and painted):      %8.1f ms   (goal: under 100 ms)\n",
                refresh);

    // The pool: all entries of one kind, in report mode (general) and list mode (shopping).
    for (const bool shopping : { false, true }) {
        host.db.Execute(QStringLiteral("UPDATE Tasks SET TaskType=%1;").arg(shopping ? 2 : 1));
        host.key.WriteNumber(QStringLiteral("JumpToShoppingTasks"), shopping ? 1 : 0);
        const double poolShell =
            shellMs(path,
                    QStringLiteral("SELECT * FROM Tasks WHERE TaskType %1 2 ORDER BY Description;")
                        .arg(shopping ? QStringLiteral("=") : QStringLiteral("<>")));
        int rows = 0;
        const double open = BenchUtil::medianMs(5, [&] {
            CDlgGeneralTasks pool(host.db, host.key, &host.window);
            pool.show();
            QApplication::processEvents();
            rows = pool.list()->GetItemCount();
        });
        std::printf("General Tasks pool opening, %d %s\n", rows,
                    shopping ? "shopping items (list mode)" : "general tasks (report mode)");
        std::printf("  sqlite3 shell, same SELECT to /dev/null: %8.1f ms\n", poolShell);
        std::printf("  dialog built, filled and shown:         %8.1f ms   (goal: under 300 ms)\n",
                    open);
    }
    std::printf("  peak memory: %.1f MiB\n", BenchUtil::peakMiB());
    return 0;
}
