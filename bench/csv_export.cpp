// bench_csv_export: the inventory report of one home with 100,000 assets, against the sqlite3
// shell writing the same join as CSV to /dev/null, in one run.
//   bench_csv_export [DATAFILE]   (without one, a data file is generated first)
#include "bench_host.h"
#include "bench_util.h"
#include "db/ado_database.h"
#include "db/datafile.h"
#include "exchange/inventory_export.h"
#include "format/string_table.h"
#include "platform/file_target.h"

#include <QCoreApplication>
#include <QFile>
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
        if (!BenchUtil::generateData(path,
                                     { QStringLiteral("--homes"), QStringLiteral("1"),
                                       QStringLiteral("--assets"), QString::number(assets) }))
            return 1;
    }
    const QString query =
        QString::asprintf(Strings::load(Strings::InventoryReportQuery).toLatin1().constData(), 1);
    const double shell = BenchUtil::medianMs(5, [&] {
        BenchUtil::runShell({ QStringLiteral("-csv"), path, query });
    });

    CADODataBase db;
    if (!db.Open(path)) {
        std::fprintf(stderr, "%s\n", qPrintable(db.GetLastError()));
        return 1;
    }
    const InventoryExport::Report report = wholeInventoryReport(db);

    bool ok = true;
    const double toNull = BenchUtil::medianMs(5, [&] {
        QFile out(QStringLiteral("/dev/null"));
        ok = ok && out.open(QIODevice::WriteOnly) && InventoryExport::write(db, report, out);
    });
    qint64 bytes = 0;
    const QString target = temp.path() + QStringLiteral("/report.csv");
    const double toFile = BenchUtil::medianMs(5, [&] {
        // As the export dialog writes it: a temporary file beside the target, renamed when whole.
        FileTarget::Replacement replacement(target, path);
        QString error;
        QFile out;
        ok = ok && replacement.open(&error);
        out.setFileName(replacement.temporaryPath());
        ok = ok && out.open(QIODevice::WriteOnly) && InventoryExport::write(db, report, out)
            && out.flush();
        out.close();
        ok = ok && replacement.commit(&error);
        bytes = QFile(target).size();
    });
    if (!ok) {
        std::fprintf(stderr, "the export failed\n");
        return 1;
    }
    std::printf("inventory CSV export, %d assets (%.1f MiB of report)\n", assets,
                bytes / 1048576.0);
    std::printf("  sqlite3 -csv, same join to /dev/null:   %8.1f ms\n", shell);
    std::printf("  export to /dev/null:                    %8.1f ms\n", toNull);
    std::printf("  export to a file (temporary, rename):   %8.1f ms\n", toFile);
    std::printf("  ratio: %.2fx (goal: at most 1.5x)\n", toNull / shell);
    std::printf("  peak memory: %.1f MiB\n", BenchUtil::peakMiB());
    return 0;
}
