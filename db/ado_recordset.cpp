#include "db/ado_recordset.h"

#include "db/ado_database.h"
#include "db/ado_error.h"
#include "platform/busy.h"

#include <QDateTime>
#include <cmath>
#include <limits>
#include <sqlite3.h>

namespace {

using Kind = DbValue::Kind;

const QString kSource = QStringLiteral("Domelio data access");

Kind kindOfDeclaredType(const char *declared)
{
    if (!declared)
        return Kind::Empty;
    const QByteArray t = QByteArray(declared).trimmed().toUpper();
    if (t == "LONG" || t == "INTEGER" || t == "INT" || t == "COUNTER")
        return Kind::Long;
    if (t == "SHORT" || t == "SMALLINT")
        return Kind::Short;
    if (t == "DOUBLE" || t == "REAL" || t == "FLOAT")
        return Kind::Double;
    if (t == "SINGLE")
        return Kind::Single;
    if (t == "DATETIME" || t == "DATE")
        return Kind::Date;
    if (t == "BIT" || t == "BOOLEAN" || t == "YESNO")
        return Kind::Boolean;
    if (t == "BYTE")
        return Kind::Byte;
    if (t == "DECIMAL" || t == "NUMERIC" || t == "CURRENCY" || t == "MONEY")
        return Kind::Decimal;
    return Kind::Text;
}

// A date kept as text (written by another tool): "yyyy-MM-dd" with an optional time.
bool parseDateText(const QString &text, double &days)
{
    for (const char *format : { "yyyy-MM-dd HH:mm:ss", "yyyy-MM-ddTHH:mm:ss", "yyyy-MM-dd" }) {
        const QDateTime dt = QDateTime::fromString(text, QLatin1String(format));
        if (dt.isValid()) {
            days = COleDateTime::fromDateTime(dt).days();
            return true;
        }
    }
    return false;
}

DbValue readCell(sqlite3_stmt *stmt, int i, Kind declared)
{
    const int storage = sqlite3_column_type(stmt, i);
    if (storage == SQLITE_NULL)
        return DbValue::null();
    if (declared == Kind::Empty) { // a computed column: the value decides
        switch (storage) {
        case SQLITE_INTEGER: {
            const qint64 v = sqlite3_column_int64(stmt, i);
            if (v >= std::numeric_limits<qint32>::min() && v <= std::numeric_limits<qint32>::max())
                return DbValue::ofLong(qint32(v));
            return DbValue { Kind::Decimal, 0, double(v), {} };
        }
        case SQLITE_FLOAT:
            return DbValue::ofDouble(sqlite3_column_double(stmt, i));
        default:
            break;
        }
        return DbValue::ofText(
            QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, i)),
                              sqlite3_column_bytes(stmt, i)));
    }
    switch (declared) {
    case Kind::Long:
        return DbValue::ofLong(qint32(quint32(sqlite3_column_int64(stmt, i))));
    case Kind::Short:
        return DbValue::ofShort(qint16(quint16(sqlite3_column_int64(stmt, i))));
    case Kind::Byte:
        return DbValue { Kind::Byte, quint8(sqlite3_column_int64(stmt, i)), 0.0, {} };
    case Kind::Boolean:
        return DbValue { Kind::Boolean, sqlite3_column_int64(stmt, i) != 0, 0.0, {} };
    case Kind::Single:
    case Kind::Double:
    case Kind::Decimal:
        return DbValue { declared, 0, sqlite3_column_double(stmt, i), {} };
    case Kind::Date:
        if (storage == SQLITE_TEXT) {
            const QString text =
                QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, i)));
            double days = 0;
            return parseDateText(text, days) ? DbValue::ofDate(days) : DbValue::ofText(text);
        }
        return DbValue::ofDate(sqlite3_column_double(stmt, i));
    default:
        return DbValue::ofText(
            QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, i)),
                              sqlite3_column_bytes(stmt, i)));
    }
}

