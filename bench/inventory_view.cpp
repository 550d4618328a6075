// bench_inventory_view: the Home Inventory view itself (offscreen, on screen) over a home with
// 100,000 assets: its refresh against the sqlite3 shell running the same SELECT, the generic
// filler alone for scale, the category menu, and peak memory, all in one run.
#include "views/inventory_view.h"
#include "bench_host.h"
#include "bench_util.h"
#include "controls/auto_list_ctrl.h"
#include "controls/list_model.h"
#include "db/ado_database.h"
#include "db/datafile.h"
#include "db/lookups.h"
#include "platform/settings_key.h"
#include "records/home.h"

#include <QApplication>
#include <QMenu>
#include <QProcess>
#include <QTemporaryDir>

namespace {

// Child mode: one side in a process of its own, so each meets a fresh heap as the program
// does and its peak memory is its own. Prints "wall cpu peak [menuWall menuCpu entries rows]".
int runChild(const QString &side, const QString &path)
{
    CADODataBase db;
    if (!db.Open(path)) {
        std::fprintf(stderr, "%s\n", qPrintable(db.GetLastError()));
        return 1;
    }
    if (side == QLatin1String("filler")) {
        CListModel bare;
        bare.InsertColumn(0, QStringLiteral("Items"));
        const BenchUtil::Times filler = BenchUtil::measure(5, [&] {
            Lookups::fillList(db, bare, QStringLiteral("Assets"), QStringLiteral("AssetId"), 0,
                              QStringLiteral("WHERE HomeId=1 "),
                              QStringLiteral("CurrentValue, Picture2, CategoryId"));
        });
        std::printf("%f %f %f\n", filler.wall, filler.cpu, BenchUtil::peakMiB());
        return 0;
    }
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
        QApplication::processEvents(); // the list's column sizing and first paint
    });
    const BenchUtil::Times menu = BenchUtil::measure(5, [&] {
        view.ShowCategoryMenu();
        view.categoryMenu()->hide();
    });
    std::printf("%f %f %f %f %f %d %d %f\n", refresh.wall, refresh.cpu, BenchUtil::peakMiB(),
                menu.wall, menu.cpu, int(view.CategoryMenuEntries().size()),
                view.list()->GetItemCount(), view.inventoryTotal());
    return 0;
}

QList<double> child(const QString &side, const QString &path)
{
    QProcess process;
    process.start(QCoreApplication::applicationFilePath(),
                  { QStringLiteral("--child"), side, path });
    process.waitForFinished(-1);
    QList<double> values;
    for (const QByteArray &field : process.readAllStandardOutput().simplified().split(' '))
        values << field.toDouble();
    return values;
}

} // namespace

int main(int argc, char **argv)
{
    QTemporaryDir temp;
    BenchUtil::offscreenWithOwnSettings(temp.path());
    QApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.value(0) == QLatin1String("--child"))
        return runChild(args.value(1), args.value(2));
    QString path = args.value(0);
    const int assets = 100000;
    if (path.isEmpty()) {
        path = temp.path() + QStringLiteral("/HOMEDATA.DAT");
        if (!BenchUtil::generateData(path, { QStringLiteral("--assets"), QString::number(assets) }))
            return 1;
    }
    const QString select =
        QStringLiteral("SELECT AssetId, Description,CurrentValue, Picture2, CategoryId "
                       "FROM Assets WHERE HomeId=1  ORDER BY Description;");
    const BenchUtil::Times shell = BenchUtil::measure(
        5,
        [&] {
            BenchUtil::runShell({ path, select });
        },
        true);
    const QList<double> filler = child(QStringLiteral("filler"), path);
    const QList<double> view = child(QStringLiteral("view"), path);
    if (filler.size() < 3 || view.size() < 8) {
        std::fprintf(stderr, "a child run failed\n");
        return 1;
    }

    std::printf("Home Inventory view, %d assets in one home, offscreen (median of 5; wall ms, "
                "CPU ms)\n",
                int(view[6]));
    std::printf("  sqlite3 shell, same SELECT to /dev/null: %8.1f %8.1f\n", shell.wall, shell.cpu);
    std::printf("  generic filler into a bare model:        %8.1f %8.1f  (%.2fx wall, %.2fx CPU)\n",
                filler[0], filler[1], filler[0] / shell.wall, filler[1] / shell.cpu);
    std::printf("  view refresh (fill, total, paint):       %8.1f %8.1f  (%.2fx wall, %.2fx CPU; "
                "goal at most 1.5x)\n",
                view[0], view[1], view[0] / shell.wall, view[1] / shell.cpu);
    std::printf("  category menu (%2d entries):              %8.1f %8.1f  (goal under 100 ms)\n",
                int(view[5]), view[3], view[4]);
    std::printf("  inventory total: %.2f\n", view[7]);
    std::printf("  peak memory: filler %.1f MiB, view %.1f MiB (goal under 150 MiB)\n", filler[2],
                view[2]);
    return 0;
}
