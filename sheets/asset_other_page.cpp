#include "sheets/asset_other_page.h"

#include "records/asset.h"
#include "sheets/asset_purchase_page.h"
#include "widgets/number_entry.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

CDlgAsset_Other::CDlgAsset_Other(QWidget *parent)
    : CPropertyPage(QStringLiteral("Other"), parent)
{
    m_serial = new QLineEdit(this);
    m_serial->setObjectName(QStringLiteral("serialNumber"));
    m_replacement = new QLineEdit(this);
    m_replacement->setObjectName(QStringLiteral("replacementValue"));
    m_replacement->setMaximumWidth(160);
    m_phone = new QLineEdit(this);
    m_phone->setObjectName(QStringLiteral("phone2"));

    // The check box says whether there is a warranty date at all; the picker is only read
    // while it is ticked.
    m_hasWarranty = new QCheckBox(this);
    m_hasWarranty->setObjectName(QStringLiteral("hasWarranty"));
    m_hasWarranty->setAccessibleName(QStringLiteral("Has a warranty expiration date"));
    m_warranty = AssetPages::makeDatePicker(QStringLiteral("warranty"), this);
    m_warranty->setAccessibleName(QStringLiteral("Warranty expiration date"));
    auto *warrantyRow = new QHBoxLayout;
    warrantyRow->addWidget(m_hasWarranty);
    warrantyRow->addWidget(m_warranty, 1);
    auto *warrantyLabel = new QLabel(QStringLiteral("&Warranty Expiration Date:"), this);
    warrantyLabel->setBuddy(m_hasWarranty);

    auto *form = new QFormLayout(this);
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    form->addRow(QStringLiteral("&Serial #:"), m_serial);
    form->addRow(QStringLiteral("&Replacement Value:"), m_replacement);
    form->addRow(QStringLiteral("Customer Service &Phone #:"), m_phone);
    form->addRow(warrantyLabel, warrantyRow);

    connect(m_hasWarranty, &QCheckBox::toggled, m_warranty, &QWidget::setEnabled);
}

void CDlgAsset_Other::toControls()
{
    m_serial->setText(m_strSerialNumber);
    m_replacement->setText(NumberEntry::text(m_fReplacementValue));
    m_phone->setText(m_strPhone2);
    const bool none =
        !m_dtWarrantyExpiration.isValid() || CAsset::isNoWarrantyDate(m_dtWarrantyExpiration);
    m_hasWarranty->setChecked(!none);
    m_warranty->setEnabled(!none);
    m_warranty->setDate(none ? QDate::currentDate() : AssetPages::dateOf(m_dtWarrantyExpiration));
}

bool CDlgAsset_Other::fromControls()
{
    float replacement = m_fReplacementValue;
    if (!readNumber(*m_replacement, replacement))
        return false;
    m_fReplacementValue = replacement;
    m_strSerialNumber = m_serial->text();
    m_strPhone2 = m_phone->text();
    if (!m_hasWarranty->isChecked())
        m_dtWarrantyExpiration = CAsset::noWarrantyDate();
    else if (m_warranty->date() != AssetPages::dateOf(m_dtWarrantyExpiration)
             || CAsset::isNoWarrantyDate(m_dtWarrantyExpiration))
        m_dtWarrantyExpiration = COleDateTime::fromDate(m_warranty->date());
    return true;
}

void CDlgAsset_Other::onActivated()
{
    m_serial->setFocus(Qt::OtherFocusReason);
}
