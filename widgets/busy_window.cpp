#include "widgets/busy_window.h"

#include "format/string_table.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>
#include <QProgressDialog>
#include <QPushButton>

namespace Ui {
namespace {

constexpr int kBarSteps = 1000;

// A progress dialog whose Cancel only asks: the work decides when it can stop, and the window
// stays until it has. Work that cannot be cancelled is not closed by Escape or the title bar.
class ProgressDialog final : public QProgressDialog
{
public:
    ProgressDialog(QWidget *owner, bool cancellable, bool *asked)
        : QProgressDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
        , m_cancellable(cancellable)
        , m_asked(asked)
    {
        // The dialog's own answer to Cancel would hide it at once and reset the bar.
        // (Made by name in some Qt versions, by member in others.)
        disconnect(this, SIGNAL(canceled()), this, SLOT(cancel()));
        disconnect(this, &QProgressDialog::canceled, this, &QProgressDialog::cancel);
        connect(this, &QProgressDialog::canceled, this, [this] { ask(); });
    }

    void reject() override { ask(); }

protected:
    void closeEvent(QCloseEvent *event) override
    {
        event->ignore();
        ask();
    }

private:
    void ask()
    {
        if (!m_cancellable || *m_asked)
            return;
        *m_asked = true;
        // Pressed once is enough; the work stops at its next step.
        if (auto *button = findChild<QPushButton *>(QStringLiteral("busyCancel")))
            button->setEnabled(false);
    }

    bool m_cancellable;
    bool *m_asked;
};

} // namespace

BusyWindow::~BusyWindow()
{
    hide();
}

void BusyWindow::show(const Busy::Work &work)
{
    hide();
    if (!qobject_cast<QApplication *>(QCoreApplication::instance()))
        return;
    m_cancelAsked = false;
    QWidget *owner = QApplication::activeModalWidget();
    if (!owner)
        owner = QApplication::activeWindow();
    auto *dialog = new ProgressDialog(owner, work.cancellable, &m_cancelAsked);
    m_dialog = dialog;
    dialog->setObjectName(QStringLiteral("busyProgress"));
    dialog->setWindowTitle(Strings::load(Strings::AppTitle));
    dialog->setAccessibleName(work.label);

    m_label = new QLabel(dialog);
    m_label->setObjectName(QStringLiteral("busyLabel"));
    dialog->setLabel(m_label);
    m_bar = new QProgressBar(dialog);
    m_bar->setObjectName(QStringLiteral("busyBar"));
    m_bar->setAccessibleName(QStringLiteral("Progress"));
    dialog->setBar(m_bar);
    if (work.cancellable) {
        m_cancel = new QPushButton(QStringLiteral("Cancel"), dialog);
        m_cancel->setObjectName(QStringLiteral("busyCancel"));
        m_cancel->setAccessibleName(QStringLiteral("Cancel"));
        dialog->setCancelButton(m_cancel);
    } else {
        m_cancel = nullptr;
        dialog->setCancelButton(nullptr);
    }
    dialog->setAutoClose(false);
    dialog->setAutoReset(false);
    dialog->setMinimumWidth(320);
    dialog->setWindowModality(Qt::ApplicationModal);
    apply(work);
    dialog->show();
    dialog->raise();
    // Mapped and painted before the work takes the thread back.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void BusyWindow::apply(const Busy::Work &work)
{
    if (m_label->text() != work.label) {
        m_dialog->setLabelText(work.label);
        m_label->setAccessibleName(work.label);
        m_dialog->setAccessibleName(work.label);
    }
    // The bar is set directly: the dialog's own setValue() would let every event through.
    if (work.total > 0) {
        if (m_bar->maximum() != kBarSteps)
            m_bar->setRange(0, kBarSteps);
        m_bar->setValue(int(qBound<qint64>(0, work.done, work.total) * kBarSteps / work.total));
    } else if (m_bar->maximum() != 0) {
        m_bar->setRange(0, 0);
    }
    if (m_cancel)
        m_cancel->setEnabled(work.cancellable && !m_cancelAsked);
}

bool BusyWindow::update(const Busy::Work &work)
{
    if (!m_dialog)
        return false;
    apply(work);
    // Input reaches the window only when it has a Cancel to press; the window is modal, so
    // none reaches another window then either.
    QCoreApplication::processEvents(work.cancellable && m_cancel
                                        ? QEventLoop::AllEvents
                                        : QEventLoop::ExcludeUserInputEvents);
    return m_cancelAsked;
}

void BusyWindow::hide()
{
    m_label = nullptr;
    m_bar = nullptr;
    m_cancel = nullptr;
    delete m_dialog.data();
    m_dialog = nullptr;
}

BusyWindow &busyWindow()
{
    static BusyWindow window;
    return window;
}

} // namespace Ui
