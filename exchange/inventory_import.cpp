#include "exchange/inventory_import.h"

#include "db/ado_database.h"
#include "db/ado_recordset.h"
#include "db/lookups.h"
#include "db/record_ids.h"
#include "db/sql_text.h"
#include "exchange/inventory_export.h"
#include "platform/busy.h"
#include "platform/ole_date.h"
#include "records/area.h"
#include "records/asset.h"
#include "records/categories.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QIODevice>
#include <QSet>
#include <sqlite3.h>

#include <cmath>
#include <functional>
#include <optional>

namespace Import {
namespace {

// A file without headers names its columns by number.
QString columnName(int column)
{
    return QStringLiteral("Column %1").arg(column + 1);
}

// Reads past the program's own title line and the blank rows after it, to the first row of
// content (the header, or the first asset); false when there is none.
bool toFirstContent(CsvReader &reader, QString *exportedHomeName = nullptr)
{
    bool first = true;
    while (reader.next()) {
        if (first && isExportTitle(reader.cells())) {
            if (exportedHomeName)
                *exportedHomeName = exportedHome(reader.cells());
            first = false;
            continue;
        }
        first = false;
        if (!reader.blank())
            return true;
    }
    return false;
}

// The key an asset is matched by: its description in any letter case, its serial number (none
// for a video title, whose number the export leaves out) and its day of purchase.
QString matchKey(const QString &description, const QString &serial, bool video,
                 std::optional<qint64> day)
{
    QString key = description.toLower();
    key += QChar(0x1F);
    if (!video)
        key += serial;
    key += QChar(0x1F);
    if (day)
        key += QString::number(*day);
    return key;
}

qint64 dayNumber(const QDate &date)
{
    return qint64(COleDateTime::fromDate(date).days());
}

QString nameKey(const QString &name)
{
    return name.trimmed().toLower();
}

QString columnText(sqlite3_stmt *stmt, int column)
{
    const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(stmt, column));
    return text ? QString::fromUtf8(text, sqlite3_column_bytes(stmt, column)) : QString();
}

// A release year for a video title's row: the year its warranty cell names, else the year a
// new title starts with.
int releaseYear(const Row &row)
{
    return row.warrantyExpires.isValid() ? row.warrantyExpires.year() : CAsset::kNoWarrantyYear;
}

struct Found
{
    qint32 id = 0; // 0: none named; -1: it could not be made
    bool made = false; // by this import
};

// Categories or locations by name: those stored (by name in lower case, without surrounding
// spaces), those this import makes, and the cells already looked up as written (rows repeat
// the same few names).
struct Names
{
    QHash<QString, qint32> stored;
    QSet<QString> made;
    QHash<QString, Found> cells;
};

// The rows of a file in turn, each read into an asset and found a place: its category and
// location (made when saving and missing) and the asset it matches. The preview and the import
// walk the same way, so the preview says exactly what the import does.
class Walk
{
public:
    Walk(CADODataBase &db, qint32 homeId, const QByteArray &bytes, const Settings &settings,
         bool saving)
        : m_db(db)
        , m_homeId(homeId)
        , m_bytes(bytes)
        , m_settings(settings)
        , m_saving(saving)
        , m_converter(settings.fields, settings.locale)
    {
    }

    struct Placed
    {
        qint64 row = 0;
        Row values;
        qint32 categoryId = 0;
        qint32 areaId = 0;
        qint32 matchId = 0; // the matching asset; 0 when none
        bool video = false;
        bool newLocation = false;
        bool newCategory = false;
    };

    // Calls take(placed) for every row that is saved (added or updating); false from take stops
    // the walk. Returns false when the walk stopped: the text, the data file or take failed.
    template<class Take>
    bool walk(Summary &summary, Take take)
    {
        if (!load())
            return false;
        CsvReader reader(m_bytes, m_settings.format, m_settings.separatorLine);
        if (!toFirstContent(reader)) {
            summary.error = reader.error();
            return summary.error.isEmpty();
        }
        bool dataRow = !m_settings.format.headers;
        std::vector<Problem> problems;
        Placed placed;
        for (;;) {
            if (dataRow) {
                if (!Busy::step(reader.position(), reader.size()))
                    return false;
                if (!reader.blank() && !isExportClosing(reader.cells())) {
                    ++summary.rows;
                    problems.clear();
                    placed = Placed();
                    placed.row = reader.row();
                    if (!m_converter.convert(reader.cells(), placed.values, problems)) {
                        skip(summary, reader, problems);
                    } else {
                        if (!place(placed, summary))
                            return false;
                        if (placed.matchId > 0 && m_settings.matching == Matching::Skip) {
                            skip(summary, reader,
                                 { { -1, placed.values.description,
                                     QStringLiteral("same asset as an existing one") } });
                        } else {
                            if (placed.matchId > 0)
                                ++summary.updated;
                            else
                                ++summary.added;
                            if (!take(placed))
                                return false;
                        }
                    }
                }
            }
            dataRow = true;
            if (!reader.next())
                break;
        }
        summary.error = reader.error();
        return summary.error.isEmpty();
    }

