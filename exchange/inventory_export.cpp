#include "exchange/inventory_export.h"

#include "db/ado_database.h"
#include "db/ado_recordset.h"
#include "db/lookups.h"
#include "db/sql_text.h"
#include "format/display_text.h"
#include "format/string_table.h"
#include "platform/busy.h"
#include "platform/ole_date.h"
#include "records/asset.h"

#include <QHash>
#include <QIODevice>
#include <sqlite3.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <iterator>

namespace InventoryExport {
namespace {

constexpr qsizetype kChunk = 256 * 1024;

// How a column's cells are written.
enum class Cell { Text, Money, Date, Warranty };

// The report's columns in order: the heading, the column of the report's statement the cells
// come from, how they are written, and whether a video title leaves them empty. A title keeps
// its genre in Make/Model and its release year in the warranty date; the store, location,
// warranty, serial and phone mean nothing for it.
struct Column
{
    const char *heading;
    const char *source;
    Cell cell;
    bool blankForVideo;
};

constexpr Column kColumns[] = {
    { "Category", "Category", Cell::Text, false },
    { "Asset", "Description", Cell::Text, false },
    { "Current Value", "CurrentValue", Cell::Money, false },
    { "Purchase Price", "PurchasePrice", Cell::Money, false },
    { "Purchase Date", "PurchaseDate", Cell::Date, false },
    { "Make/Model", "MakeModel", Cell::Text, false },
    { "Dealer/Store", "Vendor", Cell::Text, true },
    { "Location", "Location", Cell::Text, true },
    { "Replacement Value", "ReplacementValue", Cell::Money, false },
    { "Warranty Expires", "WarrantyExpiration", Cell::Warranty, true },
    { "Serial #", "SerialNumber", Cell::Text, true },
    { "Phone #", "Phone1", Cell::Text, true },
};
constexpr int kColumnCount = int(std::size(kColumns));

// Appends text (UTF-8) as one quoted field: a quote inside is doubled, so a spreadsheet reads
// the value back unchanged instead of shifting every later column.
void appendQuoted(QByteArray &out, const char *text, qsizetype length)
{
    out.append('"');
    const char *end = text + length;
    while (text < end) {
        const char *quote = static_cast<const char *>(std::memchr(text, '"', size_t(end - text)));
        if (!quote) {
            out.append(text, end - text);
            break;
        }
        out.append(text, quote - text + 1);
        out.append('"');
        text = quote + 1;
    }
    out.append('"');
}

void appendQuoted(QByteArray &out, const QByteArray &text)
{
    appendQuoted(out, text.constData(), text.size());
}

// A stored text as a field. Spreadsheets run a cell that begins with one of these as a formula
// (a synced handheld's "=HYPERLINK(...)" among them); the apostrophe makes it plain text.
void appendText(QByteArray &out, const char *text, qsizetype length)
{
    const qsizetype at = out.size();
    appendQuoted(out, text, length);
    if (length > 0 && text[0] != '\0' && std::strchr("=+-@\t\r", text[0]))
        out.insert(at + 1, '\'');
}

// The report's statement, read column by column as it steps: 100,000 assets are never held
// in memory at once. Cells follow the recordset's reading rules (NULL reads as 0 or empty).
class ReportRows
{
public:
    ReportRows(CADODataBase &db, qint32 homeId)
        : m_db(db.handle())
    {
        if (!m_db) {
            m_error = QStringLiteral("The data file is not open.");
            return;
        }
        const QByteArray sql =
            sqlText(Strings::load(Strings::InventoryReportQuery).toLatin1().constData(), homeId)
                .toUtf8();
        if (sqlite3_prepare_v2(m_db, sql.constData(), int(sql.size()), &m_stmt, nullptr)
            != SQLITE_OK) {
            m_error = QString::fromUtf8(sqlite3_errmsg(m_db));
            return;
        }
        for (int i = 0, n = sqlite3_column_count(m_stmt); i < n; ++i)
            m_index.insert(QString::fromUtf8(sqlite3_column_name(m_stmt, i)), i);
    }
    ~ReportRows() { sqlite3_finalize(m_stmt); }
    ReportRows(const ReportRows &) = delete;
    ReportRows &operator=(const ReportRows &) = delete;

