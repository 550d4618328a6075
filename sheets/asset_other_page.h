#pragma once
// CDlgAsset_Other: the Other page of "Asset Properties": serial number, replacement value, the
// maker's service phone and the warranty date, which may be "none" (stored as a day of 2000).

#include "platform/ole_date.h"
#include "widgets/property_page.h"

class QCheckBox;
class QDateEdit;
class QLineEdit;

class CDlgAsset_Other : public CPropertyPage
{
    Q_OBJECT
public:
    explicit CDlgAsset_Other(QWidget *parent = nullptr);

    void toControls() override;
    bool fromControls() override;
    void onActivated() override;

    QString m_strSerialNumber;
    float m_fReplacementValue = 0.0f;
    QString m_strPhone2;
    // A date in the year 2000 shows as no date; no date reads back as 1 January 2000.
    COleDateTime m_dtWarrantyExpiration;

private:
    QLineEdit *m_serial = nullptr;
    QLineEdit *m_replacement = nullptr;
    QLineEdit *m_phone = nullptr;
    QCheckBox *m_hasWarranty = nullptr;
    QDateEdit *m_warranty = nullptr;
};
