#include "app/about_dialog.h"

#include "app/home_app.h"
#include "app/toolbar_icons.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

CAboutDialog::CAboutDialog(QWidget *owner)
    : QDialog(owner)
{
    setWindowTitle(QStringLiteral("About Domelio"));
    setObjectName(QStringLiteral("aboutDialog"));

    auto *icon = new QLabel(this);
    icon->setPixmap(ToolbarIcons::programIcon().pixmap(48, 48));
    auto *version = new QLabel(
        QStringLiteral("Domelio v%1 (Desktop Edition)").arg(QLatin1String(CHomeApp::kVersion)),
        this);
    version->setObjectName(QStringLiteral("version"));
    auto *contact = new QLabel(QStringLiteral("Varn Holt Software\n"
                                              "Web: https://www.domelio.example\n"
                                              "Support: support@domelio.example\n"
                                              "Sales: sales@domelio.example"),
                               this);
    contact->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("ok"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto *layout = new QGridLayout(this);
    layout->addWidget(icon, 0, 0, 2, 1, Qt::AlignTop);
    layout->addWidget(version, 0, 1);
    layout->addWidget(contact, 1, 1);
    layout->addWidget(buttons, 2, 0, 1, 2);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}