    bool ok() const { return m_stmt != nullptr && m_error.isEmpty(); }
    QString error() const { return m_error; }

    int column(const char *name)
    {
        const int at = m_index.value(QLatin1String(name), -1);
        if (at < 0 && m_error.isEmpty())
            m_error = QStringLiteral("The report has no column %1.").arg(QLatin1String(name));
        return at;
    }

    // Steps to the next row; false at the end or on an error (then error() says which).
    bool next()
    {
        const int rc = sqlite3_step(m_stmt);
        if (rc == SQLITE_ROW)
            return true;
        if (rc != SQLITE_DONE)
            m_error = QString::fromUtf8(sqlite3_errmsg(m_db));
        return false;
    }

    bool isNull(int col) const { return sqlite3_column_type(m_stmt, col) == SQLITE_NULL; }
    qint32 number(int col) const { return qint32(sqlite3_column_int64(m_stmt, col)); }
    double real(int col) const { return sqlite3_column_double(m_stmt, col); }
    // The cell's UTF-8 text, valid until the next step; NULL reads as empty.
    std::pair<const char *, qsizetype> text(int col) const
    {
        const auto *bytes = reinterpret_cast<const char *>(sqlite3_column_text(m_stmt, col));
        return { bytes ? bytes : "", bytes ? sqlite3_column_bytes(m_stmt, col) : 0 };
    }

private:
    sqlite3 *m_db = nullptr;
    sqlite3_stmt *m_stmt = nullptr;
    QHash<QString, int> m_index;
    QString m_error;
};

// The money format of a locale, learned once from the locale's own currency texts and then
// applied by hand: the locale's formatting costs microseconds a value, and a report has three
// money fields per asset. The learned form is used only when it reproduces the locale's text
// for a set of probe values; any locale it cannot mimic (other digits, other grouping, other
// decimals) keeps the locale's own formatting.
class MoneyFormat
{
public:
    explicit MoneyFormat(const QLocale &locale)
        : m_locale(locale)
    {
        learn();
    }

    void append(QByteArray &out, float value)
    {
        if (!m_usable || !std::isfinite(value)) {
            appendQuoted(out, moneyText(value, m_locale).toUtf8());
            return;
        }
        out.append('"');
        appendFast(out, value);
        out.append('"');
    }

    QByteArray fast(float value)
    {
        QByteArray out;
        appendFast(out, value);
        return out;
    }

private:
    // The value's cents as digits, rounded as the program rounds money: from the float's
    // shortest decimal form, half away from zero.
    static bool cents(float value, QByteArray &integer, char decimals[2])
    {
        char buffer[64];
        const auto result =
            std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
        const char *p = buffer;
        const char *end = result.ptr;
        const bool negative = p < end && *p == '-';
        if (negative)
            ++p;
        const char *point = std::find(p, end, '.');
        integer = QByteArray(p, point - p);
        const char *fraction = point < end ? point + 1 : end;
        const qsizetype fractionLength = end - fraction;
        decimals[0] = fractionLength > 0 ? fraction[0] : '0';
        decimals[1] = fractionLength > 1 ? fraction[1] : '0';
        if (fractionLength > 2 && fraction[2] >= '5') {
            // Carry through the decimals and the integer part.
            int i = 1;
            for (; i >= 0; --i) {
                if (decimals[i] != '9') {
                    ++decimals[i];
                    break;
                }
                decimals[i] = '0';
            }
            if (i < 0) {
                qsizetype j = integer.size() - 1;
                for (; j >= 0; --j) {
                    if (integer[j] != '9') {
                        ++integer[j];
                        break;
                    }
                    integer[j] = '0';
                }
                if (j < 0)
                    integer.prepend('1');
            }
        }
        if (integer.isEmpty())
            integer = "0";
        const bool zero = integer == "0" && decimals[0] == '0' && decimals[1] == '0';
        return negative && !zero;
    }

    void appendFast(QByteArray &out, float value)
    {
        QByteArray integer;
        char decimals[2];
        const bool negative = cents(value, integer, decimals);
        out.append(negative ? m_negativePrefix : m_prefix);
        const qsizetype n = integer.size();
        for (qsizetype i = 0; i < n; ++i) {
            if (i > 0 && (n - i) % 3 == 0)
                out.append(m_group);
            out.append(integer[i]);
        }
        out.append(m_decimal);
        out.append(decimals, 2);
        out.append(negative ? m_negativeSuffix : m_suffix);
    }

