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
        if (!BenchUtil::generateData(data,
                                     { QStringLiteral("--assets"), QStringLiteral("100000") }))
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
    if (!desktop.Open(data)) {
        std::fprintf(stderr, "%s\n", qPrintable(desktop.GetLastError()));
        return 1;
    }

    const int runs = 5;
    const BenchUtil::Times plainToDevice = BenchUtil::measure(runs, [&] {
        QFile::remove(plainTarget);
        PlainSqlite::copyTables(data, plainTarget, true);
    });
    DeviceFilter::Result result = DeviceFilter::Ok;
    const BenchUtil::Times toDevice = BenchUtil::measure(
        runs, [&] { result = service.Copy(Sync::Direction::DesktopToDevice, desktop, dbPath); });
    if (result != DeviceFilter::Ok) {
        std::fprintf(stderr, "desktop to device failed: %d\n", int(result));
        return 1;
    }

    const BenchUtil::Times plainToDesktop =
        BenchUtil::measure(runs, [&] { PlainSqlite::copyTables(deviceFile, desktopCopy, false); });
    CADODataBase target;
    target.Open(desktopCopy);
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