// Floating values as text: 10 significant digits; whole numbers keep their decimal point
// ("100."), as the data file's other readers have always shown them.
QString floatText(double v)
{
    QString s = QString::asprintf("%.10g", v);
    if (std::isfinite(v) && !s.contains(QLatin1Char('.')) && !s.contains(QLatin1Char('e')))
        s += QLatin1Char('.');
    return s;
}

QString quoteIdentifier(const QString &name)
{
    QString q = name;
    q.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + q + QLatin1Char('"');
}

bool startsWithSelect(const QString &query)
{
    return query.size() >= 7
        && query.left(7).compare(QLatin1String("select "), Qt::CaseInsensitive) == 0;
}

} // namespace

CADORecordset::CADORecordset(CADODataBase &db)
    : m_db(db)
{
}

CADORecordset::~CADORecordset()
{
    Close();
}

void CADORecordset::Close()
{
    m_open = false;
    m_columns.clear();
    m_rows.clear();
    m_rowids.clear();
    m_table.clear();
    m_row = 0;
    m_saved.clear();
    m_editStatus = dbEditNone;
}

bool CADORecordset::Open(const QString &sql, int option)
{
    Close();
    if (!sql.isEmpty())
        m_query = sql;
    qsizetype start = 0;
    while (start < m_query.size() && m_query.at(start).isSpace())
        ++start;
    m_query = m_query.mid(start);

    const bool isSelect = startsWithSelect(m_query);
    if (!isSelect && option != openQuery)
        return false;
    sqlite3 *db = m_db.handle();
    if (!db) {
        reportError(AdoError::ObjectClosed, kSource, QStringLiteral("The connection is closed."));
        return false;
    }

    // For a plain SELECT, ask for each row's rowid too, so edited rows can be written back.
    // Joins, DISTINCT, aggregates and the like refuse it or yield rows from several tables; the
    // result is then read-only.
    sqlite3_stmt *stmt = nullptr;
    const char *tail = nullptr; // points into text
    QByteArray text;
    bool withRowid = false;
    if (isSelect
        && !m_query.mid(7).trimmed().startsWith(QLatin1String("distinct"), Qt::CaseInsensitive)) {
        text = "SELECT _rowid_ AS \"domelio rowid\", " + m_query.mid(7).toUtf8();
        if (sqlite3_prepare_v2(db, text.constData(), int(text.size()), &stmt, &tail) == SQLITE_OK
            && stmt) {
            withRowid = true;
            QString table;
            for (int i = 1; i < sqlite3_column_count(stmt) && withRowid; ++i) {
                const char *t = sqlite3_column_table_name(stmt, i);
                if (!t || (!table.isEmpty() && table != QString::fromUtf8(t)))
                    withRowid = false;
                else
                    table = QString::fromUtf8(t);
            }
            if (withRowid)
                m_table = table;
        }
        if (!withRowid) {
            sqlite3_finalize(stmt);
            stmt = nullptr;
        }
    }
    if (!stmt) {
        text = m_query.toUtf8();
        const int rc = sqlite3_prepare_v2(db, text.constData(), int(text.size()), &stmt, &tail);
        if (rc != SQLITE_OK) {
            reportEngineError();
            return false;
        }
        if (!stmt) {
            reportError(AdoError::InvalidArgument, kSource,
                        QStringLiteral("The statement is empty."));
            return false;
        }
    }
    if (tail && !QByteArray(tail).trimmed().isEmpty()) {
        sqlite3_finalize(stmt);
        reportError(AdoError::InvalidArgument, kSource,
                    QStringLiteral("Only one statement may be run at a time."));
        return false;
    }

    const int first = withRowid ? 1 : 0;
    const int count = sqlite3_column_count(stmt);
    for (int i = first; i < count; ++i) {
        Column c;
        c.name = QString::fromUtf8(sqlite3_column_name(stmt, i));
        c.table = QString::fromUtf8(sqlite3_column_table_name(stmt, i));
        c.origin = QString::fromUtf8(sqlite3_column_origin_name(stmt, i));
        c.declared = kindOfDeclaredType(sqlite3_column_decltype(stmt, i));
        m_columns.push_back(std::move(c));
    }
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        std::vector<DbValue> row;
        row.reserve(m_columns.size());
        for (int i = first; i < count; ++i)
            row.push_back(readCell(stmt, i, m_columns[size_t(i - first)].declared));
        m_rows.push_back(std::move(row));
        if (withRowid)
            m_rowids.push_back(sqlite3_column_int64(stmt, 0));
    }
    if (rc != SQLITE_DONE) {
        reportEngineError();
        sqlite3_finalize(stmt);
        Close();
        return false;
    }
    sqlite3_finalize(stmt);
    m_saved.assign(m_columns.size(), std::nullopt);
    m_open = true;
    return true;
}

