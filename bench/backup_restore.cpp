// bench_backup_restore: backup and restore of a data file with 100,000 assets in one home,
// each against its plain baseline measured in the same run:
//   backup  - the sqlite3 shell's .backup of the same file;
//   restore - a plain file copy plus the engine's integrity_check of the copy.
//   bench_backup_restore [DATAFILE]   (without one, a data file is generated first)
#include "exchange/backup_restore.h"
#include "bench_util.h"
#include "db/ado_database.h"
#include "db/datafile.h"
#include "plain_sqlite.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    QTemporaryDir temp;
    const QString dataFile = temp.path() + QStringLiteral("/HOMEDATA.DAT");
    const int assets = 100000;
    if (!args.isEmpty()) {
        QFile::copy(args.value(0), dataFile);
    } else {
        if (!BenchUtil::generateData(dataFile,
                                     { QStringLiteral("--homes"), QStringLiteral("1"),
                                       QStringLiteral("--assets"), QString::number(assets) }))
            return 1;
    }
    const qint64 size = QFile(dataFile).size();

    // Backup.
    const QString shellTarget = temp.path() + QStringLiteral("/shell.dat");
    const double shellBackup = BenchUtil::medianMs(5, [&] {
        QFile::remove(shellTarget);
        BenchUtil::runShell({ dataFile, QStringLiteral(".backup '%1'").arg(shellTarget) });
    });
    CADODataBase db;
    if (!db.Open(dataFile)) {
        std::fprintf(stderr, "%s\n", qPrintable(db.GetLastError()));
        return 1;
    }
    const QString target = temp.path() + QStringLiteral("/Domelio Backup.dat");
    bool ok = true;
    const double backup = BenchUtil::medianMs(5, [&] {
        QFile::remove(target);
        ok = ok && DataFileBackup::backup(db, target).ok;
    });

    // Restore.
    const QString plainCopy = temp.path() + QStringLiteral("/copy.dat");
    const double copyAndCheck = BenchUtil::medianMs(5, [&] {
        QFile::remove(plainCopy);
        ok = ok && QFile::copy(target, plainCopy) && PlainSqlite::integrityOk(plainCopy);
    });
    const double restore = BenchUtil::medianMs(5, [&] {
        const DataFileBackup::Outcome done = DataFileBackup::restore(db, target);
        ok = ok && done.ok;
    });
    if (!ok) {
        std::fprintf(stderr, "a backup or restore failed\n");
        return 1;
    }

    std::printf("backup and restore, %d assets (%.1f MiB data file)\n", assets, size / 1048576.0);
    std::printf("  sqlite3 shell .backup:                  %8.1f ms\n", shellBackup);
    std::printf("  backup (online API, temp + rename):     %8.1f ms\n", backup);
    std::printf("  ratio: %.2fx (goal: at most 1.2x)\n", backup / shellBackup);
    std::printf("  file copy + integrity_check:            %8.1f ms\n", copyAndCheck);
    std::printf("  restore (validate, stage, swap, open):  %8.1f ms\n", restore);
    std::printf("  ratio: %.2fx (goal: at most 1.5x)\n", restore / copyAndCheck);
    return 0;
}
