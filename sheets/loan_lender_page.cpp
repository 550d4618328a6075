#include "sheets/loan_lender_page.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>

CDlgLoan_Lender::CDlgLoan_Lender(QWidget *parent)
    : CPropertyPage(QStringLiteral("Lender"), parent)
{
    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("lenderName"));
    m_account = new QLineEdit(this);
    m_account->setObjectName(QStringLiteral("lenderAcctNo"));
    m_phone = new QLineEdit(this);
    m_phone->setObjectName(QStringLiteral("lenderPhone"));
    m_affectsEquity = new QCheckBox(QStringLiteral("This loan affects my home &equity"), this);
    m_affectsEquity->setObjectName(QStringLiteral("affectsEquity"));
    auto *note = new QLabel(QStringLiteral("Note: Uncheck the above option if this loan is not "
                                           "related to your home. For example, credit cards, "
                                           "auto loans, student loans etc., do not affect your "
                                           "home equity."),
                            this);
    note->setWordWrap(true);

    auto *layout = new QFormLayout(this);
    layout->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    layout->addRow(QStringLiteral("&Lender/Bank:"), m_name);
    layout->addRow(QStringLiteral("&Account #:"), m_account);
    layout->addRow(QStringLiteral("&Phone #:"), m_phone);
    layout->addRow(m_affectsEquity);
    layout->addRow(note);
}

void CDlgLoan_Lender::toControls()
{
    m_name->setText(m_strLenderName);
    m_account->setText(m_strLenderAcctNo);
    m_phone->setText(m_strLenderPhone);
    m_affectsEquity->setChecked(m_nAssetType == 1);
}

bool CDlgLoan_Lender::fromControls()
{
    m_strLenderName = m_name->text();
    m_strLenderAcctNo = m_account->text();
    m_strLenderPhone = m_phone->text();
    m_nAssetType = m_affectsEquity->isChecked() ? 1 : 0;
    return true;
}

void CDlgLoan_Lender::onActivated()
{
    m_name->setFocus(Qt::OtherFocusReason);
}
