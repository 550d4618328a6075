#include "sheets/maintenance_dialog.h"

#include "controls/auto_list_ctrl.h"
#include "sheets/maintenance_panel.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace Maintenance {

Dialog::Dialog(CADODataBase &db, qint32 homeId, const QString &homeName, const QDate &today,
               QWidget *owner)
    : QDialog(owner)
{
    setObjectName(QStringLiteral("maintenance"));
    setWindowTitle(QStringLiteral("Maintenance"));

    auto *intro = new QLabel(QStringLiteral("The work that comes round at %1. A plan becomes a "
                                            "task in the Tasks view when it is nearly due; "
                                            "marking the task done moves the plan on.")
                                 .arg(homeName),
                             this);
    intro->setTextFormat(Qt::PlainText);
    intro->setWordWrap(true);

    m_panel = new Panel(db, homeId, homeName, 0, today, this);
    connect(m_panel, &Panel::changed, this, &Dialog::changed);

    auto *buttons = new QDialogButtonBox(this);
    auto *close = buttons->addButton(QStringLiteral("Cl&ose"), QDialogButtonBox::RejectRole);
    close->setObjectName(QStringLiteral("close"));
    close->setAutoDefault(false);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addWidget(m_panel, 1);
    layout->addWidget(buttons);
    setMinimumSize(720, 460);
    resize(880, 500);
    m_panel->plans()->setFocus();
}

} // namespace Maintenance
