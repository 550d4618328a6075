// bench_csv_import: 100,000 rows (the inventory export of bench_generate_data's household)
// imported into an empty home, against the sqlite3 shell's ".import --csv" of the same file into
// a plain table, in one run; the Import Inventory Data dialog's first preview of that file; and
// the program's peak memory over both.
//   bench_csv_import [--rows N] [--keep DIR]   (--keep: the generated files stay in DIR, and
//                                               are used again when there)
#include "bench_util.h"
#include "db/ado_database.h"
#include "db/datafile.h"
#include "exchange/import_dialog.h"
#include "exchange/inventory_export.h"
#include "exchange/inventory_import.h"
#include "format/display_text.h"
#include "records/home.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

namespace {

constexpr int kRuns = 5;
const QLocale kLocale(QLocale::English, QLocale::UnitedStates);

// A new data file at path with one empty home; its id.
qint32 emptyHome(CADODataBase &db, const QString &path)
{
    QFile::remove(path);
    QString error;
    CHome home;
    home.m_strDescription = QStringLiteral("Maple Court");
    if (!DataFile::create(path, &error) || !db.Open(path) || !home.Save(db)) {
        std::fprintf(stderr, "no data file: %s %s\n", qPrintable(error),
                     qPrintable(db.GetLastError()));
        return -1;
    }
    return home.id();
}

// Child mode: the user's path in a process of its own, so that its peak memory is its own. The
// dialog opens on the file (read, detected, previewed, shown), then the import proper runs
// into an empty home as the Import button runs it: read, detected, saved. Prints
// "previewWall importWall importCpu peakMiB rowsAdded".
int runChild(const QString &csv, const QString &folder)
{
    CADODataBase db;
    const qint32 homeId = emptyHome(db, folder + QStringLiteral("/HOMEDATA.DAT"));
    if (homeId < 0)
        return 1;
    CHome home(homeId);
    home.Load(db);

    double previewWall = 0;
    {
        QElapsedTimer clock;
        clock.start();
        QByteArray bytes;
        QString error;
        if (!Import::readFile(csv, bytes, &error))
            return 1;
        const Import::Start start = Import::startingSettings(bytes);
        Import::Dialog dialog(db, home, csv, bytes, start.settings);
        dialog.show();
        QApplication::processEvents();
        previewWall = clock.nsecsElapsed() / 1e6;
    }

    Import::Outcome outcome;
    const double cpu0 = BenchUtil::cpuMs();
    QElapsedTimer clock;
    clock.start();
    QByteArray bytes;
    QString error;
    if (!Import::readFile(csv, bytes, &error))
        return 1;
    const Import::Start start = Import::startingSettings(bytes);
    outcome = Import::run(db, homeId, bytes, start.settings);
    const double importWall = clock.nsecsElapsed() / 1e6;
    const double importCpu = BenchUtil::cpuMs() - cpu0;
    if (!outcome.done) {
        std::fprintf(stderr, "the import failed: %s\n", qPrintable(outcome.error));
        return 1;
    }
    std::printf("%f %f %f %f %lld\n", previewWall, importWall, importCpu, BenchUtil::peakMiB(),
                static_cast<long long>(outcome.added));
    return 0;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    BenchUtil::offscreenWithOwnSettings(QDir::tempPath());
    QApplication app(argc, argv);
    setUserLocale(kLocale);
    QStringList args = app.arguments().mid(1);
    if (args.size() == 3 && args[0] == QLatin1String("--child"))
        return runChild(args[1], args[2]);
    int rows = 100000;
    QString keep;
    bool usage = false;
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--rows") && i + 1 < args.size())
            rows = args[++i].toInt();
        else if (args[i] == QLatin1String("--keep") && i + 1 < args.size())
            keep = args[++i];
        else
            usage = true;
    }
    if (usage || rows <= 0) {
        std::fputs("usage: bench_csv_import [--rows N] [--keep DIR]\n", stderr);
        return 2;
    }

    QTemporaryDir temp;
    const QDir folder(keep.isEmpty() ? temp.path() : keep);
    folder.mkpath(QStringLiteral("."));
    const QString source = folder.filePath(QStringLiteral("SOURCE-%1.DAT").arg(rows));
    if (!QFile::exists(source)
        && !BenchUtil::generateData(source,
                                    { QStringLiteral("--homes"), QStringLiteral("1"),
                                      QStringLiteral("--assets"), QString::number(rows) }))
        return 1;
    // The file the user imports: the export of that household.
    const QString csv = folder.filePath(QStringLiteral("Inventory-%1.csv").arg(rows));
    if (!QFile::exists(csv)) {
        CADODataBase db;
        QFile out(csv);
        InventoryExport::Report report;
        report.homeId = 1;
        report.homeDescription = QStringLiteral("Generated");
        report.locale = kLocale;
        if (!db.Open(source) || !out.open(QIODevice::WriteOnly)
            || !InventoryExport::write(db, report, out)) {
            std::fprintf(stderr, "the export failed\n");
            return 1;
        }
    }