    void learn()
    {
        m_group = m_locale.groupSeparator().toUtf8();
        m_decimal = m_locale.decimalPoint().toUtf8();
        const QByteArray number = "1" + m_group + "234" + m_group + "567" + m_decimal + "50";
        auto around = [&](float probe, QByteArray &prefix, QByteArray &suffix) {
            const QByteArray text = moneyText(probe, m_locale).toUtf8();
            const qsizetype at = text.indexOf(number);
            if (at < 0 || text.indexOf(number, at + 1) >= 0)
                return false;
            prefix = text.left(at);
            suffix = text.mid(at + number.size());
            return !prefix.contains('"') && !suffix.contains('"');
        };
        if (!around(1234567.5f, m_prefix, m_suffix)
            || !around(-1234567.5f, m_negativePrefix, m_negativeSuffix))
            return;
        const float probes[] = { 0.0f,     -0.0f,   0.004f,   -0.004f,   0.005f,    1.0f,
                                 2.675f,   12.5f,   99.995f,  999.0f,    1000.0f,   -1000.5f,
                                 1234.56f, 80.5f,   -12.5f,   100000.0f, 999999.9f, 4999.99f,
                                 1.0e7f,   3.0e-7f, 65432.1f, -7.01f };
        for (float probe : probes) {
            if (fast(probe) != moneyText(probe, m_locale).toUtf8())
                return;
        }
        m_usable = true;
    }

    QLocale m_locale;
    bool m_usable = false;
    QByteArray m_prefix, m_suffix, m_negativePrefix, m_negativeSuffix, m_group, m_decimal;
};

// Dates repeat a great deal across an inventory (and video titles share 1 January of a few
// years); each distinct day is formatted once per report.
class DateTexts
{
public:
    explicit DateTexts(const QLocale &locale)
        : m_locale(locale)
    {
    }

    struct Day
    {
        QByteArray shortText;
        bool noWarranty = false; // the date that stands for "no warranty date"
    };

