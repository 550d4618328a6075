// bench_generate_data: writes a data file with many homes, assets, locations, tasks, loans and
// maintenance plans with realistic texts, for the benchmarks and for trying the program on a
// large household.
#include "db/tools/household_writer.h"
#include "platform/ole_date.h"

#include <QCoreApplication>
#include <QFile>
#include <QRandomGenerator>
#include <QStringList>
#include <cstdio>
#include <sqlite3.h>

namespace {

const char *kUsage = "usage: bench_generate_data [--homes N] [--assets N] [--areas N] [--tasks N]\n"
                     "                           [--loans N] [--categories N] [--plans N]\n"
                     "                           [--seed N] PATH\n"
                     "Writes a new data file at PATH (which must not exist). Defaults: 1 home,\n"
                     "100000 assets, 12 locations per home, 500 tasks, 2 loans per home, no\n"
                     "maintenance plans, and the 19 asset categories every new file has;\n"
                     "--categories N adds N more, which the assets (but the videos) are spread\n"
                     "over with the others. --plans N writes N plans with one completion each,\n"
                     "their next dates spread from 60 days ago to two years ahead.\n";

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
const char *kPlans[] = { "Replace filter", "Test batteries", "Clean",
                         "Service",        "Inspect",        "Oil",
                         "Descale",        "Flush",          "Check seals",
                         "Tighten",        "Vacuum coils" };
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

// Adds count asset categories ("Category 1", ...) to the written file at path, with ids from the
// file's counter on (firstId) and the counter moved past them.
bool addCategories(const QString &path, int firstId, int count, QString *error)
{
    sqlite3 *db = nullptr;
    bool ok =
        sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE, nullptr)
            == SQLITE_OK
        && sqlite3_exec(db, "BEGIN;", nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_stmt *insert = nullptr;
    ok = ok
        && sqlite3_prepare_v2(db,
                              "INSERT INTO Categories (CategoryId, Description, CategoryType) "
                              "VALUES (?, ?, 1);",
                              -1, &insert, nullptr)
            == SQLITE_OK;
    for (int c = 0; ok && c < count; ++c) {
        const QByteArray name = "Category " + QByteArray::number(c + 1);
        sqlite3_bind_int(insert, 1, firstId + c);
        sqlite3_bind_text(insert, 2, name.constData(), int(name.size()), SQLITE_TRANSIENT);
        ok = sqlite3_step(insert) == SQLITE_DONE && sqlite3_reset(insert) == SQLITE_OK;
    }
    sqlite3_finalize(insert);
    const QByteArray counter = "UPDATE TableIds SET NextId = " + QByteArray::number(firstId + count)
        + " WHERE TableName = 'Categories'; COMMIT;";
    ok = ok && sqlite3_exec(db, counter.constData(), nullptr, nullptr, nullptr) == SQLITE_OK;
    if (!ok && error)
        *error = QString::fromUtf8(sqlite3_errmsg(db));
    sqlite3_close(db);
    return ok;
}

template<size_t N>
const char *pick(const char *(&list)[N], QRandomGenerator &random)
{
    return list[random.bounded(int(N))];
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    int homes = 1, assets = 100000, areas = 12, tasks = 500, loans = 2, categories = 0, plans = 0;
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
        else if (a == QLatin1String("--categories"))
            ok = number(categories);
        else if (a == QLatin1String("--plans"))
            ok = number(plans);
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
    HouseholdWriter writer;
    QString error;
    if (!writer.open(path, &error)) {
        std::fprintf(stderr, "bench_generate_data: %s\n", qPrintable(error));
        return 1;
    }
    // The categories added after the 19 asset categories and the 11 others a new file has.
    const int firstCategory = 31;
    QRandomGenerator random(seed);
    auto text = [](const QByteArray &value) { return QString::fromUtf8(value); };
    int areaCount = 0, loanCount = 0;
    for (int h = 1; h <= homes; ++h) {
        HouseholdWriter::Home home;
        home.description = h == 1 ? QStringLiteral("Main Home") : QStringLiteral("Home %1").arg(h);
        home.address = QStringLiteral("%1 Elm Street\nSpringfield").arg(10 + h);
        home.currentValue = 250000 + 1000.0 * h;
        writer.add(home);
        for (int a = 0; a < areas; ++a) {
            HouseholdWriter::Area area;
            area.homeId = h;
            area.description = QLatin1String(kRooms[a % 12]);
            area.length = 120 + random.bounded(120);
            area.width = 100 + random.bounded(100);
            writer.add(area);
            ++areaCount;
        }
        for (int l = 0; l < loans; ++l) {
            HouseholdWriter::Loan loan;
            loan.homeId = h;
            loan.description =
                l == 0 ? QStringLiteral("Mortgage") : QStringLiteral("Home equity line");
            loan.principal = l == 0 ? 180000 : 25000;
            loan.interestRate = l == 0 ? 6.0 : 7.5;
            loan.startDate = 37000 + l * 400;
            loan.lenderName = QStringLiteral("First National Bank");
            writer.add(loan);
            ++loanCount;
        }
    }
    for (int i = 1; i <= assets; ++i) {
        const int h = 1 + (i - 1) % homes;
        const bool video = random.bounded(10) == 0;
        HouseholdWriter::Asset asset;
        asset.homeId = h;
        asset.areaId = areas ? (h - 1) * areas + 1 + random.bounded(areas) : 0;
        if (video) {
            asset.categoryId = 19;
        } else {
            const int category = random.bounded(18 + categories);
            asset.categoryId = category < 18 ? 1 + category : firstCategory + category - 18;
        }
        asset.description = text(QByteArray(pick(kAdjectives, random)) + ' ' + pick(kThings, random)
                                 + " #" + QByteArray::number(i));
        const double price = 5 + random.bounded(500000) / 100.0;
        asset.purchasePrice = price;
        asset.purchaseDate = 35000 + random.bounded(9000);
        asset.currentValue = price * 0.7;
        asset.replacementValue = price * 1.2;
        asset.vendor = QLatin1String(pick(kVendors, random));
        asset.makeModel =
            video ? QStringLiteral("Drama") : QStringLiteral("Model %1").arg(random.bounded(999));
        asset.serialNumber = text("SN-" + QByteArray::number(random.generate(), 16).toUpper());
        if (random.bounded(4) == 0)
            asset.picture = QStringLiteral("/home/user/Pictures/item%1.jpg").arg(i);
        asset.warrantyExpiration = warrantyDate(i, video);
        asset.notes = QStringLiteral("Bought for the %1.").arg(QLatin1String(kRooms[i % 12]));
        writer.add(asset);
    }
    for (int t = 1; t <= tasks; ++t) {
        HouseholdWriter::Task task;
        task.description = text(QByteArray(pick(kTasks, random)) + ' ' + QByteArray::number(t));
        task.taskType = t % 3 == 0 ? 2 : 1;
        task.status = random.bounded(3);
        task.cost = random.bounded(5000) / 100.0;
        task.custom1 = 1;
        writer.add(task);
    }
    // After everything else, so the draws above stay as they were without plans.
    const double today = COleDateTime::fromDate(QDate::currentDate()).days();
    for (int p = 1; p <= plans; ++p) {
        HouseholdWriter::Plan plan;
        plan.homeId = 1 + (p - 1) % homes;
        const int perHome = assets / homes;
        // One of the home's own assets (asset i belongs to home 1 + (i - 1) % homes).
        if (perHome > 0 && p % 5 != 0)
            plan.assetId = plan.homeId + homes * int((qint64(p) * 7919) % perHome);
        plan.description = QLatin1String(pick(kPlans, random));
        plan.unit = 1 + p % 4;
        plan.every = plan.unit == 1 ? 30 : plan.unit == 2 ? 8 : plan.unit == 3 ? 6 : 1;
        plan.fromCompletion = p % 3 != 0;
        plan.nextDue = today - 60 + (qint64(p) * 7919) % 790;
        plan.categoryId = 23;
        const qint32 id = writer.add(plan);
        HouseholdWriter::PlanEntry done;
        done.planId = id;
        done.done = plan.nextDue - 180;
        done.previousDue = done.done;
        done.cost = random.bounded(20000) / 100.0;
        writer.add(done);
    }
    const bool ok = writer.finish(&error)
        && (categories == 0 || addCategories(path, firstCategory, categories, &error));
    if (!ok) {
        std::fprintf(stderr, "bench_generate_data: %s\n", qPrintable(error));
        QFile::remove(path); // not the household asked for
    }
    std::printf("%s: %d homes, %d locations, %d assets, %d tasks, %d loans, %d added categories, "
                "%d plans\n",
                qPrintable(path), homes, areaCount, assets, tasks, loanCount, categories, plans);
    return ok ? 0 : 1;
}
