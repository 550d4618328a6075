#include "table_copy.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUrl>
#include <sqlite3.h>

#include <QRandomGenerator>

#include <algorithm>
#include <cstring>
#include <memory>

using DeviceFilter::Result;

namespace {

bool isIdentifier(const QString &name)
{
    static const QRegularExpression pattern(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    return pattern.match(name).hasMatch();
}

// Table and column names cannot travel as values; every name used in a statement has passed
// isIdentifier, and is quoted besides.
QString quoted(const QString &name)
{
    return QLatin1Char('"') + name + QLatin1Char('"');
}

struct StatementDeleter
{
    void operator()(sqlite3_stmt *stmt) const { sqlite3_finalize(stmt); }
};
using Statement = std::unique_ptr<sqlite3_stmt, StatementDeleter>;

class Connection
{
public:
    ~Connection()
    {
        if (m_db)
            sqlite3_close_v2(m_db);
    }

    bool open(const QString &path, bool create)
    {
        const int flags =
            SQLITE_OPEN_READWRITE | SQLITE_OPEN_URI | (create ? SQLITE_OPEN_CREATE : 0);
        if (sqlite3_open_v2(QFile::encodeName(path).constData(), &m_db, flags, nullptr)
            != SQLITE_OK)
            return false;
        sqlite3_extended_result_codes(m_db, 1);
        // The desktop program keeps its connection open meanwhile; it holds no lock between
        // statements, so a short wait covers one it is running.
        sqlite3_busy_timeout(m_db, 5000);
        return exec("PRAGMA synchronous=FULL;");
    }

    bool exec(const QString &sql)
    {
        return sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, nullptr) == SQLITE_OK;
    }

    Statement prepare(const QString &sql)
    {
        sqlite3_stmt *stmt = nullptr;
        const QByteArray text = sql.toUtf8();
        const char *tail = nullptr;
        if (sqlite3_prepare_v2(m_db, text.constData(), int(text.size()), &stmt, &tail) != SQLITE_OK)
            return nullptr;
        Statement result(stmt);
        if (tail && !QByteArray(tail).trimmed().isEmpty())
            return nullptr; // one statement only
        return result;
    }

    // The first column of every row; nothing when the statement fails.
    std::optional<QStringList> texts(const QString &sql, const QString &arg = QString())
    {
        return texts(sql, arg.isNull() ? QStringList() : QStringList { arg });
    }
    std::optional<QStringList> texts(const QString &sql, const QStringList &args)
    {
        Statement stmt = prepare(sql);
        if (!stmt)
            return std::nullopt;
        for (int i = 0; i < int(args.size()); ++i) {
            const QByteArray argText = args[i].toUtf8();
            sqlite3_bind_text(stmt.get(), i + 1, argText.constData(), int(argText.size()),
                              SQLITE_TRANSIENT);
        }
        QStringList rows;
        int rc;
        while ((rc = sqlite3_step(stmt.get())) == SQLITE_ROW) {
            const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(stmt.get(), 0));
            rows << QString::fromUtf8(text ? text : "");
        }
        if (rc != SQLITE_DONE)
            return std::nullopt;
        return rows;
    }

    int lastCode() const { return sqlite3_extended_errcode(m_db); }
    sqlite3 *handle() const { return m_db; }

private:
    sqlite3 *m_db = nullptr;
};

bool isDamageCode(int code)
{
    const int primary = code & 0xff;
    return primary == SQLITE_NOTADB || primary == SQLITE_CORRUPT;
}

// A definition read from the other file is run only when it is the one statement expected.
bool looksLike(const QString &sql, const QStringList &prefixes)
{
    const QString simple = sql.simplified().toUpper();
    for (const QString &prefix : prefixes) {
        if (simple.startsWith(prefix))
            return true;
    }
    return false;
}

struct Transaction
{
    explicit Transaction(Connection &c)
        : db(c)
    {
    }
    ~Transaction()
    {
        if (open)
            db.exec(QStringLiteral("ROLLBACK;"));
    }
    bool begin() { return open = db.exec(QStringLiteral("BEGIN IMMEDIATE;")); }
    bool commit()
    {
        if (!db.exec(QStringLiteral("COMMIT;")))
            return false;
        open = false;
        return true;
    }
    Connection &db;
    bool open = false;
};