    QString error() const { return m_error; }

private:
    void skip(Summary &summary, const CsvReader &reader, const std::vector<Problem> &problems)
    {
        ++summary.skippedRows;
        for (const Problem &problem : problems)
            summary.skips.push_back(
                { reader.row(), reader.offset(), problem.column, problem.text, problem.why });
    }

    bool failed(const QString &what)
    {
        m_error = what + QStringLiteral("\n\n") + m_db.GetLastError();
        return false;
    }

    // A stored name; of two that differ only in letter case or spaces, the older one counts.
    static void remember(Names &names, const QString &name, qint32 id)
    {
        const QString key = nameKey(name);
        if (!key.isEmpty() && !names.stored.contains(key))
            names.stored.insert(key, id);
    }

    // The home's asset categories, locations and assets, read once.
    bool load()
    {
        sqlite3 *handle = m_db.handle();
        if (!handle)
            return failed(QStringLiteral("The data file is not open."));
        auto each = [&](const QString &sql, const std::function<void(sqlite3_stmt *)> &row) {
            sqlite3_stmt *stmt = nullptr;
            const QByteArray text = sql.toUtf8();
            if (sqlite3_prepare_v2(handle, text.constData(), int(text.size()), &stmt, nullptr)
                != SQLITE_OK) {
                m_db.reportError(quint32(sqlite3_extended_errcode(handle)),
                                 QStringLiteral("SQLite"),
                                 QString::fromUtf8(sqlite3_errmsg(handle)));
                return false;
            }
            int rc;
            while ((rc = sqlite3_step(stmt)) == SQLITE_ROW)
                row(stmt);
            if (rc != SQLITE_DONE)
                m_db.reportError(quint32(sqlite3_extended_errcode(handle)),
                                 QStringLiteral("SQLite"),
                                 QString::fromUtf8(sqlite3_errmsg(handle)));
            sqlite3_finalize(stmt);
            return rc == SQLITE_DONE;
        };
        const bool read =
            each(sqlText("SELECT CategoryId, Description FROM Categories WHERE CategoryType=%d "
                         "ORDER BY CategoryId;",
                         int(Lookups::AssetCategory)),
                 [this](sqlite3_stmt *s) {
                     remember(m_categories, columnText(s, 1), sqlite3_column_int(s, 0));
                 })
            && each(sqlText("SELECT AreaId, Description FROM Areas WHERE HomeId=%ld ORDER BY "
                            "AreaId;",
                            long(m_homeId)),
                    [this](sqlite3_stmt *s) {
                        remember(m_areas, columnText(s, 1), sqlite3_column_int(s, 0));
                    })
            && each(sqlText("SELECT AssetId, Description, SerialNumber, PurchaseDate, CategoryId "
                            "FROM Assets WHERE HomeId=%ld ORDER BY AssetId;",
                            long(m_homeId)),
                    [this](sqlite3_stmt *s) {
                        std::optional<qint64> day;
                        if (sqlite3_column_type(s, 3) != SQLITE_NULL)
                            day = qint64(std::floor(sqlite3_column_double(s, 3)));
                        const bool video = sqlite3_column_int(s, 4) == CAsset::kVideoCategoryId;
                        m_assets.insert(matchKey(columnText(s, 1), columnText(s, 2), video, day),
                                        sqlite3_column_int(s, 0));
                    });
        return read || failed(QStringLiteral("The home's inventory could not be read."));
    }

