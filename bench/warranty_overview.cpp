// bench_warranty_overview: the Today view's warranty counts for a home with 100,000 assets (a
// quarter of them with a warranty date), the one statement behind the line, timed through the
// program's database layer with its index and, as the baseline, on a copy of the file without
// it; the sqlite3 shell running the same statement for scale; and the Warranties dialog's list.
#include "bench_util.h"
#include "db/ado_database.h"
#include "db/datafile.h"
#include "db/added_tables.h"
#include "records/warranties.h"

#include <QCoreApplication>
#include <QDate>
#include <QFile>
#include <QTemporaryDir>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir temp;
    const QString path = BenchUtil::dataFile(app.arguments().value(1), temp.path());
    if (path.isEmpty())
        return 1;
    const QString bare = temp.path() + QStringLiteral("/without-index.dat");
    QFile::remove(bare);
    if (!QFile::copy(path, bare))
        return 1;

    const QDate today = QDate::currentDate();
    CADODataBase db, plain;
    if (!db.Open(path) || !plain.Open(bare) || !AddedTables::ensure(db)
        || !plain.Execute(QStringLiteral("DROP INDEX AssetsWarrantyByHome;"))) {
        std::fprintf(stderr, "%s\n", qPrintable(db.GetLastError() + plain.GetLastError()));
        return 1;
    }

    Warranties::Counts counts;
    // The first statement reads the index's pages from the file; the Today view meets that once.
    const double first = BenchUtil::medianMs(1, [&] { counts = Warranties::count(db, 1, today); });
    const BenchUtil::Spread indexed =
        BenchUtil::spreadMs(201, [&] { counts = Warranties::count(db, 1, today); });
    const BenchUtil::Spread scanned =
        BenchUtil::spreadMs(21, [&] { Warranties::count(plain, 1, today); });
    const double shell = BenchUtil::medianMs(5, [&] {
        BenchUtil::runShell({ path, Warranties::countStatement(1, today) });
    });
    size_t listed = 0;
    const BenchUtil::Spread list =
        BenchUtil::spreadMs(21, [&] { listed = Warranties::list(db, 1, today).size(); });

    std::printf("Warranty overview, home 1 of a file with 100,000 assets (ms; median and worst)\n");
    std::printf("  counts for the Today line, with the index:    median %6.3f  worst %6.3f  "
                "(goal: under 5 ms)\n",
                indexed.median, indexed.worst);
    std::printf("  the first of them, reading the index from the file: %6.3f\n", first);
    std::printf("  the same statement without the index:         median %6.3f  worst %6.3f  "
                "(%.0fx)\n",
                scanned.median, scanned.worst, scanned.median / indexed.median);
    std::printf("  the same statement in the sqlite3 shell:      median %6.3f (process start "
                "included)\n",
                shell);
    std::printf("  the Warranties dialog's list (%zu rows):      median %6.3f  worst %6.3f\n",
                listed, list.median, list.worst);
    std::printf("  line: \"%s\"\n", qPrintable(Warranties::todayLine(counts)));
    return 0;
}