// Whether an index's entries are those its table's rows give: for each index, a fingerprint
// of every entry (its key columns and rowid, each value with its type) read from the index
// alone, against the same fingerprint of what each row gives, read from the table alone.
// Entries are added up, so order does not count; a missing, extra, doubled or altered entry
// changes the sum (a chance match is about one in 2^64). The hash is keyed afresh for every
// copy from the system's random source, so a file cannot be made to match by design.
//
// domelio_entry_sums(layout, value...) adds up, per entry, one fingerprint for each group of
// the layout ("1,2,4;3,4": the values making each entry, by position) and gives the sums as
// one blob, 8 bytes a group. The table is read once for all of its indexes, each value hashed
// once however many indexes hold it.
namespace EntryCheck {

constexpr int kMaxGroups = 16;
constexpr int kMaxPositions = 64;
constexpr int kMaxValues = 64;

struct Key
{
    quint64 value;
    quint64 entry;
};

struct Sums
{
    bool ready;
    int groups;
    int start[kMaxGroups + 1]; // group g: positions[start[g]] up to positions[start[g + 1]]
    unsigned char positions[kMaxPositions];
    quint64 sum[kMaxGroups];
};

inline quint64 mix(quint64 h, quint64 word)
{
    h ^= word;
    h *= 0xff51afd7ed558ccdULL;
    h ^= h >> 33;
    h *= 0xc4ceb9fe1a85ec53ULL;
    h ^= h >> 29;
    return h;
}

quint64 valueHash(sqlite3_value *value, quint64 key)
{
    const int type = sqlite3_value_type(value);
    switch (type) {
    case SQLITE_INTEGER:
        return mix(key + 1, quint64(sqlite3_value_int64(value)));
    case SQLITE_FLOAT: {
        const double number = sqlite3_value_double(value);
        quint64 word;
        std::memcpy(&word, &number, sizeof word);
        return mix(key + 2, word);
    }
    case SQLITE_NULL:
        return mix(key + 3, 0);
    default: {
        const auto *bytes = static_cast<const unsigned char *>(
            type == SQLITE_TEXT ? static_cast<const void *>(sqlite3_value_text(value))
                                : sqlite3_value_blob(value));
        const int size = sqlite3_value_bytes(value);
        quint64 h = mix(key + quint64(type), quint64(size));
        for (int at = 0; at < size; at += 8) {
            quint64 word = 0;
            std::memcpy(&word, bytes + at, size_t(std::min(8, size - at)));
            h = mix(h + key, word);
        }
        return h;
    }
    }
}

// The layout read into sums; false when it is not one this function takes.
bool readLayout(const unsigned char *text, int values, Sums &sums)
{
    if (!text)
        return false;
    int count = 0;
    int number = -1;
    sums.groups = 0;
    sums.start[0] = 0;
    for (const unsigned char *c = text;; ++c) {
        if (*c >= '0' && *c <= '9') {
            number = (number < 0 ? 0 : number * 10) + (*c - '0');
            if (number > values)
                return false;
            continue;
        }
        if (number < 1 || count == kMaxPositions || (*c != ',' && *c != ';' && *c != 0))
            return false;
        sums.positions[count++] = static_cast<unsigned char>(number);
        number = -1;
        if (*c == ',')
            continue;
        if (sums.groups == kMaxGroups)
            return false;
        sums.start[++sums.groups] = count;
        if (*c == 0)
            return true;
    }
}

void step(sqlite3_context *context, int count, sqlite3_value **values)
{
    auto *sums = static_cast<Sums *>(sqlite3_aggregate_context(context, sizeof(Sums)));
    if (!sums)
        return sqlite3_result_error_nomem(context);
    const int valueCount = count - 1;
    if (!sums->ready) {
        if (valueCount < 1 || valueCount > kMaxValues
            || !readLayout(sqlite3_value_text(values[0]), valueCount, *sums))
            return sqlite3_result_error(context, "bad entry layout", -1);
        sums->ready = true;
    }
    const auto *key = static_cast<const Key *>(sqlite3_user_data(context));
    quint64 hashes[kMaxValues];
    for (int i = 0; i < valueCount; ++i)
        hashes[i] = valueHash(values[i + 1], key->value);
    for (int g = 0; g < sums->groups; ++g) {
        quint64 h = key->entry;
        for (int at = sums->start[g]; at < sums->start[g + 1]; ++at)
            h = mix(h + key->entry, hashes[sums->positions[at] - 1]);
        sums->sum[g] += mix(h, quint64(sums->start[g + 1] - sums->start[g]));
    }
}

void finish(sqlite3_context *context)
{
    // A table without rows calls no step: its sums are nothing, and compare with nothing.
    const auto *sums = static_cast<Sums *>(sqlite3_aggregate_context(context, 0));
    if (!sums)
        return sqlite3_result_zeroblob(context, 0);
    sqlite3_result_blob(context, sums->sum, int(sums->groups * sizeof(quint64)), SQLITE_TRANSIENT);
}

bool install(Connection &db)
{
    auto *key = new Key { QRandomGenerator::system()->generate64(),
                          QRandomGenerator::system()->generate64() };
    return sqlite3_create_function_v2(db.handle(), "domelio_entry_sums", -1,
                                      SQLITE_UTF8 | SQLITE_DIRECTONLY, key, nullptr, step, finish,
                                      [](void *p) { delete static_cast<Key *>(p); })
        == SQLITE_OK;
}

// The one value of a statement giving one row of one blob; nothing when it fails.
std::optional<QByteArray> blob(Connection &db, const QString &sql)
{
    Statement stmt = db.prepare(sql);
    if (!stmt || sqlite3_column_count(stmt.get()) != 1 || sqlite3_step(stmt.get()) != SQLITE_ROW)
        return std::nullopt;
    return QByteArray(static_cast<const char *>(sqlite3_column_blob(stmt.get(), 0)),
                      sqlite3_column_bytes(stmt.get(), 0));
}

// True when the engine's plan for sql is the one step given: a scan of the table in main, the
// way given. Engines name the table with or without its database.
bool scansOnly(Connection &db, const QString &sql, const QString &table, const QString &how)
{
    Statement stmt = db.prepare(QStringLiteral("EXPLAIN QUERY PLAN %1").arg(sql));
    if (!stmt)
        return false;
    QStringList details;
    while (sqlite3_step(stmt.get()) == SQLITE_ROW) {
        const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(stmt.get(), 3));
        details << QString::fromUtf8(text ? text : "");
    }
    return details == QStringList { QStringLiteral("SCAN ") + table + how }
    || details == QStringList { QStringLiteral("SCAN main.") + table + how };
}