    // The category or location a cell names. A missing one is made while saving (make returns
    // its id, or -1), and listed in made.
    template<class Make>
    Found find(const QString &cell, Names &names, QStringList &made, Make make)
    {
        if (cell.isEmpty())
            return {};
        if (const auto known = names.cells.constFind(cell); known != names.cells.constEnd())
            return *known;
        Found found;
        const QString name = cell.trimmed();
        if (!name.isEmpty()) {
            const QString key = name.toLower();
            if (const auto stored = names.stored.constFind(key);
                stored != names.stored.constEnd()) {
                found.id = *stored;
                found.made = names.made.contains(key);
            } else {
                found.id = m_saving ? make(name) : 0;
                if (found.id < 0)
                    return found;
                found.made = true;
                made << name;
                names.stored.insert(key, found.id);
                names.made.insert(key);
            }
        }
        names.cells.insert(cell, found);
        return found;
    }

    // Finds the row's category, location and matching asset; while saving, makes a missing
    // category or location.
    bool place(Placed &placed, Summary &summary)
    {
        const Row &row = placed.values;
        const Found category =
            find(row.category, m_categories, summary.newCategories, [&](const QString &name) {
                const qint32 id = Categories::create(m_db, name, Lookups::AssetCategory);
                if (id <= 0) {
                    failed(QStringLiteral("The category \"%1\" could not be made.").arg(name));
                    return -1;
                }
                return id;
            });
        if (category.id < 0)
            return false;
        placed.categoryId = category.id;
        placed.newCategory = category.made;
        placed.video = placed.categoryId == CAsset::kVideoCategoryId;
        const Found location =
            find(row.location, m_areas, summary.newLocations, [&](const QString &name) {
                CArea area;
                area.m_nHomeId = m_homeId;
                area.m_strDescription = name;
                if (!area.Save(m_db)) {
                    failed(QStringLiteral("The location \"%1\" could not be made.").arg(name));
                    return -1;
                }
                return area.id();
            });
        if (location.id < 0)
            return false;
        placed.areaId = location.id;
        placed.newLocation = location.made;
        if (!m_assets.isEmpty()) {
            std::optional<qint64> day;
            if (row.purchaseDate.isValid())
                day = dayNumber(row.purchaseDate);
            placed.matchId =
                m_assets.value(matchKey(row.description, row.serialNumber, placed.video, day), 0);
        }
        return true;
    }

    CADODataBase &m_db;
    qint32 m_homeId;
    const QByteArray &m_bytes;
    const Settings &m_settings;
    bool m_saving;
    RowConverter m_converter;
    Names m_categories;
    Names m_areas;
    QHash<QString, qint32> m_assets;
    QString m_error;
};

// Adds assets with one prepared statement, ids taken from the allocator a block at a time.
class AssetInsert
{
public:
    AssetInsert(CADODataBase &db, qint32 homeId)
        : m_db(db)
        , m_homeId(homeId)
    {
    }
    ~AssetInsert() { sqlite3_finalize(m_stmt); }
    AssetInsert(const AssetInsert &) = delete;
    AssetInsert &operator=(const AssetInsert &) = delete;

    void expect(qint64 rows) { m_expected = rows; }

    // Returns the ids of the block not used, so that the counter ends right after the last row.
    bool finish()
    {
        if (m_next >= m_last)
            return true;
        const bool returned = RecordIds::giveBack(m_db, QStringLiteral("Assets"), m_next, m_last);
        m_next = m_last = 0;
        return returned;
    }

