#pragma once
// The one seam between the program and the person at the keyboard. Every message box, file
// dialog, modal dialog, shell "open" and wait cursor goes through Ui::services(), so tests can
// install a scripted implementation that answers instead of a person.

#include <QString>
#include <QStringList>
#include <QUrl>

class QDialog;
class QWidget;

namespace Ui {

enum class Icon { None, Information, Warning, Critical, Question };

// Button flags for messageBox(); the result is the flag of the button chosen.
enum Button : int { Ok = 0x1, Cancel = 0x2, Yes = 0x4, No = 0x8, Retry = 0x10 };

class Services
{
public:
    virtual ~Services() = default;

    // caption empty = the system's default caption (systemCaption()), never the program's name.
    virtual int messageBox(QWidget *owner, const QString &text, const QString &caption, Icon icon,
                           int buttons, int defaultButton) = 0;
    virtual QString openFileName(QWidget *owner, const QString &caption, const QString &dir,
                                 const QString &filter) = 0;
    // Several existing files chosen at once; empty when cancelled.
    virtual QStringList openFileNames(QWidget *owner, const QString &caption, const QString &dir,
                                      const QString &filter) = 0;
    virtual QString saveFileName(QWidget *owner, const QString &caption, const QString &dir,
                                 const QString &filter) = 0;
    // Runs a dialog or sheet modally; returns QDialog::Accepted or QDialog::Rejected.
    virtual int runModal(QDialog &dialog) = 0;
    // Opens a file or address with the program the desktop associates with it.
    virtual bool openUrl(const QUrl &url) = 0;
    virtual void setWaitCursor(bool on) = 0;
};

// The caption a message box gets from the system when its owner names none.
QString systemCaption();

// The services in force: the real Qt ones unless a test installed others.
Services &services();
// Installs replacement services (not owned); nullptr restores the real ones.
void install(Services *replacement);

int messageBox(QWidget *owner, const QString &text, const QString &caption,
               Icon icon = Icon::Information, int buttons = Ok, int defaultButton = 0);
QString openFileName(QWidget *owner, const QString &caption, const QString &dir,
                     const QString &filter);
QStringList openFileNames(QWidget *owner, const QString &caption, const QString &dir,
                          const QString &filter);
QString saveFileName(QWidget *owner, const QString &caption, const QString &dir,
                     const QString &filter);
int runModal(QDialog &dialog);
bool openUrl(const QUrl &url);

// Shows the wait cursor for its lifetime; nests.
class WaitCursor
{
public:
    WaitCursor();
    ~WaitCursor();
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;
};

} // namespace Ui
