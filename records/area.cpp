#include "records/area.h"

#include "db/ado_database.h"
#include "db/ado_recordset.h"
#include "db/sql_text.h"
#include "format/display_text.h"

namespace {

const char *const kLoadStatement = "SELECT * FROM Areas WHERE AreaId=%ld;";

QString colorColumn(int i)
{
    return QStringLiteral("Color%1").arg(i + 1);
}

QString labelColumn(int i)
{
    return QStringLiteral("Label%1").arg(i + 1);
}

} // namespace

CArea::CArea()
{
    m_strLabel[0] = QStringLiteral("Walls");
    m_strLabel[1] = QStringLiteral("Curtains");
    m_strLabel[2] = QStringLiteral("Panels");
}

CArea::CArea(qint32 id)
    : CArea()
{
    m_id = id;
}

bool CArea::Load(CADODataBase &db)
{
    if (!Exists())
        return false;
    CADORecordset rs(db);
    if (!rs.Open(sqlText(kLoadStatement, long(m_id))) || rs.IsEof())
        return false;
    rs.GetLong(QStringLiteral("HomeId"), m_nHomeId);
    rs.GetString(QStringLiteral("Description"), m_strDescription);
    rs.GetLong(QStringLiteral("Length"), m_nLength);
    rs.GetLong(QStringLiteral("Width"), m_nWidth);
    rs.GetLong(QStringLiteral("Height"), m_nHeight);
    for (int i = 0; i < 3; ++i)
        rs.GetLong(colorColumn(i), m_nColor[i]);
    for (int i = 0; i < 3; ++i)
        rs.GetString(labelColumn(i), m_strLabel[i]);
    rs.GetString(QStringLiteral("Notes"), m_strNotes);
    return true;
}

bool CArea::Save(CADODataBase &db)
{
    return saveRow(db, "Areas", "INSERT INTO [Areas] ([AreaId]) VALUES (%ld);", kLoadStatement,
                   [&](CADORecordset &rs) {
                       bool ok = rs.SetLong(QStringLiteral("HomeId"), m_nHomeId)
                           && rs.SetString(QStringLiteral("Description"), m_strDescription)
                           && rs.SetLong(QStringLiteral("Length"), m_nLength)
                           && rs.SetLong(QStringLiteral("Width"), m_nWidth)
                           && rs.SetLong(QStringLiteral("Height"), m_nHeight);
                       for (int i = 0; ok && i < 3; ++i)
                           ok = rs.SetLong(colorColumn(i), m_nColor[i]);
                       for (int i = 0; ok && i < 3; ++i)
                           ok = rs.SetString(labelColumn(i), m_strLabel[i]);
                       return ok && rs.SetString(QStringLiteral("Notes"), m_strNotes);
                   });
}

bool CArea::Delete(CADODataBase &db)
{
    if (!Exists())
        return false;
    // The row and the references to it go together: assets left pointing at a location that no
    // list shows would keep a location nobody can pick again.
    CTransaction transaction(db);
    if (!transaction.isActive())
        return false;
    if (!db.Execute(sqlText("DELETE FROM Areas WHERE AreaId=%ld;", long(m_id))))
        return false;
    CADORecordset rs(db);
    if (!rs.Open(sqlText("SELECT AreaId FROM Assets WHERE AreaId=%ld;", long(m_id))))
        return false;
    for (; !rs.IsEof(); rs.MoveNext()) {
        rs.Edit();
        if (!rs.SetLong(QStringLiteral("AreaId"), 0) || !rs.Update())
            return false;
    }
    rs.Close();
    return transaction.commit();
}

QString CArea::lengthText(qint32 inches)
{
    if (inches < 12)
        return QStringLiteral("%1\"").arg(inches);
    if (inches % 12 == 0)
        return QStringLiteral("%1'").arg(inches / 12);
    return QStringLiteral("%1'%2\"").arg(inches / 12).arg(inches % 12);
}

QString CArea::DescriptionText(const QLocale &locale) const
{
    QString text;
    if (m_nLength != 0 && m_nWidth != 0) {
        text += QStringLiteral("Dimensions: ") + lengthText(m_nLength) + QStringLiteral(" x ")
            + lengthText(m_nWidth);
        if (m_nHeight != 0)
            text += QStringLiteral(" x ") + lengthText(m_nHeight);
        // Square inches to square feet with 1/144 as a float constant, the result kept in
        // single precision. The product is taken in 64 bits: large rooms must not wrap to a
        // negative area.
        const qint64 squareInches = qint64(m_nLength) * qint64(m_nWidth);
        const float area = float(double(squareInches) * double(0.0069444445f));
        text += QStringLiteral("\r\nArea: ") + numberText(area, true, false, locale)
            + QStringLiteral(" sq. ft.\r\n");
    }
    return text + m_strNotes;
}

QString CArea::DescriptionText() const
{
    return DescriptionText(userLocale());
}