void CADORecordset::MoveNext()
{
    if (m_open && m_row < m_rows.size()) {
        // Edits that were never saved must not stay behind in the snapshot as if stored.
        discardEdits();
        ++m_row;
    }
    // A long walk through the rows keeps a progress window alive.
    Busy::tick();
}

QString CADORecordset::GetFieldName(int index) const
{
    return index >= 0 && size_t(index) < m_columns.size() ? m_columns[size_t(index)].name
                                                          : QString();
}

int CADORecordset::columnIndex(const QString &name)
{
    for (size_t i = 0; i < m_columns.size(); ++i) {
        if (m_columns[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    }
    reportError(AdoError::ItemNotFound, kSource,
                QStringLiteral("Item cannot be found in the collection corresponding to the "
                               "requested name or ordinal (%1).")
                    .arg(name));
    return -1;
}

const DbValue *CADORecordset::cell(const QString &column)
{
    const int index = columnIndex(column);
    return index >= 0 ? cell(index) : nullptr;
}

const DbValue *CADORecordset::cell(int index)
{
    if (!m_open) {
        reportError(AdoError::ObjectClosed, kSource, QStringLiteral("The recordset is closed."));
        return nullptr;
    }
    if (index < 0 || size_t(index) >= m_columns.size()) {
        reportError(AdoError::ItemNotFound, kSource,
                    QStringLiteral("No column with the ordinal %1.").arg(index));
        return nullptr;
    }
    if (IsEof()) {
        reportError(AdoError::NoCurrentRecord, kSource,
                    QStringLiteral("Either BOF or EOF is True, or the current record has been "
                                   "deleted. Requested operation requires a current record."));
        return nullptr;
    }
    return &m_rows[m_row][size_t(index)];
}

bool CADORecordset::GetLong(const QString &column, qint32 &value)
{
    const int index = columnIndex(column);
    return index >= 0 && GetLong(index, value);
}

bool CADORecordset::GetLong(int index, qint32 &value)
{
    const DbValue *v = cell(index);
    if (!v)
        return false;
    switch (v->kind) {
    case Kind::Empty:
    case Kind::Null:
        value = 0;
        return true;
    case Kind::Short:
    case Kind::Long:
    case Kind::Byte:
        value = qint32(v->integer);
        return true;
    case Kind::Boolean:
        value = v->integer ? -1 : 0;
        return true;
    case Kind::Single:
    case Kind::Double:
    case Kind::Date:
    case Kind::Decimal:
        // Whole part of a floating value that fits; anything else is refused rather than
        // reinterpreted.
        if (std::isfinite(v->real) && std::fabs(v->real) < 2147483648.0) {
            value = qint32(std::trunc(v->real));
            return true;
        }
        break;
    case Kind::Text:
        break;
    }
    reportError(AdoError::TypeMismatch, kSource, QStringLiteral("The value is not a number."));
    return false;
}

bool CADORecordset::GetInt(const QString &column, int &value)
{
    const DbValue *v = cell(column);
    if (!v)
        return false;
    switch (v->kind) {
    case Kind::Empty:
    case Kind::Null:
        value = 0;
        return true;
    case Kind::Short:
    case Kind::Byte:
        value = int(v->integer);
        return true;
    case Kind::Boolean:
        value = v->integer ? -1 : 0;
        return true;
    default:
        value = 0;
        return false;
    }
}

bool CADORecordset::GetDouble(const QString &column, double &value)
{
    const int index = columnIndex(column);
    return index >= 0 && GetDouble(index, value);
}

bool CADORecordset::GetDouble(int index, double &value)
{
    const DbValue *v = cell(index);
    if (!v)
        return false;
    switch (v->kind) {
    case Kind::Empty:
    case Kind::Null:
        value = 0.0;
        return true;
    case Kind::Short:
    case Kind::Long:
    case Kind::Byte:
        value = double(v->integer);
        return true;
    case Kind::Boolean:
        value = v->integer ? -1.0 : 0.0;
        return true;
    case Kind::Single:
    case Kind::Double:
    case Kind::Date:
    case Kind::Decimal:
        value = v->real;
        return true;
    case Kind::Text:
        break;
    }
    reportError(AdoError::TypeMismatch, kSource, QStringLiteral("The value is not a number."));
    return false;
}

bool CADORecordset::GetFloat(const QString &column, float &value)
{
    double d = value;
    if (!GetDouble(column, d))
        return false;
    value = float(d);
    return true;
}

bool CADORecordset::GetString(const QString &column, QString &value)
{
    const int index = columnIndex(column);
    return index >= 0 && GetString(index, value);
}

bool CADORecordset::GetString(int index, QString &value)
{
    const DbValue *v = cell(index);
    if (!v)
        return false;
    switch (v->kind) {
    case Kind::Empty:
    case Kind::Null:
        value.clear();
        return true;
    case Kind::Short:
    case Kind::Long:
    case Kind::Byte:
        value = QString::number(v->integer);
        return true;
    case Kind::Single:
    case Kind::Double:
        value = floatText(v->real);
        return true;
    case Kind::Date:
        value = COleDateTime(v->real).toIsoText();
        return true;
    case Kind::Text:
        value = v->text;
        return true;
    case Kind::Boolean:
    case Kind::Decimal:
        break;
    }
    reportError(AdoError::TypeMismatch, kSource,
                QStringLiteral("The value cannot be read as text."));
    return false;
}

bool CADORecordset::GetDate(const QString &column, COleDateTime &value)
{
    const DbValue *v = cell(column);
    if (!v)
        return false;
    if (v->isNullOrEmpty())
        return true;
    if (v->kind == Kind::Date) {
        value = COleDateTime(v->real);
        return true;
    }
    reportError(AdoError::TypeMismatch, kSource, QStringLiteral("The value is not a date."));
    return false;
}

bool CADORecordset::store(const QString &column, DbValue value)
{
    if (m_editStatus != dbEdit)
        return false;
    const int index = columnIndex(column);
    if (index < 0)
        return false;
    if (IsEof()) {
        cell(index); // records the no-current-row error
        return false;
    }
    DbValue &current = m_rows[m_row][size_t(index)];
    if (!m_saved[size_t(index)])
        m_saved[size_t(index)] = current;
    current = std::move(value);
    return true;
}

bool CADORecordset::SetString(const QString &column, const QString &value)
{
    return store(column, value.isEmpty() ? DbValue::null() : DbValue::ofText(value));
}

bool CADORecordset::SetInt(const QString &column, int value)
{
    // Kept as a 16-bit value: larger numbers keep only their low 16 bits.
    return store(column, DbValue::ofShort(qint16(quint16(quint32(value)))));
}

bool CADORecordset::SetLong(const QString &column, qint32 value)
{
    return store(column, DbValue::ofLong(value));
}

bool CADORecordset::SetDouble(const QString &column, double value)
{
    return store(column, DbValue::ofDouble(value));
}

bool CADORecordset::SetDate(const QString &column, const COleDateTime &value)
{
    if (!value.isValid() || !std::isfinite(value.days())) {
        if (m_editStatus == dbEdit)
            reportError(AdoError::InvalidArgument, kSource,
                        QStringLiteral("The date is not valid."));
        return false;
    }
    return store(column, DbValue::ofDate(value.days()));
}

bool CADORecordset::Update()
{
    if (m_editStatus != dbEdit)
        return true;
    m_editStatus = dbEditNone;
    if (IsEof()) {
        reportError(AdoError::NoCurrentRecord, kSource,
                    QStringLiteral("There is no current row to save."));
        return false;
    }
    std::vector<size_t> changed;
    for (size_t i = 0; i < m_saved.size(); ++i) {
        if (m_saved[i])
            changed.push_back(i);
    }
    if (changed.empty())
        return true;
    const bool written = writeBack(changed);
    if (written)
        std::fill(m_saved.begin(), m_saved.end(), std::nullopt);
    else
        discardEdits(); // the row reads again as the file holds it
    return written;
}

void CADORecordset::discardEdits()
{
    if (m_row >= m_rows.size())
        return;
    for (size_t i = 0; i < m_saved.size(); ++i) {
        if (m_saved[i]) {
            m_rows[m_row][i] = std::move(*m_saved[i]);
            m_saved[i].reset();
        }
    }
}

bool CADORecordset::writeBack(const std::vector<size_t> &changed)
{
    if (m_rowids.empty()) {
        reportError(AdoError::NotUpdatable, kSource,
                    QStringLiteral("Only rows of a single-table query can be saved."));
        return false;
    }
    QString sql = QStringLiteral("UPDATE ") + quoteIdentifier(m_table) + QStringLiteral(" SET ");
    for (size_t n = 0; n < changed.size(); ++n) {
        if (n)
            sql += QStringLiteral(", ");
        sql += quoteIdentifier(m_columns[changed[n]].origin) + QStringLiteral("=?");
    }
    sql += QStringLiteral(" WHERE _rowid_=?;");

    sqlite3 *db = m_db.handle();
    if (!db) {
        reportError(AdoError::ObjectClosed, kSource, QStringLiteral("The connection is closed."));
        return false;
    }
    sqlite3_stmt *stmt = nullptr;
    const QByteArray text = sql.toUtf8();
    if (sqlite3_prepare_v2(db, text.constData(), int(text.size()), &stmt, nullptr) != SQLITE_OK) {
        reportEngineError();
        return false;
    }
    int slot = 1;
    for (size_t i : changed) {
        const DbValue &v = m_rows[m_row][i];
        switch (v.kind) {
        case Kind::Empty:
        case Kind::Null:
            sqlite3_bind_null(stmt, slot);
            break;
        case Kind::Short:
        case Kind::Long:
        case Kind::Byte:
        case Kind::Boolean:
            sqlite3_bind_int64(stmt, slot, v.integer);
            break;
        case Kind::Single:
        case Kind::Double:
        case Kind::Date:
        case Kind::Decimal:
            sqlite3_bind_double(stmt, slot, v.real);
            break;
        case Kind::Text: {
            const QByteArray utf8 = v.text.toUtf8();
            sqlite3_bind_text(stmt, slot, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
            break;
        }
        }
        ++slot;
    }
    sqlite3_bind_int64(stmt, slot, m_rowids[m_row]);
    const int rc = sqlite3_step(stmt);
    if (rc != SQLITE_DONE)
        reportEngineError();
    sqlite3_finalize(stmt);
    return rc == SQLITE_DONE;
}

void CADORecordset::reportError(quint32 code, const QString &source, const QString &description)
{
    m_lastErrorCode = code;
    m_lastError = QStringLiteral("Query = ") + m_query + QLatin1Char('\n')
        + AdoError::report("CADORecordset", code, source, description);
}

void CADORecordset::reportEngineError()
{
    sqlite3 *db = m_db.handle();
    reportError(quint32(sqlite3_extended_errcode(db)), QStringLiteral("SQLite"),
                QString::fromUtf8(sqlite3_errmsg(db)));
}
