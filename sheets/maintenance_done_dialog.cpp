#include "sheets/maintenance_done_dialog.h"

#include "format/string_table.h"
#include "sheets/asset_purchase_page.h"
#include "widgets/number_entry.h"
#include "widgets/ui.h"

#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace Maintenance {

DoneDialog::DoneDialog(const QString &planText, const QDate &today, QWidget *owner)
    : QDialog(owner)
{
    setObjectName(QStringLiteral("markDone"));
    setWindowTitle(QStringLiteral("Mark Done"));

    auto *intro = new QLabel(QStringLiteral("When was \u201c%1\u201d done?").arg(planText), this);
    intro->setWordWrap(true);
    intro->setTextFormat(Qt::PlainText);

    m_date = AssetPages::makeDatePicker(QStringLiteral("doneDate"), this);
    // Work is recorded once done: a later date is not offered.
    m_date->setMaximumDate(today);
    m_date->setDate(today);
    m_costEdit = new QLineEdit(this);
    m_costEdit->setObjectName(QStringLiteral("cost"));
    m_costEdit->setPlaceholderText(QStringLiteral("optional"));
    m_costEdit->setMaximumWidth(140);
    m_notes = new QLineEdit(this);
    m_notes->setObjectName(QStringLiteral("notes"));
    m_notes->setPlaceholderText(QStringLiteral("optional"));

    auto *form = new QFormLayout;
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    form->addRow(QStringLiteral("Done &on:"), m_date);
    form->addRow(QStringLiteral("&Cost:"), m_costEdit);
    form->addRow(QStringLiteral("&Notes:"), m_notes);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("ok"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &DoneDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addLayout(form);
    layout->addWidget(buttons);
    setMinimumWidth(360);
    m_date->setFocus();
}

QDate DoneDialog::date() const
{
    return m_date->date();
}

QString DoneDialog::notes() const
{
    return m_notes->text().trimmed();
}

bool DoneDialog::DoModal()
{
    return Ui::runModal(*this) == QDialog::Accepted;
}

void DoneDialog::accept()
{
    const QString text = m_costEdit->text().trimmed();
    const std::optional<float> cost = text.isEmpty() ? 0.0f : NumberEntry::read(text);
    if (!cost || *cost < 0) {
        Ui::messageBox(
            this, cost ? QStringLiteral("The cost cannot be less than 0.") : NumberEntry::refusal(),
            Strings::load(Strings::AppTitle), Ui::Icon::Information, Ui::Ok);
        m_costEdit->setFocus(Qt::OtherFocusReason);
        m_costEdit->selectAll();
        return;
    }
    m_cost = double(*cost);
    QDialog::accept();
}

} // namespace Maintenance
