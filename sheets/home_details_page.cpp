#include "sheets/home_details_page.h"

#include "widgets/number_entry.h"
#include "widgets/shared_look.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

CDlgHome_Tab1::CDlgHome_Tab1(QWidget *parent)
    : CPropertyPage(QStringLiteral("Details"), parent)
{
    m_description = new QLineEdit(this);
    m_description->setObjectName(QStringLiteral("description"));
    auto *hint = new QLabel(QStringLiteral("(e.g: my summer home)"), this);
    QPalette palette = hint->palette();
    palette.setColor(QPalette::WindowText, SharedLook::accentColor());
    hint->setPalette(palette);
    m_value = new QLineEdit(this);
    m_value->setObjectName(QStringLiteral("currentValue"));
    m_value->setMaximumWidth(160);
    m_address = new QPlainTextEdit(this);
    m_address->setObjectName(QStringLiteral("address"));
    m_address->setTabChangesFocus(true);

    auto *layout = new QFormLayout(this);
    layout->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    layout->addRow(QStringLiteral("&Description:"), m_description);
    layout->addRow(QString(), hint);
    layout->addRow(QStringLiteral("Curr. &Value:"), m_value);
    layout->addRow(QStringLiteral("&Address:"), m_address);
}

void CDlgHome_Tab1::toControls()
{
    m_description->setText(m_strDescription);
    m_value->setText(NumberEntry::text(m_fCurrentValue));
    m_address->setPlainText(m_strAddress);
}

bool CDlgHome_Tab1::fromControls()
{
    if (!requireText(*m_description, QStringLiteral("Please enter a description for this home.")))
        return false;
    float value = m_fCurrentValue;
    if (!readNumber(*m_value, value))
        return false;
    m_strDescription = m_description->text();
    m_fCurrentValue = value;
    m_strAddress = m_address->toPlainText();
    return true;
}

void CDlgHome_Tab1::onActivated()
{
    m_description->setFocus(Qt::OtherFocusReason);
}