// The indexes of table whose entries do not match its rows, or could not be checked (an index
// on expressions or on some rows only, a table without rowids): all of them are to be built
// afresh. Nothing when the table cannot be read.
std::optional<QStringList> mismatchedIndexes(Connection &db, const QString &table,
                                             const QStringList &columns)
{
    Statement list =
        db.prepare(QStringLiteral("SELECT name, partial FROM pragma_index_list(?1, 'main');"));
    if (!list)
        return std::nullopt;
    const QByteArray tableText = table.toUtf8();
    sqlite3_bind_text(list.get(), 1, tableText.constData(), int(tableText.size()),
                      SQLITE_TRANSIENT);
    QStringList indexes;
    QStringList partial;
    int rc;
    while ((rc = sqlite3_step(list.get())) == SQLITE_ROW) {
        const auto *name = reinterpret_cast<const char *>(sqlite3_column_text(list.get(), 0));
        indexes << QString::fromUtf8(name ? name : "");
        if (sqlite3_column_int(list.get(), 1) != 0)
            partial << indexes.back();
    }
    if (rc != SQLITE_DONE)
        return std::nullopt;
    list.reset();
    if (indexes.isEmpty())
        return QStringList();

    // A column that takes the rowid's name would stand in for it.
    bool checkable = true;
    for (const QString &column : columns) {
        for (const char *name : { "rowid", "_rowid_", "oid" })
            checkable = checkable && column.compare(QLatin1String(name), Qt::CaseInsensitive) != 0;
    }

    QStringList mismatched;
    QStringList checked;
    QStringList indexQueries;
    QStringList tableValues; // each column the checked indexes hold, once
    QStringList tableLayout;
    const QString q = quoted(table);
    for (const QString &index : indexes) {
        const auto names =
            db.texts(QStringLiteral("SELECT CASE WHEN cid >= 0 THEN name END FROM "
                                    "pragma_index_xinfo(?1, 'main') WHERE key=1 ORDER BY seqno;"),
                     index);
        bool ok = checkable && isIdentifier(index) && !partial.contains(index) && names
            && !names->isEmpty() && names->size() < kMaxPositions && checked.size() < kMaxGroups;
        QStringList values;
        for (qsizetype i = 0; ok && i < names->size(); ++i) {
            ok = isIdentifier(names->at(i)); // an expression has no name
            values << quoted(names->at(i));
        }
        values << QStringLiteral("rowid");
        QStringList withThese = tableValues;
        QStringList group;
        for (const QString &value : values) {
            if (!withThese.contains(value))
                withThese << value;
            group << QString::number(withThese.indexOf(value) + 1);
        }
        ok = ok && withThese.size() <= kMaxValues;
        QStringList own;
        for (qsizetype i = 1; i <= values.size(); ++i)
            own << QString::number(i);
        const QString fromIndex =
            QStringLiteral("SELECT domelio_entry_sums('%1',%2) FROM main.%3 INDEXED BY %4")
                .arg(own.join(QLatin1Char(',')), values.join(QLatin1Char(',')), q, quoted(index));
        // Read from the index alone: otherwise the check would compare the rows with themselves.
        if (!ok
            || !scansOnly(db, fromIndex, table, QStringLiteral(" USING COVERING INDEX ") + index)) {
            mismatched << index;
            continue;
        }
        tableValues = withThese;
        checked << index;
        indexQueries << fromIndex;
        tableLayout << group.join(QLatin1Char(','));
    }
    if (checked.isEmpty())
        return mismatched;

    const QString fromTable =
        QStringLiteral("SELECT domelio_entry_sums('%1',%2) FROM main.%3 NOT INDEXED")
            .arg(tableLayout.join(QLatin1Char(';')), tableValues.join(QLatin1Char(',')), q);
    if (!scansOnly(db, fromTable, table, QString()))
        return mismatched + checked;
    const auto expected = blob(db, fromTable);
    if (!expected)
        return std::nullopt;
    const bool empty = expected->isEmpty();
    if (!empty && expected->size() != checked.size() * qsizetype(sizeof(quint64)))
        return std::nullopt;
    for (qsizetype i = 0; i < checked.size(); ++i) {
        const auto found = blob(db, indexQueries[i]);
        if (!found)
            return std::nullopt;
        const QByteArray want =
            empty ? QByteArray() : expected->mid(i * sizeof(quint64), sizeof(quint64));
        if (*found != want)
            mismatched << checked[i];
    }
    return mismatched;
}

} // namespace EntryCheck

