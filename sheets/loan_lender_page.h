#pragma once
// CDlgLoan_Lender: the Lender page of a loan: who lent it, and whether it weighs on the home's
// equity.

#include "widgets/property_page.h"

class QCheckBox;
class QLineEdit;

class CDlgLoan_Lender : public CPropertyPage
{
    Q_OBJECT
public:
    explicit CDlgLoan_Lender(QWidget *parent = nullptr);

    void toControls() override;
    bool fromControls() override;
    void onActivated() override;

    QString m_strLenderName;
    QString m_strLenderAcctNo;
    QString m_strLenderPhone;
    qint32 m_nAssetType = 1;

private:
    QLineEdit *m_name = nullptr;
    QLineEdit *m_account = nullptr;
    QLineEdit *m_phone = nullptr;
    QCheckBox *m_affectsEquity = nullptr;
};
