#include "records/attachments.h"

#include "db/ado_database.h"
#include "db/sql_text.h"
#include "db/statement_rows.h"

#include <QRegularExpression>
#include <sqlite3.h>

namespace Attachments {
namespace {

// The description's columns, in the order readRow() takes them; never the bytes.
const char kColumns[] = "SELECT AttachmentId, HomeId, AssetId, Kind, FileName, MimeType, Added, "
                        "Size, IsPicture FROM Attachments ";

QString columnText(sqlite3_stmt *stmt, int col)
{
    const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(stmt, col));
    return text ? QString::fromUtf8(text, sqlite3_column_bytes(stmt, col)) : QString();
}

Attachment readRow(sqlite3_stmt *stmt)
{
    Attachment a;
    a.id = sqlite3_column_int64(stmt, 0);
    a.homeId = qint32(sqlite3_column_int64(stmt, 1));
    a.assetId = qint32(sqlite3_column_int64(stmt, 2));
    a.kind = kindOf(sqlite3_column_int(stmt, 3));
    a.fileName = columnText(stmt, 4);
    a.mimeType = columnText(stmt, 5);
    if (sqlite3_column_type(stmt, 6) != SQLITE_NULL)
        a.added = COleDateTime(sqlite3_column_double(stmt, 6));
    a.size = sqlite3_column_int64(stmt, 7);
    a.isPicture = sqlite3_column_int(stmt, 8) != 0;
    return a;
}

std::vector<Attachment> rows(CADODataBase &db, const QString &sql)
{
    std::vector<Attachment> found;
    if (!StatementRows::each(db, sql, [&](sqlite3_stmt *stmt) { found.push_back(readRow(stmt)); }))
        found.clear();
    return found;
}

// What makes an attachment unfiled: its asset has gone or lives in another home now; for a
// home's own papers, the home has gone.
const char kUnfiled[] =
    "WHERE (AssetId>0 AND NOT EXISTS (SELECT 1 FROM Assets AS a WHERE "
    "a.AssetId=Attachments.AssetId "
    "AND a.HomeId=Attachments.HomeId)) OR (AssetId<=0 AND NOT EXISTS (SELECT 1 FROM Homes AS h "
    "WHERE h.HomeId=Attachments.HomeId)) ";

} // namespace

QString kindName(Kind kind)
{
    switch (kind) {
    case Kind::Photo:
        return QStringLiteral("Photo");
    case Kind::Receipt:
        return QStringLiteral("Receipt");
    case Kind::Manual:
        return QStringLiteral("Manual");
    case Kind::Warranty:
        return QStringLiteral("Warranty");
    case Kind::Other:
        break;
    }
    return QStringLiteral("Other");
}

Kind kindOf(int stored)
{
    for (Kind kind : kKinds) {
        if (int(kind) == stored)
            return kind;
    }
    return Kind::Other;
}

Kind guessKind(const QString &fileName, const QString &mimeType)
{
    // Words people put in the names of scanned papers, in a few languages; the name is split at
    // anything that is not a letter, so "Receipt_2023.pdf" and "tv-manual.pdf" count.
    static const std::pair<Kind, QStringList> kWords[] = {
        { Kind::Receipt,
          { QStringLiteral("receipt"), QStringLiteral("invoice"), QStringLiteral("bill"),
            QStringLiteral("quittung"), QStringLiteral("rechnung"), QStringLiteral("kassenbon"),
            QStringLiteral("facture"), QStringLiteral("recu"), QStringLiteral("ticket"),
            QStringLiteral("factura"), QStringLiteral("recibo") } },
        { Kind::Warranty,
          { QStringLiteral("warranty"), QStringLiteral("guarantee"), QStringLiteral("garantie"),
            QStringLiteral("garantia"), QStringLiteral("garanzia") } },
        { Kind::Manual,
          { QStringLiteral("manual"), QStringLiteral("guide"), QStringLiteral("instructions"),
            QStringLiteral("handbook"), QStringLiteral("anleitung"),
            QStringLiteral("bedienungsanleitung"), QStringLiteral("handbuch"),
            QStringLiteral("notice"), QStringLiteral("manuel"), QStringLiteral("manuale") } },
    };
    static const QRegularExpression notLetters(QStringLiteral("[^\\p{L}]+"));
    const QString base = fileName.section(QLatin1Char('.'), 0, -2).isEmpty()
        ? fileName
        : fileName.section(QLatin1Char('.'), 0, -2);
    QStringList words;
    for (const QString &word : base.split(notLetters, Qt::SkipEmptyParts)) {
        // Accents aside: "reçu" is "recu".
        QString plain;
        for (const QChar c : word.normalized(QString::NormalizationForm_D)) {
            if (c.category() != QChar::Mark_NonSpacing)
                plain += c.toLower();
        }
        words << plain;
    }
    for (const auto &[kind, list] : kWords) {
        for (const QString &word : words) {
            if (list.contains(word))
                return kind;
        }
    }
    return mimeType.startsWith(QLatin1String("image/")) ? Kind::Photo : Kind::Other;
}

