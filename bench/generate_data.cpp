// bench_generate_data: writes a data file with many homes, assets, locations, tasks and loans
// with realistic texts, for the benchmarks and for trying the program on a large household.
#include "db/datafile.h"
#include "platform/ole_date.h"

#include <QCoreApplication>
#include <QRandomGenerator>
#include <QStringList>
#include <cstdio>
#include <sqlite3.h>

namespace {

const char *kUsage = "usage: bench_generate_data [--homes N] [--assets N] [--areas N] [--tasks N]\n"
                     "                           [--loans N] [--seed N] PATH\n"
                     "Writes a new data file at PATH (which must not exist). Defaults: 1 home,\n"
                     "100000 assets, 12 locations per home, 500 tasks, 2 loans per home.\n";

const char *kAdjectives[] = { "Antique",  "Oak",     "Leather",      "Stainless",
                              "Vintage",  "Walnut",  "Cordless",     "Ceramic",
                              "Glass",    "Brass",   "Cast Iron",    "Wool",
                              "Portable", "Digital", "Hand-painted", "Folding" };
const char *kThings[] = { "Armchair",   "Bookcase",  "Coffee Table", "Dishwasher",   "Dresser",
                          "Floor Lamp", "Kettle",    "Mirror",       "Oil Painting", "Piano",
                          "Rug",        "Sideboard", "Sofa",         "Stereo",       "Television",
                          "Vase",       "Wardrobe",  "Writing Desk", "Bicycle",      "Drill" };
const char *kVendors[] = { "Hartley & Sons", "Main Street Furniture", "City Electronics",
                           "Garden Depot",   "Estate Sale",           "Online Store" };
const char *kRooms[] = { "Living Room", "Kitchen", "Garage",        "Master Bedroom",
                         "Study",       "Attic",   "Basement",      "Dining Room",
                         "Den",         "Office",  "Guest Bedroom", "Library" };
const char *kTasks[] = { "Clean gutters",
                         "Service furnace",
                         "Paint fence",
                         "Buy light bulbs",
                         "Replace smoke detector batteries",
                         "Mow lawn",
                         "Milk",
                         "Bread",
                         "Call plumber",
                         "Renew insurance" };

// A quarter of the assets have a warranty date, spread from 400 days before today to about three
// years after it; the others have the year-2000 "no warranty" date. A video title's date is its
// release year. Worked out from the asset's number, so the random draws stay as they were.
double warrantyDate(int asset, bool video)
{
    if (video)
        return COleDateTime::fromDate(QDate(1950 + asset % 76, 1, 1)).days();
    if (asset % 4 != 0)
        return COleDateTime::fromDate(QDate(2000, 1, 1)).days();
    static const double today = COleDateTime::fromDate(QDate::currentDate()).days();
    return today - 400 + (qint64(asset) * 7919) % 1461;
}

template<size_t N>
const char *pick(const char *(&list)[N], QRandomGenerator &random)
{
    return list[random.bounded(int(N))];
}

bool exec(sqlite3 *db, const char *sql)
{
    char *message = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &message) == SQLITE_OK)
        return true;
    std::fprintf(stderr, "bench_generate_data: %s\n", message ? message : "error");
    sqlite3_free(message);
    return false;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    int homes = 1, assets = 100000, areas = 12, tasks = 500, loans = 2;
    quint32 seed = 1;
    QString path;
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        auto number = [&](int &target) {
            bool ok = false;
            target = i + 1 < args.size() ? args[++i].toInt(&ok) : 0;
            return ok && target >= 0;
        };
        int seedValue = 0;
        bool ok = true;
        if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (a == QLatin1String("--homes"))
            ok = number(homes);
        else if (a == QLatin1String("--assets"))
            ok = number(assets);
        else if (a == QLatin1String("--areas"))
            ok = number(areas);
        else if (a == QLatin1String("--tasks"))
            ok = number(tasks);
        else if (a == QLatin1String("--loans"))
            ok = number(loans);
        else if (a == QLatin1String("--seed")) {
            ok = number(seedValue);
            seed = quint32(seedValue);
        } else if (a.startsWith(QLatin1Char('-')) || !path.isEmpty())
            ok = false;
        else
            path = a;
        if (!ok) {
            std::fputs(kUsage, stderr);
            return 2;
        }
    }
    if (path.isEmpty() || homes < 1) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    QString error;
    if (!DataFile::create(path, &error)) {
        std::fprintf(stderr, "bench_generate_data: %s\n", qPrintable(error));
        return 1;
    }
    sqlite3 *db = nullptr;
    if (sqlite3_open(path.toUtf8().constData(), &db) != SQLITE_OK)
        return 1;
    QRandomGenerator random(seed);
    exec(db, "BEGIN;");
    sqlite3_stmt *home = nullptr, *area = nullptr, *asset = nullptr, *task = nullptr,
                 *loan = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO Homes VALUES (?, ?, ?, ?, NULL, NULL);", -1, &home,
                       nullptr);
    sqlite3_prepare_v2(db,
                       "INSERT INTO Areas (AreaId, HomeId, Description, Length, Width, Height, "
                       "Color1, Color2, Color3, Label1, Label2, Label3) VALUES "
                       "(?, ?, ?, ?, ?, 96, 16777215, 16777215, 16777215, 'Walls', "
                       "'Curtains', 'Panels');",
                       -1, &area, nullptr);
    sqlite3_prepare_v2(db,
                       "INSERT INTO Assets (AssetId, HomeId, AreaId, CategoryId, Description, "
                       "PurchasePrice, PurchaseDate, CurrentValue, ReplacementValue, Vendor, "
                       "MakeModel, SerialNumber, WarrantyExpiration, Picture2, Notes) VALUES "
                       "(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?);",
                       -1, &asset, nullptr);
    sqlite3_prepare_v2(db,
                       "INSERT INTO Tasks (TaskId, Description, TaskType, Status, Cost, Vendor, "
                       "Custom1, Custom2) VALUES (?, ?, ?, ?, ?, NULL, 1, 0);",
                       -1, &task, nullptr);
    sqlite3_prepare_v2(db,
                       "INSERT INTO Loans (LoanId, Description, AssetId, AssetType, Principal, "
                       "InterestRate, TermInMonths, StartDate, LenderName) VALUES "
                       "(?, ?, ?, 1, ?, ?, 360, ?, 'First National Bank');",
                       -1, &loan, nullptr);
    auto text = [](sqlite3_stmt *s, int slot, const QByteArray &value) {
        sqlite3_bind_text(s, slot, value.constData(), int(value.size()), SQLITE_TRANSIENT);
    };
    auto run = [](sqlite3_stmt *s) {
        sqlite3_step(s);
        sqlite3_reset(s);
    };
    int areaId = 0, loanId = 0;
    for (int h = 1; h <= homes; ++h) {
        sqlite3_bind_int(home, 1, h);
        text(home, 2,
             QByteArray(h == 1 ? "Main Home" : "Home ") + (h == 1 ? "" : QByteArray::number(h)));
        text(home, 3, QByteArray::number(10 + h) + " Elm Street\nSpringfield");
        sqlite3_bind_double(home, 4, 250000 + 1000.0 * h);
        run(home);
        for (int a = 0; a < areas; ++a) {
            sqlite3_bind_int(area, 1, ++areaId);
            sqlite3_bind_int(area, 2, h);
            text(area, 3, kRooms[a % 12]);
            sqlite3_bind_int(area, 4, 120 + random.bounded(120));
            sqlite3_bind_int(area, 5, 100 + random.bounded(100));
            run(area);
        }
        for (int l = 0; l < loans; ++l) {
            sqlite3_bind_int(loan, 1, ++loanId);
            text(loan, 2, l == 0 ? "Mortgage" : "Home equity line");
            sqlite3_bind_int(loan, 3, h);
            sqlite3_bind_double(loan, 4, l == 0 ? 180000 : 25000);
            sqlite3_bind_double(loan, 5, l == 0 ? 6.0 : 7.5);
            sqlite3_bind_double(loan, 6, 37000 + l * 400);
            run(loan);
        }
    }
    for (int i = 1; i <= assets; ++i) {
        const int h = 1 + (i - 1) % homes;
        const bool video = random.bounded(10) == 0;
        sqlite3_bind_int(asset, 1, i);
        sqlite3_bind_int(asset, 2, h);
        sqlite3_bind_int(asset, 3, areas ? (h - 1) * areas + 1 + random.bounded(areas) : 0);
        sqlite3_bind_int(asset, 4, video ? 19 : 1 + random.bounded(18));
        text(asset, 5,
             QByteArray(pick(kAdjectives, random)) + ' ' + pick(kThings, random) + " #"
                 + QByteArray::number(i));
        const double price = 5 + random.bounded(500000) / 100.0;
        sqlite3_bind_double(asset, 6, price);
        sqlite3_bind_double(asset, 7, 35000 + random.bounded(9000));
        sqlite3_bind_double(asset, 8, price * 0.7);
        sqlite3_bind_double(asset, 9, price * 1.2);
        text(asset, 10, pick(kVendors, random));
        text(asset, 11,
             video ? QByteArray("Drama")
                   : QByteArray("Model ") + QByteArray::number(random.bounded(999)));
        text(asset, 12, "SN-" + QByteArray::number(random.generate(), 16).toUpper());
        sqlite3_bind_double(asset, 13, warrantyDate(i, video));
        if (random.bounded(4) == 0)
            text(asset, 14, "/home/user/Pictures/item" + QByteArray::number(i) + ".jpg");
        else
            sqlite3_bind_null(asset, 14);
        text(asset, 15, "Bought for the " + QByteArray(kRooms[i % 12]) + ".");
        run(asset);
    }
    for (int t = 1; t <= tasks; ++t) {
        sqlite3_bind_int(task, 1, t);
        text(task, 2, QByteArray(pick(kTasks, random)) + ' ' + QByteArray::number(t));
        sqlite3_bind_int(task, 3, t % 3 == 0 ? 2 : 1);
        sqlite3_bind_int(task, 4, random.bounded(3));
        sqlite3_bind_double(task, 5, random.bounded(5000) / 100.0);
        run(task);
    }
    for (sqlite3_stmt *s : { home, area, asset, task, loan })
        sqlite3_finalize(s);
    const QByteArray counters =
        QStringLiteral("UPDATE TableIds SET NextId=%1 WHERE TableName='Homes';"
                       "UPDATE TableIds SET NextId=%2 WHERE TableName='Areas';"
                       "UPDATE TableIds SET NextId=%3 WHERE TableName='Assets';"
                       "UPDATE TableIds SET NextId=%4 WHERE TableName='Tasks';"
                       "UPDATE TableIds SET NextId=%5 WHERE TableName='Loans';")
            .arg(homes + 1)
            .arg(areaId + 1)
            .arg(assets + 1)
            .arg(tasks + 1)
            .arg(loanId + 1)
            .toUtf8();
    const bool ok = exec(db, counters.constData()) && exec(db, "COMMIT;");
    sqlite3_close(db);
    std::printf("%s: %d homes, %d locations, %d assets, %d tasks, %d loans\n", qPrintable(path),
                homes, areaId, assets, tasks, loanId);
    return ok ? 0 : 1;
}
