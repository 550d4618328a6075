#include "sheets/asset_purchase_page.h"

#include "format/display_text.h"
#include "widgets/number_entry.h"

#include <QDateEdit>
#include <QFormLayout>
#include <QLineEdit>

namespace AssetPages {

QDateEdit *makeDatePicker(const QString &objectName, QWidget *parent)
{
    auto *picker = new QDateEdit(parent);
    picker->setObjectName(objectName);
    picker->setDisplayFormat(datePickerFormat());
    picker->setCalendarPopup(true);
    picker->setMinimumDate(QDate(1753, 1, 1));
    return picker;
}

COleDateTime withDate(const COleDateTime &value, const QDate &date)
{
    const QTime time = value.isValid() ? value.toDateTime().time() : QTime(0, 0);
    return COleDateTime::fromDateTime(QDateTime(date, time));
}

QDate dateOf(const COleDateTime &value)
{
    const QDate date = value.isValid() ? value.date() : QDate();
    return date.isValid() ? date : QDate::currentDate();
}

} // namespace AssetPages

CDlgAsset_Purchase::CDlgAsset_Purchase(QWidget *parent)
    : CPropertyPage(QStringLiteral("Purchase"), parent)
{
    m_price = new QLineEdit(this);
    m_price->setObjectName(QStringLiteral("purchasePrice"));
    m_price->setMaximumWidth(160);
    m_date = AssetPages::makeDatePicker(QStringLiteral("purchaseDate"), this);
    m_vendor = new QLineEdit(this);
    m_vendor->setObjectName(QStringLiteral("vendor"));
    m_phone = new QLineEdit(this);
    m_phone->setObjectName(QStringLiteral("phone1"));
    m_makeModel = new QLineEdit(this);
    m_makeModel->setObjectName(QStringLiteral("makeModel"));

    auto *form = new QFormLayout(this);
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    form->addRow(QStringLiteral("&Purchase Price:"), m_price);
    form->addRow(QStringLiteral("Purchase &Date:"), m_date);
    form->addRow(QStringLiteral("&Store or Dealer:"), m_vendor);
    form->addRow(QStringLiteral("Dealer's Pho&ne #:"), m_phone);
    form->addRow(QStringLiteral("&Brand && Model:"), m_makeModel);
}

void CDlgAsset_Purchase::toControls()
{
    m_price->setText(NumberEntry::text(m_fPurchasePrice));
    m_date->setDate(AssetPages::dateOf(m_dtPurchaseDate));
    m_vendor->setText(m_strVendor);
    m_phone->setText(m_strPhone1);
    m_makeModel->setText(m_strMakeModel);
}

bool CDlgAsset_Purchase::fromControls()
{
    float price = m_fPurchasePrice;
    if (!readNumber(*m_price, price))
        return false;
    m_fPurchasePrice = price;
    if (m_date->date() != AssetPages::dateOf(m_dtPurchaseDate) || !m_dtPurchaseDate.isValid())
        m_dtPurchaseDate = AssetPages::withDate(m_dtPurchaseDate, m_date->date());
    m_strVendor = m_vendor->text();
    m_strPhone1 = m_phone->text();
    m_strMakeModel = m_makeModel->text();
    return true;
}

void CDlgAsset_Purchase::onActivated()
{
    m_price->setFocus(Qt::OtherFocusReason);
}
