// bench_device_copy: Sync. with Device's copy of the seven tables through the real filter
// (loaded with dlopen, as the program loads it), in each direction, against a plain SQLite
// ATTACH + INSERT ... SELECT of the same tables measured in the same run.
//
//   bench_device_copy [data file]     (default: a generated file with 100,000 assets)
#include "bench_util.h"
#include "db/ado_database.h"
#include "db/datafile.h"
#include "exchange/sync_session.h"
#include "platform/device_folder.h"
#include "platform/device_rapi.h"
#include "platform/settings_key.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <sqlite3.h>

namespace {

const char *const kTables[] = { "Areas", "Assets",   "Categories", "Homes",
                                "Loans", "TableIds", "Tasks" };

bool exec(sqlite3 *db, const QString &sql)
{
    char *message = nullptr;
    if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &message) == SQLITE_OK)
        return true;
    std::fprintf(stderr, "%s\n", message ? message : "error");
    sqlite3_free(message);
    return false;
}

// The plain copy: the target opened, the source attached, every table filled by INSERT ...
// SELECT in one transaction. A new target gets the source's tables first and their indexes
// after the rows, the quickest order.
bool plainCopy(const QString &source, const QString &target, bool fresh)
{
    sqlite3 *db = nullptr;
    sqlite3_open(QFile::encodeName(target).constData(), &db);
    bool ok = exec(db, QStringLiteral("PRAGMA synchronous=FULL;"))
        && exec(db, QStringLiteral("ATTACH '%1' AS src;").arg(source))
        && exec(db, QStringLiteral("BEGIN;"));
    QStringList indexes;
    for (const char *table : kTables) {
        const QString name = QString::fromLatin1(table);
        if (fresh) {
            sqlite3_stmt *stmt = nullptr;
            sqlite3_prepare_v2(
                db,
                "SELECT type, sql FROM src.sqlite_master WHERE tbl_name=?1 AND sql IS NOT NULL;",
                -1, &stmt, nullptr);
            sqlite3_bind_text(stmt, 1, table, -1, SQLITE_STATIC);
            while (sqlite3_step(stmt) == SQLITE_ROW) {
                const QString sql =
                    QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 1)));
                if (qstrcmp(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 0)), "table")
                    == 0)
                    ok = ok && exec(db, sql);
                else
                    indexes << sql;
            }
            sqlite3_finalize(stmt);
        } else {
            ok = ok && exec(db, QStringLiteral("DELETE FROM main.%1;").arg(name));
        }
        ok = ok && exec(db, QStringLiteral("INSERT INTO main.%1 SELECT * FROM src.%1;").arg(name));
    }
    for (const QString &index : indexes)
        ok = ok && exec(db, index);
    ok = ok && exec(db, QStringLiteral("COMMIT;"));
    sqlite3_close(db);
    return ok;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir temp;
    const QString root = temp.path();
    QString data = app.arguments().value(1);
    if (data.isEmpty()) {
        data = root + QStringLiteral("/HOMEDATA.DAT");
        if (!BenchUtil::generateData(data, { QStringLiteral("--assets"), QStringLiteral("100000") }))
            return 1;
    }

    // A private registry and device, the service registered in the build's service folder.
    QDir(root).mkpath(QStringLiteral("registry"));
    QDir(root).mkpath(QStringLiteral("device/My Documents"));
    qputenv("DOMELIO_REGISTRY_DIR", QFile::encodeName(root + QStringLiteral("/registry")));
    qputenv("DOMELIO_DEVICE_DIR", QFile::encodeName(root + QStringLiteral("/device")));
    {
        CSettingsKey hklm(HKEY_LOCAL_MACHINE);
        hklm.Create(HKEY_LOCAL_MACHINE, QLatin1String(Sync::kServiceKey));
        hklm.WriteString(QString(),
                         QCoreApplication::applicationDirPath()
                             + QStringLiteral("/service/CEAppMgr"));
    }
    RAPIINIT init;
    CeRapiInitEx(&init);
    CSyncService service;
    if (service.Load() != CSyncService::Status::Ready) {
        std::fprintf(stderr, "the filter was not found in %s/service\n",
                     qPrintable(QCoreApplication::applicationDirPath()));
        return 1;
    }
    const QString dbPath = QStringLiteral("\\My Documents\\Domelio.cdb");
    const QString deviceFile = root + QStringLiteral("/device/My Documents/Domelio.cdb");
    const QString plainTarget = root + QStringLiteral("/plain.cdb");
    const QString desktopCopy = root + QStringLiteral("/desktop-copy.dat");
    QFile::copy(data, desktopCopy);

    CADODataBase desktop;
    if (!desktop.Open(DataFile::connectionString(data))) {
        std::fprintf(stderr, "%s\n", qPrintable(desktop.GetLastError()));
        return 1;
    }

    const int runs = 5;
    const BenchUtil::Times plainToDevice = BenchUtil::measure(runs, [&] {
        QFile::remove(plainTarget);
        plainCopy(data, plainTarget, true);
    });
    DeviceFilter::Result result = DeviceFilter::Ok;
    const BenchUtil::Times toDevice = BenchUtil::measure(
        runs, [&] { result = service.Copy(Sync::Direction::DesktopToDevice, desktop, dbPath); });
    if (result != DeviceFilter::Ok) {
        std::fprintf(stderr, "desktop to device failed: %d\n", int(result));
        return 1;
    }

    const BenchUtil::Times plainToDesktop =
        BenchUtil::measure(runs, [&] { plainCopy(deviceFile, desktopCopy, false); });
    CADODataBase target;
    target.Open(DataFile::connectionString(desktopCopy));
    const BenchUtil::Times toDesktop = BenchUtil::measure(
        runs, [&] { result = service.Copy(Sync::Direction::DeviceToDesktop, target, dbPath); });
    if (result != DeviceFilter::Ok) {
        std::fprintf(stderr, "device to desktop failed: %d\n", int(result));
        return 1;
    }

    std::printf("device copy of the seven tables (%s, %.1f MiB), median of %d\n", qPrintable(data),
                QFile(data).size() / 1048576.0, runs);
    // Wall time depends on the disk and on whatever else the machine runs; CPU time (both
    // copies run in this process) is printed beside it.
    const auto line = [](const char *direction, const BenchUtil::Times &plain,
                         const BenchUtil::Times &filter) {
        std::printf("  %s: plain ATTACH + INSERT ... SELECT %8.1f ms (%6.1f ms CPU), filter "
                    "%8.1f ms (%6.1f ms CPU), ratio %.2fx wall, %.2fx CPU\n",
                    direction, plain.wall, plain.cpu, filter.wall, filter.cpu,
                    filter.wall / plain.wall, filter.cpu / plain.cpu);
    };
    line("desktop to device", plainToDevice, toDevice);
    line("device to desktop", plainToDesktop, toDesktop);
    std::printf("  goal: at most 1.3x in each direction\n");
    CeRapiUninit();
    return 0;
}
