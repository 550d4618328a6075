#include "exchange/sync_dialogs.h"

#include "controls/label.h"
#include "exchange/sync_icons.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {

QLabel *picture(const QPixmap &pixmap, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setPixmap(pixmap);
    label->setFixedSize(pixmap.size());
    return label;
}

// One choice: the radio button, the three pictures of the copy's direction, and its text
// (a label that selects the choice when clicked).
QRadioButton *addChoice(QGridLayout *grid, int row, const QString &text, bool toDevice,
                        const QString &name, QWidget *parent)
{
    auto *radio = new QRadioButton(parent);
    radio->setObjectName(name);
    radio->setAccessibleName(text);

    auto *pictures = new QHBoxLayout;
    pictures->setSpacing(6);
    pictures->addStretch();
    pictures->addWidget(picture(toDevice ? SyncIcons::desktop() : SyncIcons::handheld(), parent));
    pictures->addWidget(picture(SyncIcons::arrow(), parent));
    pictures->addWidget(picture(toDevice ? SyncIcons::handheld() : SyncIcons::desktop(), parent));
    pictures->addStretch();

    auto *label = new CLabel(text, parent);
    label->SetTitleStyle();
    label->setAlignment(Qt::AlignCenter);
    label->setObjectName(name + QLatin1String("Label"));
    label->setBuddy(radio);
    QObject::connect(label, &CLabel::clicked, radio, [radio] {
        radio->setChecked(true);
        radio->setFocus();
    });

    grid->addWidget(radio, row, 0, 2, 1, Qt::AlignVCenter);
    grid->addLayout(pictures, row, 1);
    grid->addWidget(label, row + 1, 1);
    return radio;
}

} // namespace

CSyncDirectionDialog::CSyncDirectionDialog(QWidget *owner, std::function<void()> onFirstPaint)
    : QDialog(owner)
    , m_onFirstPaint(std::move(onFirstPaint))
{
    setWindowTitle(QStringLiteral("Sync Direction"));
    setObjectName(QStringLiteral("syncDirectionDialog"));

    auto *prompt = new CLabel(QStringLiteral("Please select how you wish to sync:"), this);
    prompt->SetLinkStyle(); // black, bold
    prompt->setObjectName(QStringLiteral("prompt"));

    auto *choices = new QGridLayout;
    choices->setHorizontalSpacing(12);
    choices->setVerticalSpacing(4);
    m_toDevice = addChoice(choices, 0, QStringLiteral("Desktop data replaces device data"), true,
                           QStringLiteral("toDevice"), this);
    choices->setRowMinimumHeight(2, 14);
    m_toDesktop = addChoice(choices, 3, QStringLiteral("Device data replaces desktop data"), false,
                            QStringLiteral("toDesktop"), this);
    m_toDevice->setChecked(true);

    auto *buttons = new QDialogButtonBox(this);
    QPushButton *sync = buttons->addButton(QStringLiteral("&Sync"), QDialogButtonBox::AcceptRole);
    sync->setObjectName(QStringLiteral("sync"));
    sync->setDefault(true);
    QPushButton *cancel =
        buttons->addButton(QStringLiteral("&Cancel"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(prompt);
    layout->addSpacing(8);
    layout->addLayout(choices);
    layout->addSpacing(8);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    setTabOrder(m_toDevice, m_toDesktop);
    setTabOrder(m_toDesktop, sync);
    setTabOrder(sync, cancel);
    m_toDevice->setFocus();
}

void CSyncDirectionDialog::accept()
{
    m_direction = m_toDevice->isChecked() ? Sync::Direction::DesktopToDevice
                                          : Sync::Direction::DeviceToDesktop;
    QDialog::accept();
}

void CSyncDirectionDialog::paintEvent(QPaintEvent *event)
{
    QDialog::paintEvent(event);
    if (m_painted)
        return;
    m_painted = true;
    // Shown once the dialog is on the screen; a dialog closed before that shows nothing, and
    // the advice waits for the next time.
    if (m_onFirstPaint)
        QTimer::singleShot(0, this, [this] {
            if (isVisible())
                m_onFirstPaint();
        });
}

CSyncProgressWindow::CSyncProgressWindow(QWidget *owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setWindowTitle(QStringLiteral("Synchronizing Domelio Data..."));
    setObjectName(QStringLiteral("syncProgressWindow"));
    setModal(false);

    auto *icon = picture(SyncIcons::synchronizing(), this);
    icon->setObjectName(QStringLiteral("icon"));
    auto *title = new CLabel(QStringLiteral("Your data is being synchronized."), this);
    title->SetTitleStyle();
    title->setObjectName(QStringLiteral("title"));
    auto *advice = new QLabel(QStringLiteral("Please do not use Domelio or disconnect the device "
                                             "while synchronization is in progress."),
                              this);
    advice->setObjectName(QStringLiteral("advice"));
    advice->setWordWrap(true);
    advice->setMinimumWidth(300);

    auto *layout = new QGridLayout(this);
    layout->setHorizontalSpacing(14);
    layout->addWidget(icon, 0, 0, 2, 1, Qt::AlignTop);
    layout->addWidget(title, 0, 1);
    layout->addWidget(advice, 1, 1);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void CSyncProgressWindow::showNow()
{
    show();
    raise();
    // Let the window system map it, then paint it before the copy holds the thread; no input
    // is taken meanwhile.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    repaint();
}

void CSyncProgressWindow::closeEvent(QCloseEvent *event)
{
    event->ignore();
}

void CSyncProgressWindow::keyPressEvent(QKeyEvent *event)
{
    // Escape would close a dialog; this one stays until the copy is done.
    if (event->key() == Qt::Key_Escape)
        return;
    QDialog::keyPressEvent(event);
}
