#include "widgets/ui.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>

namespace Ui {
QString systemCaption()
{
    return QStringLiteral("Error");
}

namespace {

class QtServices final : public Services
{
public:
    int messageBox(QWidget *owner, const QString &text, const QString &caption, Icon icon,
                   int buttons, int defaultButton) override
    {
        QMessageBox box(owner);
        box.setText(text);
        // No caption asks for the system's own, never the program's name: the platform would
        // put that on an untitled window, so the system's word is set explicitly.
        box.setWindowTitle(caption.isEmpty() ? systemCaption() : caption);
        switch (icon) {
        case Icon::None:
            box.setIcon(QMessageBox::NoIcon);
            break;
        case Icon::Information:
            box.setIcon(QMessageBox::Information);
            break;
        case Icon::Warning:
            box.setIcon(QMessageBox::Warning);
            break;
        case Icon::Critical:
            box.setIcon(QMessageBox::Critical);
            break;
        case Icon::Question:
            box.setIcon(QMessageBox::Question);
            break;
        }
        const std::pair<int, QMessageBox::StandardButton> map[] = { { Ok, QMessageBox::Ok },
                                                                    { Cancel, QMessageBox::Cancel },
                                                                    { Yes, QMessageBox::Yes },
                                                                    { No, QMessageBox::No },
                                                                    { Retry, QMessageBox::Retry } };
        QMessageBox::StandardButtons standard;
        for (auto [flag, button] : map) {
            if (buttons & flag)
                standard |= button;
        }
        box.setStandardButtons(standard ? standard : QMessageBox::Ok);
        for (auto [flag, button] : map) {
            if (defaultButton == flag)
                box.setDefaultButton(button);
        }
        // The platform's cursor may be a wait cursor while a long action reports a problem.
        const bool waiting = QApplication::overrideCursor() != nullptr;
        if (waiting)
            QApplication::setOverrideCursor(Qt::ArrowCursor);
        const int chosen = box.exec();
        if (waiting)
            QApplication::restoreOverrideCursor();
        for (auto [flag, button] : map) {
            if (chosen == button)
                return flag;
        }
        return (buttons & Cancel) ? Cancel : (buttons & No) ? No : Ok;
    }

    QString openFileName(QWidget *owner, const QString &caption, const QString &dir,
                         const QString &filter) override
    {
        return QFileDialog::getOpenFileName(owner, caption, dir, filter);
    }

    QStringList openFileNames(QWidget *owner, const QString &caption, const QString &dir,
                              const QString &filter) override
    {
        return QFileDialog::getOpenFileNames(owner, caption, dir, filter);
    }

    QString saveFileName(QWidget *owner, const QString &caption, const QString &dir,
                         const QString &filter) override
    {
        return QFileDialog::getSaveFileName(owner, caption, dir, filter);
    }

    int runModal(QDialog &dialog) override { return dialog.exec(); }

    bool openUrl(const QUrl &url) override { return QDesktopServices::openUrl(url); }

    void setWaitCursor(bool on) override
    {
        if (!qobject_cast<QApplication *>(QCoreApplication::instance()))
            return;
        if (on)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        else
            QApplication::restoreOverrideCursor();
    }
};

QtServices realServices;
Services *installed = nullptr;

} // namespace

Services &services()
{
    return installed ? *installed : realServices;
}

void install(Services *replacement)
{
    installed = replacement;
}

int messageBox(QWidget *owner, const QString &text, const QString &caption, Icon icon, int buttons,
               int defaultButton)
{
    return services().messageBox(owner, text, caption, icon, buttons, defaultButton);
}

QString openFileName(QWidget *owner, const QString &caption, const QString &dir,
                     const QString &filter)
{
    return services().openFileName(owner, caption, dir, filter);
}

QStringList openFileNames(QWidget *owner, const QString &caption, const QString &dir,
                          const QString &filter)
{
    return services().openFileNames(owner, caption, dir, filter);
}

QString saveFileName(QWidget *owner, const QString &caption, const QString &dir,
                     const QString &filter)
{
    return services().saveFileName(owner, caption, dir, filter);
}

int runModal(QDialog &dialog)
{
    return services().runModal(dialog);
}

bool openUrl(const QUrl &url)
{
    return services().openUrl(url);
}

WaitCursor::WaitCursor()
{
    services().setWaitCursor(true);
}

WaitCursor::~WaitCursor()
{
    services().setWaitCursor(false);
}

} // namespace Ui
