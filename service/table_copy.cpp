#include "table_copy.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUrl>
#include <sqlite3.h>

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
        Statement stmt = prepare(sql);
        if (!stmt)
            return std::nullopt;
        const QByteArray argText = arg.toUtf8();
        if (!arg.isNull())
            sqlite3_bind_text(stmt.get(), 1, argText.constData(), int(argText.size()),
                              SQLITE_TRANSIENT);
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
    // The target's indexes are dropped and built again after the rows are in: quicker than
    // keeping them up to date row by row, and none of the source's index entries is kept.
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
    for (const QString &index : *indexNames) {
        if (!isIdentifier(index)
            || !db.exec(QStringLiteral("DROP INDEX main.%1;").arg(quoted(index))))
            return Result::CopyFailed;
    }
    if (!db.exec(QStringLiteral("DELETE FROM main.%1;").arg(q)))
        return Result::CopyFailed;
    QString insert;
    const bool sameDefinition = *sourceColumns == *targetColumns;
    if (sameDefinition) {
        // The same definition lets the engine move whole records without decoding them. It
        // moves the entries of the key indexes (those of PRIMARY KEY and UNIQUE, which cannot
        // be dropped) the same way, straight from the source's; they are built again below.
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
        const auto keyIndexes =
            db.texts(QStringLiteral("SELECT name FROM main.sqlite_master WHERE "
                                    "type='index' AND tbl_name=?1 AND sql IS NULL;"),
                     table);
        if (!keyIndexes)
            return Result::CopyFailed;
        for (const QString &index : *keyIndexes) {
            if (!isIdentifier(index)
                || !db.exec(QStringLiteral("REINDEX main.%1;").arg(quoted(index))))
                return Result::CopyFailed;
        }
    }
    for (const QString &index : *indexSql) {
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
        // Every page of the source is checked. The copy reads only the source's table rows and
        // the target builds its indexes afresh from them, so whether the source's own indexes
        // agree with its tables (the slow part of a full integrity check) cannot matter.
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
