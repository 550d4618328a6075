#include "db/lookups.h"

#include "controls/combo_model.h"
#include "controls/list_model.h"
#include "db/ado_database.h"
#include "db/ado_recordset.h"
#include "db/sql_text.h"
#include "db/statement_rows.h"
#include "format/string_table.h"
#include "platform/busy.h"

#include <sqlite3.h>

namespace Lookups {

QString lookUpValue(CADODataBase &db, qint32 key, const QString &table, const QString &keyColumn,
                    const QString &resultColumn)
{
    if (!isPlainIdentifier(table) || !isPlainIdentifier(keyColumn)
        || !isPlainIdentifier(resultColumn))
        return {};
    CADORecordset rs(db);
    if (!rs.Open(QStringLiteral("SELECT %1 FROM %2 WHERE %3=%4;")
                     .arg(resultColumn, table, keyColumn)
                     .arg(key)))
        return {};
    QString value;
    if (!rs.IsEof() && !rs.GetString(0, value))
        value.clear();
    return value;
}

float fillList(CADODataBase &db, CListModel &list, const QString &table, const QString &idColumn,
               qint32 selectId, const QString &where, const QString &extraColumns,
               double *exactTotal, bool *read,
               const std::function<int(qint32 id, int image)> &adjustImage)
{
    Busy::Scope busy;
    float total = 0.0f;
    double exact = 0.0;
    if (exactTotal)
        *exactTotal = 0.0;
    if (read)
        *read = false;
    const bool assets = table == QLatin1String("Assets");
    {
        CListModel::BatchUpdate batch(list);
        list.DeleteAllItems();
        if (!isPlainIdentifier(table) || !isPlainIdentifier(idColumn))
            return 0.0f;
        QString sql = QStringLiteral("SELECT %1, Description").arg(idColumn);
        if (!extraColumns.isEmpty())
            sql += QLatin1Char(',') + extraColumns;
        sql += QStringLiteral(" FROM %1 ").arg(table) + where
            + QStringLiteral(" ORDER BY Description;");

        // The rows go straight from the statement into the list, each value read by position
        // as SQLite holds it, with no recordset copy in between.
        sqlite3 *handle = db.handle();
        sqlite3_stmt *stmt = nullptr;
        const QByteArray text = sql.toUtf8();
        if (!handle
            || sqlite3_prepare_v2(handle, text.constData(), int(text.size()), &stmt, nullptr)
                != SQLITE_OK) {
            StatementRows::reportFailure(db);
            return 0.0f;
        }
        // The inventory's columns are found once by name; every row is then read by position.
        int currentValue = -1;
        int picture = -1;
        int category = -1;
        for (int i = 2; assets && i < sqlite3_column_count(stmt); ++i) {
            const QLatin1String name(sqlite3_column_name(stmt, i));
            if (name == QLatin1String("CurrentValue"))
                currentValue = i;
            else if (name == QLatin1String("Picture2"))
                picture = i;
            else if (name == QLatin1String("CategoryId"))
                category = i;
        }
        int rc = SQLITE_ROW;
        while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
            const auto *description = sqlite3_column_text(stmt, 1);
            const QString text = QString::fromUtf8(reinterpret_cast<const char *>(description),
                                                   sqlite3_column_bytes(stmt, 1));
            int image = 0;
            if (assets) {
                const double value =
                    currentValue < 0 ? 0.0 : sqlite3_column_double(stmt, currentValue);
                const bool hasPicture = picture >= 0 && sqlite3_column_bytes(stmt, picture) > 0;
                const qint32 categoryId =
                    category < 0 ? 0 : qint32(sqlite3_column_int64(stmt, category));
                total += float(value);
                exact += value;
                image = categoryId == kVideoCategoryId ? 2 : hasPicture ? 1 : 0;
            }
            const qint32 id = qint32(sqlite3_column_int64(stmt, 0));
            if (adjustImage)
                image = adjustImage(id, image);
            const int row = list.InsertItem(list.GetItemCount(), text, image);
            list.SetItemData(row, id);
        }
        sqlite3_finalize(stmt);
        if (rc != SQLITE_DONE) {
            // A read that failed part-way lists nothing rather than part of the rows.
            StatementRows::reportFailure(db);
            list.DeleteAllItems();
            return 0.0f;
        }
    }
    if (exactTotal)
        *exactTotal = exact;
    if (read)
        *read = true;
    for (int row = 0; row < list.GetItemCount(); ++row) {
        if (list.GetItemData(row) == selectId) {
            list.SetCurSel(row);
            list.EnsureVisible(row);
            break;
        }
    }
    return total;
}

void fillCombo(CADODataBase &db, CComboModel &combo, qint32 selectId, const QString &sql,
               bool withDetail, const QString &firstEntry)
{
    Busy::Scope busy;
    combo.ResetContent();
    if (!firstEntry.isEmpty())
        combo.SetItemData(combo.AddString(firstEntry), 0);
    CADORecordset rs(db);
    if (rs.Open(sql)) {
        for (; !rs.IsEof(); rs.MoveNext()) {
            QString text;
            rs.GetString(1, text);
            if (withDetail) {
                QString detail;
                if (rs.GetString(2, detail) && !detail.isEmpty())
                    text += QStringLiteral(" (") + detail + QLatin1Char(')');
            }
            qint32 id = 0;
            rs.GetLong(0, id);
            combo.SetItemData(combo.AddString(text), id);
        }
    }
    combo.SetCurSel(combo.GetCount() > 0 ? 0 : -1);
    const int match = combo.FindItemData(selectId);
    if (match >= 0)
        combo.SetCurSel(match);
}

void fillCategoryCombo(CADODataBase &db, CComboModel &combo, qint32 selectId, int categoryType,
                       bool optional)
{
    fillCombo(db, combo, selectId,
              sqlText("SELECT CategoryId, Description FROM Categories WHERE CategoryType=%d "
                      "ORDER BY Description;",
                      categoryType),
              false, optional ? QStringLiteral("(optional)") : QStringLiteral("Please select..."));
}

void fillComboFromTextList(CComboModel &combo, const QString &select, int stringId)
{
    const QStringList pieces = Strings::load(stringId).split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (const QString &piece : pieces)
        combo.AddString(piece);
    if (!select.isEmpty()) {
        const int match = combo.FindStringExact(-1, select);
        if (match >= 0)
            combo.SetCurSel(match);
    }
}

bool selectedRow(const CListModel &list, qint32 &id, int &row)
{
    const int selected = list.GetCurSel();
    if (selected < 0)
        return false;
    const qint32 value = list.GetItemData(selected);
    if (value == 0)
        return false;
    id = value;
    row = selected;
    return true;
}

qint32 selectedId(const CListModel &list)
{
    qint32 id = 0;
    int row = -1;
    return selectedRow(list, id, row) ? id : 0;
}

} // namespace Lookups
