#pragma once
// CDlgAsset_Purchase: the Purchase page of "Asset Properties": price, date, store, the store's
// phone, and brand and model.

#include "platform/ole_date.h"
#include "widgets/property_page.h"

class QDateEdit;
class QLineEdit;

class CDlgAsset_Purchase : public CPropertyPage
{
    Q_OBJECT
public:
    explicit CDlgAsset_Purchase(QWidget *parent = nullptr);

    void toControls() override;
    bool fromControls() override;
    void onActivated() override;

    float m_fPurchasePrice = 0.0f;
    COleDateTime m_dtPurchaseDate;
    QString m_strVendor;
    QString m_strPhone1;
    QString m_strMakeModel;

private:
    QLineEdit *m_price = nullptr;
    QDateEdit *m_date = nullptr;
    QLineEdit *m_vendor = nullptr;
    QLineEdit *m_phone = nullptr;
    QLineEdit *m_makeModel = nullptr;
};

namespace AssetPages {

// A date picker in the pages' format, always holding a date.
QDateEdit *makeDatePicker(const QString &objectName, QWidget *parent);
// The date the picker shows, keeping the time of day the value had (the picker edits dates).
COleDateTime withDate(const COleDateTime &value, const QDate &date);
// The calendar date of a stored value; today's date when the value is not a usable date.
QDate dateOf(const COleDateTime &value);

} // namespace AssetPages