    const Day &date(double days)
    {
        quint64 key;
        std::memcpy(&key, &days, sizeof key);
        auto it = m_dates.constFind(key);
        if (it == m_dates.constEnd()) {
            if (m_dates.size() > kCacheLimit)
                m_dates.clear();
            const COleDateTime when(days);
            it = m_dates.insert(
                key,
                Day { dateText(when, false, m_locale).toUtf8(), CAsset::isNoWarrantyDate(when) });
        }
        return *it;
    }

private:
    static constexpr qsizetype kCacheLimit = 100000;
    QLocale m_locale;
    QHash<quint64, Day> m_dates;
};

// The rows the report's statement yields, for the progress window's bar; 0 when unknown.
qint64 assetCount(CADODataBase &db, qint32 homeId)
{
    sqlite3 *handle = db.handle();
    sqlite3_stmt *stmt = nullptr;
    qint64 count = 0;
    if (handle
        && sqlite3_prepare_v2(handle, "SELECT COUNT(*) FROM Assets WHERE HomeId=?;", -1, &stmt,
                              nullptr)
            == SQLITE_OK
        && sqlite3_bind_int(stmt, 1, homeId) == SQLITE_OK && sqlite3_step(stmt) == SQLITE_ROW)
        count = sqlite3_column_int64(stmt, 0);
    sqlite3_finalize(stmt);
    return count;
}

bool flush(QIODevice &out, QByteArray &buffer, QString *error)
{
    if (buffer.isEmpty())
        return true;
    if (out.write(buffer) != buffer.size()) {
        if (error)
            *error = out.errorString();
        return false;
    }
    buffer.clear();
    return true;
}

} // namespace

std::vector<Category> assetCategories(CADODataBase &db)
{
    std::vector<Category> categories;
    CADORecordset rs(db);
    if (!rs.Open(sqlText("SELECT CategoryId, Description FROM Categories WHERE CategoryType=%d "
                         "ORDER BY Description;",
                         int(Lookups::AssetCategory))))
        return categories;
    for (; !rs.IsEof(); rs.MoveNext()) {
        Category c;
        rs.GetLong(0, c.id);
        rs.GetString(1, c.description);
        categories.push_back(c);
    }
    return categories;
}

bool CategoryChoice::includes(qint32 categoryId) const
{
    for (const Row &row : m_rows) {
        if (row.id == categoryId)
            return row.ticked;
    }
    return true;
}

QString quoted(const QString &text)
{
    QByteArray out;
    appendQuoted(out, text.toUtf8());
    return QString::fromUtf8(out);
}

QString proposedFileName(const QString &homeDescription)
{
    // A slash would make part of the home's name a folder the dialog then starts in.
    QString name = homeDescription + QStringLiteral(" Inventory.csv");
    name.replace(QLatin1Char('/'), QLatin1Char('-'));
    return name;
}

bool write(CADODataBase &db, const Report &report, QIODevice &out, QString *error)
{
    ReportRows rows(db, report.homeId);
    const int categoryId = rows.column("CategoryId");
    int source[kColumnCount];
    for (int i = 0; i < kColumnCount; ++i)
        source[i] = rows.column(kColumns[i].source);
    if (!rows.ok()) {
        if (error)
            *error = rows.error();
        return false;
    }

    MoneyFormat money(report.locale);
    DateTexts dates(report.locale);
    QByteArray buffer;
    buffer.reserve(kChunk + 4096);
    // The byte-order mark tells spreadsheet programs the text is UTF-8, so accented and
    // non-Latin names open as typed rather than in the reader's legacy code page.
    buffer.append("\xEF\xBB\xBF");
    appendQuoted(buffer,
                 (QStringLiteral("Home Inventory Report for ") + report.homeDescription).toUtf8());
    buffer.append("\r\n\r\n");
    for (int i = 0; i < kColumnCount; ++i) {
        if (i > 0)
            buffer.append(',');
        appendQuoted(buffer, kColumns[i].heading, qsizetype(std::strlen(kColumns[i].heading)));
    }
    buffer.append("\r\n");

    auto textField = [&](int col) {
        const auto [bytes, length] = rows.text(col);
        appendText(buffer, bytes, length);
    };
    auto dateField = [&](int col, bool warranty) {
        if (rows.isNull(col)) {
            buffer.append("\"\"");
            return;
        }
        const DateTexts::Day &day = dates.date(rows.real(col));
        if (warranty && day.noWarranty)
            buffer.append("\"\"");
        else
            appendQuoted(buffer, day.shortText);
    };
    // The records hold money in single precision; the report shows what the sheets show.
    auto moneyField = [&](int col) { money.append(buffer, float(rows.real(col))); };

    // The statement sorts the whole inventory before its first row: the engine reports on that
    // (a busy indicator), then every row moves the bar. Cancelled, the statement stops.
    const qint64 total = assetCount(db, report.homeId);
    qint64 done = 0;
    Busy::EngineProgress engine(db);
    while (rows.next()) {
        if (!Busy::step(++done, total)) {
            if (error)
                *error = QStringLiteral("The export was cancelled.");
            return false;
        }
        const qint32 id = rows.isNull(categoryId) ? 0 : rows.number(categoryId);
        if (!report.categories.includes(id))
            continue;
        const bool video = id == Lookups::kVideoCategoryId;
        for (int i = 0; i < kColumnCount; ++i) {
            if (i > 0)
                buffer.append(',');
            const Column &column = kColumns[i];
            if (video && column.blankForVideo) {
                buffer.append("\"\"");
                continue;
            }
            switch (column.cell) {
            case Cell::Text:
                textField(source[i]);
                break;
            case Cell::Money:
                moneyField(source[i]);
                break;
            case Cell::Date:
                dateField(source[i], false);
                break;
            case Cell::Warranty:
                dateField(source[i], true);
                break;
            }
        }
        buffer.append("\r\n");
        if (buffer.size() >= kChunk && !flush(out, buffer, error))
            return false;
    }
    if (!rows.ok()) {
        if (error)
            *error = Busy::cancelled() ? QStringLiteral("The export was cancelled.") : rows.error();
        return false;
    }

    buffer.append("\r\n");
    appendQuoted(buffer,
                 (QStringLiteral("Created by Domelio on ")
                  + dateText(COleDateTime::fromDate(report.today), true, report.locale))
                     .toUtf8());
    return flush(out, buffer, error);
}

} // namespace InventoryExport
