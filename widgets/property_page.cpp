#include "widgets/property_page.h"

#include "widgets/number_entry.h"
#include "widgets/ui.h"
#include "format/string_table.h"

#include <QLineEdit>

CPropertyPage::CPropertyPage(const QString &title, QWidget *parent)
    : QWidget(parent)
    , m_title(title)
{
}

bool CPropertyPage::requireText(QLineEdit &edit, const QString &message)
{
    if (!edit.text().trimmed().isEmpty())
        return true;
    refuse(edit, message);
    return false;
}

bool CPropertyPage::readNumber(QLineEdit &edit, float &value)
{
    if (edit.text() == NumberEntry::text(value))
        return true;
    const std::optional<float> number = NumberEntry::read(edit.text());
    if (!number) {
        refuse(edit, NumberEntry::refusal());
        return false;
    }
    value = *number;
    return true;
}

void CPropertyPage::refuse(QWidget &control, const QString &message)
{
    Ui::messageBox(this, message, Strings::load(Strings::AppTitle), Ui::Icon::Information, Ui::Ok);
    control.setFocus(Qt::OtherFocusReason);
    if (auto *edit = qobject_cast<QLineEdit *>(&control))
        edit->selectAll();
}
