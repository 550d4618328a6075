// bench_device_copy: Sync. with Device's copy of the seven tables through the real filter
// (loaded with dlopen, as the program loads it), in each direction, against a plain SQLite
// ATTACH + INSERT ... SELECT of the same tables measured in the same run.
//
//   bench_device_copy [data file]     (default: a generated file with 100,000 assets)
#include "bench_util.h"
#include "db/ado_database.h"
#include "db/datafile.h"
#include "device_bench.h"
#include "plain_sqlite.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

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

    CSyncService service;
    if (!DeviceBench::prepare(root, service))
        return 1;
    const QString dbPath = DeviceBench::devicePath();
    const QString deviceFile = DeviceBench::deviceFile(root);
    const QString plainTarget = root + QStringLiteral("/plain.cdb");
    const QString desktopCopy = root + QStringLiteral("/desktop-copy.dat");
    QFile::copy(data, desktopCopy);

    CADODataBase desktop;
    if (!desktop.Open(DataFile::connectionString(data))) {
        std::fprintf(stderr, "%s\n", qPrintable(desktop.GetLastError()));
        return 1;
    }

    const int runs = 3;
    const double plainToDevice = BenchUtil::medianMs(runs, [&] {
        QFile::remove(plainTarget);
        PlainSqlite::copyTables(data, plainTarget, true);
    });
    DeviceFilter::Result result = DeviceFilter::Ok;
    const double toDevice = BenchUtil::medianMs(
        runs, [&] { result = service.Copy(Sync::Direction::DesktopToDevice, desktop, dbPath); });
    if (result != DeviceFilter::Ok) {
        std::fprintf(stderr, "desktop to device failed: %d\n", int(result));
        return 1;
    }

    const double plainToDesktop =
        BenchUtil::medianMs(runs, [&] { PlainSqlite::copyTables(deviceFile, desktopCopy, false); });
    CADODataBase target;
    target.Open(DataFile::connectionString(desktopCopy));
    const double toDesktop = BenchUtil::medianMs(
        runs, [&] { result = service.Copy(Sync::Direction::DeviceToDesktop, target, dbPath); });
    if (result != DeviceFilter::Ok) {
        std::fprintf(stderr, "device to desktop failed: %d\n", int(result));
        return 1;
    }

    std::printf("device copy of the seven tables (%s, %.1f MiB), median of %d\n", qPrintable(data),
                QFile(data).size() / 1048576.0, runs);
    std::printf("  desktop to device: plain ATTACH + INSERT ... SELECT %8.1f ms, filter %8.1f ms, "
                "ratio %.2fx\n",
                plainToDevice, toDevice, toDevice / plainToDevice);
    std::printf("  device to desktop: plain ATTACH + INSERT ... SELECT %8.1f ms, filter %8.1f ms, "
                "ratio %.2fx\n",
                plainToDesktop, toDesktop, toDesktop / plainToDesktop);
    std::printf("  goal: at most 1.5x in each direction\n");
    CeRapiUninit();
    return 0;
}
