#include "db/lookups.h"

#include "controls/combo_model.h"
#include "controls/list_model.h"
#include "db/ado_database.h"
#include "db/ado_recordset.h"
#include "db/sql_text.h"
#include "format/string_table.h"
#include "platform/busy.h"

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
               double *exactTotal)
{
    Busy::Scope busy;
    float total = 0.0f;
    double exact = 0.0;
    if (exactTotal)
        *exactTotal = 0.0;
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

        CADORecordset rs(db);
        if (rs.Open(sql)) {
            // The columns are found once; every row is then read by position.
            const int description = rs.GetFieldIndex(QStringLiteral("Description"));
            const int picture = assets ? rs.GetFieldIndex(QStringLiteral("Picture2")) : -1;
            const int currentValue = assets ? rs.GetFieldIndex(QStringLiteral("CurrentValue")) : -1;
            const int category = assets ? rs.GetFieldIndex(QStringLiteral("CategoryId")) : -1;
            for (; !rs.IsEof(); rs.MoveNext()) {
                QString text;
                rs.GetString(description, text);
                int image = 0;
                if (assets) {
                    QString pictureFile;
                    double value = 0.0;
                    qint32 categoryId = 0;
                    rs.GetString(picture, pictureFile);
                    rs.GetDouble(currentValue, value);
                    rs.GetLong(category, categoryId);
                    total += float(value);
                    exact += value;
                    image = categoryId == kVideoCategoryId ? 2 : !pictureFile.isEmpty() ? 1 : 0;
                }
                const int row = list.InsertItem(list.GetItemCount(), text, image);
                qint32 id = 0;
                rs.GetLong(0, id);
                list.SetItemData(row, id);
            }
        }
    }
    if (exactTotal)
        *exactTotal = exact;
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