    // The shell's import of the same rows (past the title, blank and header lines) into a new
    // database file each time: into a plain table, the baseline; and, for scale, into a table
    // that keeps the five indexes the data file keeps on its assets, which the import must
    // maintain as well (by description without regard to case, location, category, category
    // and value, warranty).
    const QString plain = temp.filePath(QStringLiteral("plain.db"));
    auto shellImport = [&](const QString &schema) {
        return BenchUtil::measure(
            kRuns,
            [&] {
                QFile::remove(plain);
                QProcess sqlite;
                sqlite.setStandardOutputFile(QProcess::nullDevice());
                sqlite.setStandardErrorFile(QProcess::nullDevice());
                sqlite.start(QStringLiteral("sqlite3"),
                             { plain, QStringLiteral("-cmd"), schema,
                               QStringLiteral(".import --csv --skip 3 '%1' assets").arg(csv) });
                sqlite.waitForFinished(-1);
            },
            true);
    };
    const QString table = QStringLiteral(
        "CREATE TABLE assets (Category, Asset COLLATE NOCASE, CurrentValue, PurchasePrice, "
        "PurchaseDate, MakeModel COLLATE NOCASE, Vendor, Location, ReplacementValue, "
        "WarrantyExpires, Serial, Phone);");
    const BenchUtil::Times shell = shellImport(table);
    const BenchUtil::Times indexed = shellImport(
        table
        + QStringLiteral("CREATE INDEX a1 ON assets (Asset); CREATE INDEX a2 ON assets "
                         "(Location); CREATE INDEX a3 ON assets (Category); CREATE INDEX a4 ON "
                         "assets (Category, CurrentValue); CREATE INDEX a5 ON assets "
                         "(WarrantyExpires, Category);"));

    std::vector<double> previews, walls, cpus, peaks;
    long long added = 0;
    for (int run = 0; run < kRuns; ++run) {
        QTemporaryDir folder;
        QProcess child;
        child.start(app.applicationFilePath(), { QStringLiteral("--child"), csv, folder.path() });
        child.waitForFinished(-1);
        const QList<QByteArray> figures = child.readAllStandardOutput().trimmed().split(' ');
        if (child.exitCode() != 0 || figures.size() != 5) {
            std::fprintf(stderr, "the import's run failed: %s\n",
                         child.readAllStandardError().constData());
            return 1;
        }
        previews.push_back(figures[0].toDouble());
        walls.push_back(figures[1].toDouble());
        cpus.push_back(figures[2].toDouble());
        peaks.push_back(figures[3].toDouble());
        added = figures[4].toLongLong();
    }
    const double wall = median(walls);
    const double cpu = median(cpus);
    std::printf("inventory CSV import, %d rows (%.1f MiB, the export of bench_generate_data's "
                "household), median of %d\n",
                rows, QFile(csv).size() / 1048576.0, kRuns);
    std::printf("  sqlite3 .import --csv, plain table:   %8.1f ms wall %8.1f ms CPU\n", shell.wall,
                shell.cpu);
    std::printf("  the same, table with 5 indexes:       %8.1f ms wall %8.1f ms CPU\n",
                indexed.wall, indexed.cpu);
    std::printf(
        "  import into an empty home:            %8.1f ms wall %8.1f ms CPU  (%lld assets)\n", wall,
        cpu, added);
    std::printf("  ratio: %.2fx wall, %.2fx CPU (goal: at most 1.5x the plain table)\n",
                wall / shell.wall, cpu / shell.cpu);
    std::printf("  ratio to the indexed table: %.2fx wall, %.2fx CPU\n", wall / indexed.wall,
                cpu / indexed.cpu);
    std::printf("  dialog opened with its preview:       %8.1f ms (goal: within 500 ms)\n",
                median(previews));
    std::printf("  peak memory, preview and import:      %8.1f MiB (goal: under 100 MiB)\n",
                *std::max_element(peaks.begin(), peaks.end()));
    return 0;
}
