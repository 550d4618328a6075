// bench_locations_view: refreshing the Locations view of a home with 10,000 locations (the list
// filled and shown, the first location's text in the box) against the sqlite3 shell running
// the same SELECT to /dev/null, in one run. Also what a refresh costs while the view is hidden,
// as it is at start-up and on a home switch: it must read nothing until the view is shown.
#include "bench_host.h"
#include "bench_util.h"
#include "controls/auto_list_ctrl.h"
#include "db/ado_database.h"
#include "db/datafile.h"
#include "platform/settings_key.h"
#include "records/home.h"
#include "views/rooms_view.h"

#include <QApplication>
#include <QProcess>
#include <QTemporaryDir>

namespace {

constexpr int kLocations = 10000;

bool fillFile(CADODataBase &db)
{
    CTransaction transaction(db);
    if (!db.Execute(QStringLiteral("INSERT INTO Homes (HomeId, Description) VALUES (1, 'Bench');"))
        || !db.Execute(
            QStringLiteral("INSERT INTO Homes (HomeId, Description) VALUES (2, 'Other');")))
        return false;
    // Two homes share the table, so the view's WHERE has rows to pass over.
    for (int id = 1; id <= 2 * kLocations; ++id) {
        const QString sql =
            QStringLiteral("INSERT INTO Areas (AreaId, HomeId, Description, Length, Width, Height, "
                           "Color1, Color2, Color3, Label1, Notes) VALUES (%1, %2, 'Room %3', "
                           "%4, 144, 96, 16777215, 255, 65280, 'Walls', 'Notes of room %3');")
                .arg(id)
                .arg(id % 2 + 1)
                .arg((id * 7919) % 100000)
                .arg(100 + id % 200);
        if (!db.Execute(sql))
            return false;
    }
    return transaction.commit();
}

} // namespace

int main(int argc, char **argv)
{
    QTemporaryDir temp;
    BenchUtil::offscreenWithOwnSettings(temp.path());
    QApplication app(argc, argv);
    const QString path = temp.path() + QStringLiteral("/HOMEDATA.DAT");
    QString error;
    BenchHost host;
    if (!DataFile::create(path, &error) || !host.db.Open(path) || !fillFile(host.db)
        || !host.SetCurrentHome(1)) {
        std::fprintf(stderr, "could not prepare %s: %s %s\n", qPrintable(path), qPrintable(error),
                     qPrintable(host.db.GetLastError()));
        return 1;
    }

    const QString select = QStringLiteral(
        "SELECT AreaId, Description FROM Areas WHERE HomeId=1 ORDER BY Description;");
    const double shell = BenchUtil::medianMs(5, [&] { BenchUtil::runShell({ path, select }); });

    CRoomsView view(host, &host.window);
    host.window.resize(640, 480);
    view.resize(640, 480);

    // Hidden, as at start-up: the refresh is only remembered.
    const double hidden = BenchUtil::medianMs(5, [&] { view.Refresh(0); });

    host.window.show();
    view.show();
    QApplication::processEvents();
    const double shown = BenchUtil::medianMs(7, [&] {
        view.Refresh(2); // a location of home 1: its text goes into the box too
        QApplication::processEvents(); // the list lays out and paints its rows
    });

    std::printf("Locations view refresh, %d of %d locations listed\n", view.list()->GetItemCount(),
                2 * kLocations);
    std::printf("  sqlite3 shell, same SELECT to /dev/null: %8.1f ms\n", shell);
    std::printf("  refresh of the shown view:              %8.1f ms (goal: under 100 ms)\n", shown);
    std::printf("  refresh of the hidden view:             %8.3f ms (reads nothing until shown)\n",
                hidden);
    std::printf("  ratio to the shell: %.2fx\n", shown / shell);
    return view.list()->GetItemCount() == kLocations ? 0 : 1;
}
