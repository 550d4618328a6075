// bench_inventory_fill: the Home Inventory refresh (the generic list filler over the assets of
// one home) against the sqlite3 shell running the same SELECT to /dev/null, in one run.
#include "bench_util.h"
#include "controls/list_model.h"
#include "db/ado_database.h"
#include "db/datafile.h"
#include "db/lookups.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    QTemporaryDir temp;
    QString path = args.value(0);
    const int assets = 100000;
    if (path.isEmpty()) {
        path = temp.path() + QStringLiteral("/HOMEDATA.DAT");
        if (!BenchUtil::generateData(path, { QStringLiteral("--assets"), QString::number(assets) }))
            return 1;
    }
    const QString select =
        QStringLiteral("SELECT AssetId, Description,CurrentValue, Picture2, CategoryId "
                       "FROM Assets WHERE HomeId=1 ORDER BY Description;");
    const BenchUtil::Times shell = BenchUtil::measure(
        5,
        [&] {
            BenchUtil::runShell({ path, select });
        },
        true);

    CADODataBase db;
    if (!db.Open(path)) {
        std::fprintf(stderr, "%s\n", qPrintable(db.GetLastError()));
        return 1;
    }
    CListModel list;
    list.InsertColumn(0, QStringLiteral("Description"));
    float total = 0;
    const BenchUtil::Times fill = BenchUtil::measure(5, [&] {
        total = Lookups::fillList(db, list, QStringLiteral("Assets"), QStringLiteral("AssetId"), 0,
                                  QStringLiteral("WHERE HomeId=1"),
                                  QStringLiteral("CurrentValue, Picture2, CategoryId"));
    });
    std::printf("inventory refresh, %d rows (total value %.2f)\n", list.GetItemCount(),
                double(total));
    // The machine may be busy with other work: CPU time (the shell's as a child process) is
    // printed beside the wall time, each the median of five runs.
    std::printf("  sqlite3 shell, same SELECT to /dev/null: %8.1f ms wall, %8.1f ms CPU\n",
                shell.wall, shell.cpu);
    std::printf("  fill list model:                        %8.1f ms wall, %8.1f ms CPU\n",
                fill.wall, fill.cpu);
    std::printf("  ratio: %.2fx wall, %.2fx CPU (goal: at most 1.3x)\n", fill.wall / shell.wall,
                fill.cpu / shell.cpu);
    std::printf("  peak memory: %.1f MiB\n", BenchUtil::peakMiB());
    return 0;
}