Result copyTable(Connection &db, const QString &table)
{
    const QString q = quoted(table);
    const auto sourceSql = db.texts(
        QStringLiteral("SELECT sql FROM src.sqlite_master WHERE type='table' AND name=?1;"), table);
    if (!sourceSql)
        return isDamageCode(db.lastCode()) ? Result::SourceDamaged : Result::CopyFailed;
    if (sourceSql->size() != 1)
        return Result::SourceForeign;
    const auto sourceColumns =
        db.texts(QStringLiteral("SELECT name FROM pragma_table_info(?1, 'src');"), table);
    const auto targetColumns =
        db.texts(QStringLiteral("SELECT name FROM pragma_table_info(?1, 'main');"), table);
    if (!sourceColumns || !targetColumns)
        return Result::CopyFailed;

    if (targetColumns->isEmpty()) {
        // A new target: the table as the source defines it, filled, then indexed.
        if (!looksLike(sourceSql->front(), { QStringLiteral("CREATE TABLE ") }))
            return Result::SourceForeign;
        Statement create = db.prepare(sourceSql->front());
        if (!create || sqlite3_step(create.get()) != SQLITE_DONE)
            return Result::SourceForeign;
        if (!db.exec(QStringLiteral("INSERT INTO main.%1 SELECT * FROM src.%1;").arg(q)))
            return Result::CopyFailed;
        const auto indexes =
            db.texts(QStringLiteral("SELECT sql FROM src.sqlite_master WHERE type='index' "
                                    "AND tbl_name=?1 AND sql IS NOT NULL;"),
                     table);
        if (!indexes)
            return Result::CopyFailed;
        for (const QString &index : *indexes) {
            if (!looksLike(
                    index,
                    { QStringLiteral("CREATE INDEX "), QStringLiteral("CREATE UNIQUE INDEX ") }))
                return Result::SourceForeign;
            Statement stmt = db.prepare(index);
            if (!stmt || sqlite3_step(stmt.get()) != SQLITE_DONE)
                return Result::CopyFailed;
        }
        return Result::Ok;
    }

    // An existing target keeps its definition; every one of its columns must come from the
    // source, or the copy would fill them with nothing.
    for (const QString &column : *targetColumns) {
        if (!isIdentifier(column) || !sourceColumns->contains(column))
            return Result::SourceForeign;
    }
    const bool sameDefinition = *sourceColumns == *targetColumns;

    // An index the source defines word for word as the target does is kept: the engine then
    // moves the rows as whole records and the index's entries along with them, each entry
    // placed by the target's own ordering. Those entries come from the source's index, so
    // every kept index is checked against the rows before the copy is kept, and built afresh
    // from the rows when it does not match. Any other index is dropped and built after the
    // rows are in: quicker than keeping it up to date row by row.
    const auto indexNames =
        db.texts(QStringLiteral("SELECT name FROM main.sqlite_master WHERE "
                                "type='index' AND tbl_name=?1 AND sql IS NOT NULL;"),
                 table);
    const auto indexSql =
        db.texts(QStringLiteral("SELECT sql FROM main.sqlite_master WHERE "
                                "type='index' AND tbl_name=?1 AND sql IS NOT NULL;"),
                 table);
    if (!indexNames || !indexSql || indexNames->size() != indexSql->size())
        return Result::CopyFailed;
    QStringList rebuild;
    for (qsizetype i = 0; i < indexNames->size(); ++i) {
        const QString &index = indexNames->at(i);
        if (!isIdentifier(index))
            return Result::CopyFailed;
        if (sameDefinition) {
            const auto sourceSql =
                db.texts(QStringLiteral("SELECT sql FROM src.sqlite_master WHERE type='index' "
                                        "AND name=?1 AND tbl_name=?2;"),
                         QStringList { index, table });
            if (!sourceSql)
                return Result::CopyFailed;
            if (*sourceSql == QStringList { indexSql->at(i) })
                continue;
        }
        if (!db.exec(QStringLiteral("DROP INDEX main.%1;").arg(quoted(index))))
            return Result::CopyFailed;
        rebuild << indexSql->at(i);
    }
    if (!db.exec(QStringLiteral("DELETE FROM main.%1;").arg(q)))
        return Result::CopyFailed;
    QString insert;
    if (sameDefinition) {
        insert = QStringLiteral("INSERT INTO main.%1 SELECT * FROM src.%1;").arg(q);
    } else {
        QStringList names;
        for (const QString &column : *targetColumns)
            names << quoted(column);
        const QString list = names.join(QLatin1Char(','));
        insert = QStringLiteral("INSERT INTO main.%1 (%2) SELECT %2 FROM src.%1;").arg(q, list);
    }
    if (!db.exec(insert))
        return Result::CopyFailed;
    if (sameDefinition) {
        const auto mismatched = EntryCheck::mismatchedIndexes(db, table, *targetColumns);
        if (!mismatched)
            return Result::CopyFailed;
        for (const QString &index : *mismatched) {
            if (!db.exec(QStringLiteral("REINDEX main.%1;").arg(quoted(index))))
                return Result::CopyFailed;
        }
    }
    for (const QString &index : rebuild) {
        Statement stmt = db.prepare(index);
        if (!stmt || sqlite3_step(stmt.get()) != SQLITE_DONE)
            return Result::CopyFailed;
    }
    return Result::Ok;
}