bool Attachment::isImage() const
{
    static const QStringList kShown = {
        QStringLiteral("image/jpeg"),    QStringLiteral("image/png"),  QStringLiteral("image/gif"),
        QStringLiteral("image/bmp"),     QStringLiteral("image/webp"), QStringLiteral("image/tiff"),
        QStringLiteral("image/x-ms-bmp")
    };
    return kShown.contains(mimeType);
}

std::vector<Attachment> list(CADODataBase &db, qint32 homeId, qint32 assetId)
{
    return rows(db,
                QLatin1String(kColumns)
                    + sqlText("WHERE HomeId=%ld AND AssetId=%ld ORDER BY Kind, FileName, "
                              "AttachmentId;",
                              long(homeId), long(assetId)));
}

std::vector<Attachment> listOfHome(CADODataBase &db, qint32 homeId)
{
    return rows(db,
                QLatin1String(kColumns)
                    + sqlText("WHERE HomeId=%ld ORDER BY AssetId, Kind, FileName, AttachmentId;",
                              long(homeId)));
}

std::optional<Attachment> find(CADODataBase &db, qint64 id)
{
    const std::vector<Attachment> found =
        rows(db, QLatin1String(kColumns) + sqlText("WHERE AttachmentId=%lld;", (long long)id));
    if (found.empty())
        return std::nullopt;
    return found.front();
}

std::optional<Attachment> pictureOf(CADODataBase &db, qint32 homeId, qint32 assetId)
{
    const std::vector<Attachment> found =
        rows(db,
             QLatin1String(kColumns)
                 + sqlText("WHERE HomeId=%ld AND AssetId=%ld AND IsPicture=1;", long(homeId),
                           long(assetId)));
    if (found.empty())
        return std::nullopt;
    return found.front();
}

QHash<qint32, Marks> marksByAsset(CADODataBase &db, qint32 homeId)
{
    QHash<qint32, Marks> marks;
    const bool read = StatementRows::each(
        db,
        sqlText("SELECT AssetId, COUNT(*), MAX(IsPicture) FROM Attachments WHERE HomeId=%ld AND "
                "AssetId>0 GROUP BY AssetId;",
                long(homeId)),
        [&](sqlite3_stmt *stmt) {
            marks.insert(qint32(sqlite3_column_int64(stmt, 0)),
                         Marks { sqlite3_column_int(stmt, 1), sqlite3_column_int(stmt, 2) != 0 });
        });
    if (!read)
        marks.clear();
    return marks;
}

bool setKind(CADODataBase &db, qint64 id, Kind kind)
{
    return db.Execute(sqlText("UPDATE Attachments SET Kind=%d WHERE AttachmentId=%lld;", int(kind),
                              (long long)id));
}

bool setPicture(CADODataBase &db, qint64 id, bool picture)
{
    if (!picture)
        return db.Execute(
            sqlText("UPDATE Attachments SET IsPicture=0 WHERE AttachmentId=%lld;", (long long)id));
    const std::optional<Attachment> attachment = find(db, id);
    if (!attachment)
        return false;
    CTransaction transaction(db);
    return transaction.isActive()
        && db.Execute(sqlText("UPDATE Attachments SET IsPicture=0 WHERE HomeId=%ld AND "
                              "AssetId=%ld AND IsPicture=1;",
                              long(attachment->homeId), long(attachment->assetId)))
        && db.Execute(
            sqlText("UPDATE Attachments SET IsPicture=1 WHERE AttachmentId=%lld;", (long long)id))
        && transaction.commit();
}

bool remove(CADODataBase &db, qint64 id)
{
    // The bytes go with the row (the table's trigger), in the same statement.
    return db.Execute(sqlText("DELETE FROM Attachments WHERE AttachmentId=%lld;", (long long)id));
}

bool moveTo(CADODataBase &db, qint64 id, qint32 homeId, qint32 assetId)
{
    return db.Execute(sqlText("UPDATE Attachments SET HomeId=%ld, AssetId=%ld, IsPicture=0 WHERE "
                              "AttachmentId=%lld;",
                              long(homeId), long(assetId), (long long)id));
}

std::vector<Attachment> unfiled(CADODataBase &db)
{
    return rows(db,
                QLatin1String(kColumns) + QLatin1String(kUnfiled)
                    + QLatin1String("ORDER BY HomeId, AssetId, Kind, FileName, AttachmentId;"));
}

int unfiledCount(CADODataBase &db)
{
    int count = 0;
    StatementRows::each(db,
                        QStringLiteral("SELECT COUNT(*) FROM Attachments ")
                            + QLatin1String(kUnfiled) + QLatin1Char(';'),
                        [&](sqlite3_stmt *stmt) { count = sqlite3_column_int(stmt, 0); });
    return count;
}

} // namespace Attachments
