#include "records/asset.h"

#include "db/added_tables.h"
#include "db/ado_database.h"
#include "db/ado_recordset.h"
#include "db/sql_text.h"
#include "format/display_text.h"

#include <QDateTime>

namespace {

const char *const kLoadStatement = "SELECT * FROM Assets WHERE AssetId=%ld;";
const QLatin1String kLineEnd("\r\n");

} // namespace

CAsset::CAsset()
    : m_dtPurchaseDate(COleDateTime::fromDateTime(QDateTime::currentDateTime()))
    , m_dtWarrantyExpiration(noWarrantyDate())
{
    m_strDescription = QStringLiteral("New Asset");
}

COleDateTime CAsset::noWarrantyDate()
{
    return COleDateTime(kNoWarrantyYear, 1, 1);
}

bool CAsset::Load(CADODataBase &db)
{
    if (!Exists())
        return false;
    CADORecordset rs(db);
    if (!rs.Open(sqlText(kLoadStatement, long(m_id))) || rs.IsEof())
        return false;
    rs.GetLong(QStringLiteral("HomeId"), m_lHomeId);
    rs.GetLong(QStringLiteral("AreaId"), m_lAreaId);
    rs.GetLong(QStringLiteral("CategoryId"), m_lCategoryId);
    rs.GetString(QStringLiteral("Description"), m_strDescription);
    rs.GetFloat(QStringLiteral("PurchasePrice"), m_fPurchasePrice);
    rs.GetDate(QStringLiteral("PurchaseDate"), m_dtPurchaseDate);
    rs.GetFloat(QStringLiteral("CurrentValue"), m_fCurrentValue);
    rs.GetFloat(QStringLiteral("ReplacementValue"), m_fReplacementValue);
    rs.GetString(QStringLiteral("Vendor"), m_strVendor);
    rs.GetString(QStringLiteral("Phone1"), m_strPhone1);
    rs.GetString(QStringLiteral("Phone2"), m_strPhone2);
    rs.GetString(QStringLiteral("MakeModel"), m_strMakeModel);
    rs.GetString(QStringLiteral("SerialNumber"), m_strSerialNumber);
    rs.GetDate(QStringLiteral("WarrantyExpiration"), m_dtWarrantyExpiration);
    rs.GetString(QStringLiteral("Picture2"), m_strPicture);
    rs.GetString(QStringLiteral("Notes"), m_strNotes);
    return true;
}

bool CAsset::Save(CADODataBase &db)
{
    return saveRow(
        db, "Assets", "INSERT INTO [Assets] ([AssetId]) VALUES (%ld);", kLoadStatement,
        [&](CADORecordset &rs) {
            return rs.SetLong(QStringLiteral("HomeId"), m_lHomeId)
                && rs.SetLong(QStringLiteral("AreaId"), m_lAreaId)
                && rs.SetLong(QStringLiteral("CategoryId"), m_lCategoryId)
                && rs.SetString(QStringLiteral("Description"), m_strDescription)
                && rs.SetDouble(QStringLiteral("PurchasePrice"), double(m_fPurchasePrice))
                && rs.SetDate(QStringLiteral("PurchaseDate"), m_dtPurchaseDate)
                && rs.SetDouble(QStringLiteral("CurrentValue"), double(m_fCurrentValue))
                && rs.SetDouble(QStringLiteral("ReplacementValue"), double(m_fReplacementValue))
                && rs.SetString(QStringLiteral("Vendor"), m_strVendor)
                && rs.SetString(QStringLiteral("Phone1"), m_strPhone1)
                && rs.SetString(QStringLiteral("Phone2"), m_strPhone2)
                && rs.SetString(QStringLiteral("MakeModel"), m_strMakeModel)
                && rs.SetString(QStringLiteral("SerialNumber"), m_strSerialNumber)
                && rs.SetDate(QStringLiteral("WarrantyExpiration"), m_dtWarrantyExpiration)
                && rs.SetString(QStringLiteral("Picture2"), m_strPicture)
                && rs.SetString(QStringLiteral("Notes"), m_strNotes);
        });
}

bool CAsset::Delete(CADODataBase &db)
{
    if (!Exists())
        return false;
    // What the program keeps for an asset beside its row goes with it, or not at all.
    CTransaction transaction(db);
    return transaction.isActive()
        && db.Execute(sqlText("DELETE FROM Assets WHERE AssetId=%ld;", long(m_id)))
        && AddedTables::deleteAssetRows(db, m_id) && transaction.commit();
}

std::map<qint32, int> CAsset::CountByCategory(CADODataBase &db, qint32 homeId)
{
    std::map<qint32, int> counts;
    // Answered from the index of a home's assets by category alone, without visiting a row.
    CADORecordset rs(db);
    if (!rs.Open(sqlText("SELECT CategoryId, COUNT(*) FROM Assets WHERE HomeId=%ld AND "
                         "CategoryId>0 GROUP BY CategoryId;",
                         long(homeId))))
        return counts;
    for (; !rs.IsEof(); rs.MoveNext()) {
        qint32 category = 0;
        qint32 count = 0;
        rs.GetLong(0, category);
        rs.GetLong(1, count);
        counts[category] = count;
    }
    return counts;
}

QString CAsset::DescriptionText() const
{
    return DescriptionText(COleDateTime::fromDateTime(QDateTime::currentDateTime()), userLocale());
}

QString CAsset::DescriptionText(const COleDateTime &now, const QLocale &locale) const
{
    QString text;
    if (IsVideo()) {
        text = QStringLiteral("Year: %1; Genre: ").arg(m_dtWarrantyExpiration.year());
        text += m_strMakeModel.isEmpty() ? QStringLiteral("N/A") : m_strMakeModel;
        text += kLineEnd;
        return text + m_strNotes;
    }

    if (!m_strMakeModel.isEmpty())
        text += m_strMakeModel + kLineEnd;
    if (m_fCurrentValue > 0)
        text += QStringLiteral("Current value: ") + moneyText(m_fCurrentValue, locale) + kLineEnd;

    QString purchase = QStringLiteral("Purchased ");
    const bool vendor = !m_strVendor.isEmpty();
    if (vendor)
        purchase += QStringLiteral("at ") + m_strVendor + QLatin1Char(' ');
    if (m_fPurchasePrice > 0) {
        purchase += QStringLiteral("for ") + moneyText(m_fPurchasePrice, locale);
        text += purchase + kLineEnd;
    } else if (vendor) {
        text += purchase + kLineEnd;
    }

    // Told only when later than the no-warranty year: "no warranty date", and any older date
    // (kept as it was stored), are left out.
    if (m_dtWarrantyExpiration.isValid() && m_dtWarrantyExpiration.year() > kNoWarrantyYear) {
        text += QStringLiteral("Warranty ");
        text += m_dtWarrantyExpiration.days() < now.days() ? QStringLiteral("expired on ")
                                                           : QStringLiteral("expires on ");
        text += dateText(m_dtWarrantyExpiration, false, locale) + kLineEnd;
    }
    return text + m_strNotes;
}