Result copyInto(const QString &source, const QString &target, const QStringList &tables,
                bool create);

} // namespace

namespace TableCopy {

std::optional<QStringList> parseTableList(const char *text)
{
    if (!text)
        return std::nullopt;
    const QString list = QString::fromLatin1(text);
    if (!list.endsWith(QLatin1String("..")))
        return std::nullopt;
    QStringList names = list.chopped(2).split(QStringLiteral(".."));
    for (const QString &name : names) {
        if (!isIdentifier(name) || names.count(name) != 1)
            return std::nullopt;
    }
    return names;
}

Result copy(const QString &source, const QString &target, const QStringList &tables,
            bool createTarget)
{
    if (!QFileInfo(source).isFile())
        return Result::SourceMissing;
    const bool targetExists = QFileInfo::exists(target);
    if (!targetExists) {
        if (!createTarget)
            return Result::TargetUnusable;
        // A journal left by an interrupted copy belongs to no database any more; the engine
        // would play it back into the new file.
        QFile::remove(target + QLatin1String("-journal"));
    } else if (!QFileInfo(target).isFile()) {
        return Result::TargetUnusable;
    }

    const Result result = copyInto(source, target, tables, createTarget && !targetExists);
    if (result != Result::Ok && !targetExists) {
        // Nothing was there before a failed copy, and nothing is left.
        QFile::remove(target);
        QFile::remove(target + QLatin1String("-journal"));
    }
    return result;
}

} // namespace TableCopy