    bool add(const Walk::Placed &placed)
    {
        sqlite3 *handle = m_db.handle();
        if (!handle)
            return false;
        if (!m_stmt
            && sqlite3_prepare_v2(handle,
                                  "INSERT INTO Assets (AssetId, HomeId, AreaId, CategoryId, "
                                  "Description, PurchasePrice, PurchaseDate, CurrentValue, "
                                  "ReplacementValue, Vendor, Phone1, Phone2, MakeModel, "
                                  "SerialNumber, WarrantyExpiration, Picture2, Notes) VALUES "
                                  "(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, NULL, ?12, "
                                  "?13, ?14, ?15, ?16);",
                                  -1, &m_stmt, nullptr)
                != SQLITE_OK)
            return report(handle);
        if (m_next >= m_last) {
            // The rows the preview counted in one block, or blocks of a few thousand; the ids
            // left unused go back at the end.
            const qint64 wanted = m_expected > m_added ? m_expected - m_added : kBlock;
            const qint32 count = qint32(std::clamp<qint64>(wanted, 1, 1 << 24));
            if (!finish())
                return false;
            m_next = RecordIds::nextIds(m_db, QStringLiteral("Assets"), count);
            if (m_next <= 0)
                return false;
            m_last = m_next + count;
        }
        const Row &row = placed.values;
        // Texts as every save stores them: an empty one as NULL.
        // The texts stay in m_texts until the step, so the engine need not copy them.
        int held = 0;
        auto text = [this, &held](int at, const QString &value) {
            if (value.isEmpty()) {
                sqlite3_bind_null(m_stmt, at);
                return;
            }
            QByteArray &utf8 = m_texts[held++];
            utf8 = value.toUtf8();
            sqlite3_bind_text(m_stmt, at, utf8.constData(), int(utf8.size()), SQLITE_STATIC);
        };
        sqlite3_bind_int(m_stmt, 1, m_next);
        sqlite3_bind_int(m_stmt, 2, m_homeId);
        sqlite3_bind_int(m_stmt, 3, placed.areaId);
        sqlite3_bind_int(m_stmt, 4, placed.categoryId);
        text(5, row.description);
        sqlite3_bind_double(m_stmt, 6, row.purchasePrice);
        if (row.purchaseDate.isValid())
            sqlite3_bind_double(m_stmt, 7, COleDateTime::fromDate(row.purchaseDate).days());
        else
            sqlite3_bind_null(m_stmt, 7);
        sqlite3_bind_double(m_stmt, 8, row.currentValue);
        sqlite3_bind_double(m_stmt, 9, row.replacementValue);
        text(10, row.vendor);
        text(11, row.phone);
        text(12, row.makeModel);
        text(13, row.serialNumber);
        sqlite3_bind_double(m_stmt, 14, warrantyDays(placed));
        text(15, row.picture);
        text(16, row.notes);
        const int rc = sqlite3_step(m_stmt);
        sqlite3_reset(m_stmt);
        if (rc != SQLITE_DONE)
            return report(handle);
        ++m_next;
        ++m_added;
        return true;
    }

    // A video title keeps its release year there; any other asset without a warranty date the
    // date that stands for none, as its sheet saves it.
    static double warrantyDays(const Walk::Placed &placed)
    {
        const Row &row = placed.values;
        if (placed.video)
            return COleDateTime(releaseYear(row), 1, 1).days();
        if (row.warrantyExpires.isValid())
            return COleDateTime::fromDate(row.warrantyExpires).days();
        return CAsset::noWarrantyDate().days();
    }

private:
    bool report(sqlite3 *handle)
    {
        m_db.reportError(quint32(sqlite3_extended_errcode(handle)), QStringLiteral("SQLite"),
                         QString::fromUtf8(sqlite3_errmsg(handle)));
        return false;
    }

    static constexpr qint64 kBlock = 4096;

    CADODataBase &m_db;
    qint32 m_homeId;
    sqlite3_stmt *m_stmt = nullptr;
    QByteArray m_texts[8];
    qint32 m_next = 0;
    qint32 m_last = 0;
    qint64 m_expected = 0;
    qint64 m_added = 0;
};

// Writes the row's filled fields into the asset it matches; every other column stays as it is
// stored (a stored date left empty stays empty, where a load and save would write today).
class AssetUpdate
{
public:
    explicit AssetUpdate(CADODataBase &db)
        : m_db(db)
    {
    }
    ~AssetUpdate() { sqlite3_finalize(m_stmt); }
    AssetUpdate(const AssetUpdate &) = delete;
    AssetUpdate &operator=(const AssetUpdate &) = delete;