namespace {

Result copyInto(const QString &source, const QString &target, const QStringList &tables,
                bool create)
{
    Connection db;
    if (!db.open(target, create))
        return Result::TargetUnusable;
    if (!EntryCheck::install(db))
        return Result::CopyFailed;
    // Room for every page the copy writes: with the engine's small default cache the changed
    // pages spill into the file long before the commit, each spill waiting for the journal to
    // reach the disk first. The cache takes memory only as pages come in, and is given back
    // when the copy ends.
    const qint64 cacheKiB = std::min<qint64>(
        (QFileInfo(source).size() + QFileInfo(target).size()) / 1024 + 2048, 1024 * 1024);
    if (!db.exec(QStringLiteral("PRAGMA main.cache_size=-%1;").arg(cacheKiB)))
        return Result::CopyFailed;

    // The source is only read: attached read-only, so nothing here can change it.
    QUrl uri = QUrl::fromLocalFile(QFileInfo(source).absoluteFilePath());
    uri.setQuery(QStringLiteral("mode=ro"));
    Statement attach = db.prepare(QStringLiteral("ATTACH DATABASE ?1 AS src;"));
    const QByteArray uriText = uri.toEncoded();
    if (!attach)
        return Result::CopyFailed;
    sqlite3_bind_text(attach.get(), 1, uriText.constData(), int(uriText.size()), SQLITE_TRANSIENT);
    if (sqlite3_step(attach.get()) != SQLITE_DONE)
        return isDamageCode(db.lastCode()) ? Result::SourceDamaged : Result::SourceMissing;
    attach.reset();

    Result result = Result::Ok;
    {
        Transaction transaction(db);
        if (!transaction.begin())
            return isDamageCode(db.lastCode()) ? Result::TargetUnusable : Result::CopyFailed;
        // A damaged source is refused before anything of the target is touched.
        // Every page of the source is checked. Whether the source's indexes agree with its
        // tables (the slow part of a full integrity check) is not asked here: each index the
        // target keeps is checked against the copied rows instead, and rebuilt when it differs.
        const auto check = db.texts(QStringLiteral("PRAGMA src.quick_check;"));
        if (!check)
            return isDamageCode(db.lastCode()) ? Result::SourceDamaged : Result::CopyFailed;
        if (*check != QStringList { QStringLiteral("ok") })
            return Result::SourceDamaged;
        for (const QString &table : tables) {
            result = copyTable(db, table);
            if (result != Result::Ok)
                return result; // rolled back
        }
        if (!transaction.commit())
            return Result::CopyFailed;
    }
    db.exec(QStringLiteral("DETACH DATABASE src;"));
    return result;
}

} // namespace