    bool write(const Walk::Placed &placed)
    {
        sqlite3 *handle = m_db.handle();
        if (!handle)
            return false;
        // Each column: its flag (?odd) says whether the row fills it, its value (?even) what.
        if (!m_stmt
            && sqlite3_prepare_v2(
                   handle,
                   "UPDATE Assets SET "
                   "Description=CASE WHEN ?1 THEN ?2 ELSE Description END, "
                   "CategoryId=CASE WHEN ?3 THEN ?4 ELSE CategoryId END, "
                   "AreaId=CASE WHEN ?5 THEN ?6 ELSE AreaId END, "
                   "MakeModel=CASE WHEN ?7 THEN ?8 ELSE MakeModel END, "
                   "SerialNumber=CASE WHEN ?9 THEN ?10 ELSE SerialNumber END, "
                   "Vendor=CASE WHEN ?11 THEN ?12 ELSE Vendor END, "
                   "Phone1=CASE WHEN ?13 THEN ?14 ELSE Phone1 END, "
                   "Notes=CASE WHEN ?15 THEN ?16 ELSE Notes END, "
                   "Picture2=CASE WHEN ?17 THEN ?18 ELSE Picture2 END, "
                   "PurchasePrice=CASE WHEN ?19 THEN ?20 ELSE PurchasePrice END, "
                   "CurrentValue=CASE WHEN ?21 THEN ?22 ELSE CurrentValue END, "
                   "ReplacementValue=CASE WHEN ?23 THEN ?24 ELSE ReplacementValue END, "
                   "PurchaseDate=CASE WHEN ?25 THEN ?26 ELSE PurchaseDate END, "
                   "WarrantyExpiration=CASE WHEN ?27 THEN ?28 ELSE WarrantyExpiration END "
                   "WHERE AssetId=?29;",
                   -1, &m_stmt, nullptr)
                != SQLITE_OK)
            return report(handle);
        const Row &row = placed.values;
        int at = 1;
        auto text = [&](Field field, const QString &value) {
            sqlite3_bind_int(m_stmt, at++, row.has(field));
            const QByteArray utf8 = value.toUtf8();
            sqlite3_bind_text(m_stmt, at++, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
        };
        auto number = [&](Field field, double value) {
            sqlite3_bind_int(m_stmt, at++, row.has(field));
            sqlite3_bind_double(m_stmt, at++, value);
        };
        auto id = [&](Field field, qint32 value) {
            sqlite3_bind_int(m_stmt, at++, row.has(field));
            sqlite3_bind_int(m_stmt, at++, value);
        };
        text(Field::Description, row.description);
        id(Field::Category, placed.categoryId);
        id(Field::Location, placed.areaId);
        text(Field::MakeModel, row.makeModel);
        text(Field::SerialNumber, row.serialNumber);
        text(Field::Vendor, row.vendor);
        text(Field::Phone, row.phone);
        text(Field::Notes, row.notes);
        text(Field::Picture, row.picture);
        number(Field::PurchasePrice, row.purchasePrice);
        number(Field::CurrentValue, row.currentValue);
        number(Field::ReplacementValue, row.replacementValue);
        number(Field::PurchaseDate,
               row.purchaseDate.isValid() ? COleDateTime::fromDate(row.purchaseDate).days() : 0);
        number(Field::WarrantyExpires,
               placed.video ? COleDateTime(releaseYear(row), 1, 1).days()
                            : (row.warrantyExpires.isValid()
                                   ? COleDateTime::fromDate(row.warrantyExpires).days()
                                   : 0));
        sqlite3_bind_int(m_stmt, at, placed.matchId);
        const int rc = sqlite3_step(m_stmt);
        sqlite3_reset(m_stmt);
        return rc == SQLITE_DONE || report(handle);
    }

private:
    bool report(sqlite3 *handle)
    {
        m_db.reportError(quint32(sqlite3_extended_errcode(handle)), QStringLiteral("SQLite"),
                         QString::fromUtf8(sqlite3_errmsg(handle)));
        return false;
    }

    CADODataBase &m_db;
    sqlite3_stmt *m_stmt = nullptr;
};

QString count(qint64 n, const QLocale &locale)
{
    return locale.toString(n);
}

QString plural(qint64 n, const char *one, const char *many, const QLocale &locale)
{
    return count(n, locale) + QLatin1Char(' ') + QLatin1String(n == 1 ? one : many);
}

// Raises the connection's page cache for the life of the object (to about twice the size of the
// text imported, at most 64 MiB), and puts it back after.
class LargerCache
{
public:
    LargerCache(CADODataBase &db, qint64 textBytes)
        : m_db(db)
    {
        sqlite3 *handle = db.handle();
        sqlite3_stmt *stmt = nullptr;
        const bool read = handle
            && sqlite3_prepare_v2(handle, "PRAGMA cache_size;", -1, &stmt, nullptr) == SQLITE_OK
            && sqlite3_step(stmt) == SQLITE_ROW;
        if (read)
            m_old = sqlite3_column_int(stmt, 0);
        sqlite3_finalize(stmt);
        if (!read)
            return;
        const qint64 wanted = std::min<qint64>(2 * textBytes / 1024, 64 * 1024);
        // Negative sizes are KiB, positive ones pages.
        const qint64 oldKiB = m_old < 0 ? -qint64(m_old) : qint64(m_old) * 4;
        if (wanted > oldKiB)
            m_set = db.Execute(sqlText("PRAGMA cache_size=%lld;", -static_cast<long long>(wanted)));
    }
    ~LargerCache()
    {
        if (m_set)
            m_db.Execute(sqlText("PRAGMA cache_size=%ld;", long(m_old)));
    }
    LargerCache(const LargerCache &) = delete;
    LargerCache &operator=(const LargerCache &) = delete;

private:
    CADODataBase &m_db;
    qint32 m_old = 0;
    bool m_set = false;
};

} // namespace

Start startingSettings(const QByteArray &bytes, const QLocale &locale)
{
    Start start;
    start.settings.locale = locale;
    const Detection found = detect(bytes);
    if (!found.error.isEmpty()) {
        start.error = found.error;
        return start;
    }
    start.settings.format = found.format;
    start.settings.separatorLine = found.separatorLine;
    CsvReader reader(bytes, found.format, found.separatorLine);
    Values values(locale);
    start.settings.format.headers = toFirstContent(reader)
        && (isExportTitle(reader.cells()) || looksLikeHeaders(reader.cells(), values));
    const Columns columns = readColumns(bytes, start.settings);
    if (!columns.error.isEmpty()) {
        start.error = columns.error;
        return start;
    }
    if (columns.headers.isEmpty()
        || std::all_of(columns.samples.cbegin(), columns.samples.cend(),
                       [](const QString &s) { return s.isEmpty(); })) {
        start.error = QStringLiteral("The file has no column to import: no row holds a value.");
        return start;
    }
    if (start.settings.format.headers)
        start.settings.fields = fieldsForHeaders(columns.headers);
    else
        start.settings.fields.assign(std::size_t(columns.headers.size()), Field::Ignore);
    return start;
}

Columns readColumns(const QByteArray &bytes, const Settings &settings)
{
    Columns columns;
    CsvReader reader(bytes, settings.format, settings.separatorLine);
    if (!toFirstContent(reader, &columns.exportedHome)) {
        columns.error = reader.error();
        return columns;
    }
    if (settings.format.headers) {
        for (const QString &header : reader.cells())
            columns.headers << header.trimmed();
    }
    // The sample of each column: its first value in the first rows; the column count is the
    // header's, or without headers the widest of those rows.
    constexpr int kSampleRows = 200;
    bool take = !settings.format.headers;
    for (int rows = 0; rows < kSampleRows;) {
        if (take && !reader.blank() && !isExportClosing(reader.cells())) {
            ++rows;
            const QStringList &cells = reader.cells();
            if (!settings.format.headers) {
                while (columns.headers.size() < cells.size())
                    columns.headers << columnName(int(columns.headers.size()));
            }
            while (columns.samples.size() < columns.headers.size())
                columns.samples << QString();
            for (int i = 0; i < std::min(cells.size(), columns.headers.size()); ++i) {
                if (columns.samples[i].isEmpty())
                    columns.samples[i] = cells[i].trimmed();
            }
        }
        take = true;
        if (!reader.next())
            break;
    }
    while (columns.samples.size() < columns.headers.size())
        columns.samples << QString();
    for (int i = 0; i < columns.headers.size(); ++i) {
        if (columns.headers[i].isEmpty())
            columns.headers[i] = columnName(i);
    }
    columns.error = reader.error();
    return columns;
}

Preview preview(CADODataBase &db, qint32 homeId, const QByteArray &bytes, const Settings &settings,
                int firstRows)
{
    Preview result;
    Walk walk(db, homeId, bytes, settings, false);
    const bool ok = walk.walk(result, [&](const Walk::Placed &placed) {
        if (int(result.first.size()) < firstRows)
            result.first.push_back({ placed.row, placed.values, placed.video, placed.matchId > 0,
                                     placed.newLocation, placed.newCategory });
        return true;
    });
    result.stopped = !ok && Busy::cancelled();
    if (!ok && !result.stopped && result.error.isEmpty())
        result.error = walk.error();
    return result;
}

Outcome run(CADODataBase &db, qint32 homeId, const QByteArray &bytes, const Settings &settings,
            qint64 expectedAdded)
{
    Outcome outcome;
    CTransaction transaction(db);
    if (!transaction.isActive()) {
        outcome.error =
            QStringLiteral("The data file could not be changed.\n\n") + db.GetLastError();
        return outcome;
    }
    // The pages the import changes stay in memory until the commit: a page cache too small for
    // them writes them out (and reads them back) in the middle of the transaction.
    const LargerCache cache(db, bytes.size());
    {
        AssetInsert insert(db, homeId);
        insert.expect(expectedAdded);
        AssetUpdate update(db);
        Walk walk(db, homeId, bytes, settings, true);
        const bool written = walk.walk(outcome, [&](const Walk::Placed &placed) {
            return placed.matchId > 0 ? update.write(placed) : insert.add(placed);
        });
        if (!written || !insert.finish()) {
            outcome.cancelled = Busy::cancelled();
            if (!outcome.cancelled && outcome.error.isEmpty())
                outcome.error = walk.error().isEmpty()
                    ? QStringLiteral("The assets could not be saved.\n\n") + db.GetLastError()
                    : walk.error();
            return outcome;
        }
    }
    if (!transaction.commit()) {
        outcome.error = QStringLiteral("The import could not be saved.\n\n") + db.GetLastError();
        return outcome;
    }
    outcome.done = true;
    return outcome;
}

QString previewText(const Summary &summary, const QLocale &locale)
{
    QString text = plural(summary.added, "row will be imported", "rows will be imported", locale);
    if (summary.updated > 0)
        text += QStringLiteral(", ")
            + plural(summary.updated, "will update a matching asset", "will update matching assets",
                     locale);
    text += QStringLiteral(", ") + count(summary.skippedRows, locale)
        + QStringLiteral(" will be skipped");
    const qint64 locations = summary.newLocations.size();
    const qint64 categories = summary.newCategories.size();
    if (locations > 0 || categories > 0) {
        text += QStringLiteral(", ");
        if (locations > 0)
            text += plural(locations, "location", "locations", locale);
        if (locations > 0 && categories > 0)
            text += QStringLiteral(" and ");
        if (categories > 0)
            text += plural(categories, "category", "categories", locale);
        text += QStringLiteral(" will be created");
    }
    return text;
}

QString outcomeText(const Outcome &outcome, const QString &home, const QLocale &locale)
{
    QString text =
        plural(outcome.added, "asset", "assets", locale) + QStringLiteral(" imported into ") + home;
    if (outcome.updated > 0)
        text += QStringLiteral(", ") + plural(outcome.updated, "asset", "assets", locale)
            + QStringLiteral(" updated");
    text += QStringLiteral(", ") + plural(outcome.skippedRows, "row", "rows", locale)
        + QStringLiteral(" skipped");
    return text;
}

bool writeSkipped(const QByteArray &bytes, const Settings &settings, const std::vector<Skip> &skips,
                  QIODevice &out, QString *error)
{
    QByteArray text("\xEF\xBB\xBF");
    auto line = [&text](const QStringList &cells) {
        for (int i = 0; i < cells.size(); ++i) {
            if (i > 0)
                text.append(',');
            text.append(InventoryExport::quoted(cells[i]).toUtf8());
        }
        text.append("\r\n");
    };
    const Columns columns = readColumns(bytes, settings);
    line(QStringList { QStringLiteral("Row"), QStringLiteral("Why skipped") } + columns.headers);
    CsvReader reader(bytes, settings.format, settings.separatorLine);
    for (std::size_t i = 0; i < skips.size();) {
        const Skip &first = skips[i];
        QStringList reasons;
        for (; i < skips.size() && skips[i].row == first.row; ++i) {
            const Skip &skip = skips[i];
            const QString where = skip.column >= 0 && skip.column < columns.headers.size()
                ? columns.headers[skip.column] + QStringLiteral(": ")
                : QString();
            reasons << where + skip.why;
        }
        reader.seek(first.offset, first.row);
        if (!reader.next()) {
            if (error)
                *error = reader.error();
            return false;
        }
        line(QStringList { QString::number(first.row), reasons.join(QStringLiteral("; ")) }
             + reader.cells());
    }
    if (out.write(text) != text.size()) {
        if (error)
            *error = out.errorString();
        return false;
    }
    return true;
}

QString skippedFileName(const QString &source)
{
    const QFileInfo info(source);
    return info.dir().filePath(info.completeBaseName() + QStringLiteral(" skipped rows.csv"));
}

} // namespace Import
