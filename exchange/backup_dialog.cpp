#include "exchange/backup_dialog.h"

#include "db/ado_database.h"
#include "exchange/backup_restore.h"
#include "format/string_table.h"
#include "platform/busy.h"
#include "widgets/file_choice.h"
#include "widgets/ui.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString kFilter = QStringLiteral("Domelio Data Files (*.dat);;All Files (*)");

// A group of one button and the text that explains it.
QGroupBox *group(const QString &title, QPushButton *button, const QString &text, QWidget *parent)
{
    auto *box = new QGroupBox(title, parent);
    auto *explanation = new QLabel(text, box);
    explanation->setWordWrap(true);
    explanation->setMinimumWidth(300);
    button->setAccessibleDescription(text);
    auto *layout = new QGridLayout(box);
    layout->addWidget(button, 0, 0, Qt::AlignTop);
    layout->addWidget(explanation, 0, 1);
    layout->setColumnStretch(1, 1);
    return box;
}

} // namespace

CDlgBackup::CDlgBackup(CADODataBase &db, QWidget *owner)
    : QDialog(owner)
    , m_db(db)
{
    setWindowTitle(QStringLiteral("Backup & Restore"));
    setObjectName(QStringLiteral("backupDialog"));

    auto *backup = new QPushButton(QStringLiteral("&Backup"), this);
    backup->setObjectName(QStringLiteral("backup"));
    backup->setAutoDefault(false);
    connect(backup, &QPushButton::clicked, this, &CDlgBackup::OnBackup);
    auto *restore = new QPushButton(QStringLiteral("&Restore"), this);
    restore->setObjectName(QStringLiteral("restore"));
    restore->setAutoDefault(false);
    connect(restore, &QPushButton::clicked, this, &CDlgBackup::OnRestore);
    // Both buttons as wide as the wider one, so the two texts line up.
    const int width = std::max(backup->sizeHint().width(), restore->sizeHint().width());
    backup->setMinimumWidth(width);
    restore->setMinimumWidth(width);

    auto *buttons = new QDialogButtonBox(this);
    auto *cancel = buttons->addButton(QStringLiteral("&Cancel"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("cancel"));
    connect(buttons, &QDialogButtonBox::rejected, this, &CDlgBackup::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(group(QStringLiteral("Backup"), backup,
                            QStringLiteral("Click this button to backup your data. You may choose "
                                           "to save your data to a floppy disk, a different "
                                           "folder, or another disk drive."),
                            this));
    layout->addWidget(group(QStringLiteral("Restore"), restore,
                            QStringLiteral("Click this button to restore previously backed-up "
                                           "data. Your current data will be replaced with the "
                                           "old data. You will be allowed to preview what is "
                                           "restored."),
                            this));
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    backup->setFocus();
}

void CDlgBackup::OnBackup()
{
    const QString path = FileChoice::saveFileName(this, QStringLiteral("Backup"),
                                                  QStringLiteral("Domelio Backup.dat"), kFilter,
                                                  QStringLiteral("dat"), m_db.GetDataSource());
    if (path.isEmpty())
        return;
    const QString appName = Strings::load(Strings::AppTitle);
    Ui::WaitCursor wait;
    DataFileBackup::Outcome done;
    {
        const Busy::Scope busy(QStringLiteral("Backing up your data..."));
        done = DataFileBackup::backup(m_db, path);
    }
    if (done.ok)
        Ui::messageBox(this,
                       QStringLiteral("Your data was successfully backed up to \"%1\".")
                           .arg(QDir::toNativeSeparators(path)),
                       appName, Ui::Icon::Information, Ui::Ok);
    else
        Ui::messageBox(this,
                       QStringLiteral("There was an error backing up to that file. Please try "
                                      "again.\n\n")
                           + done.reason,
                       appName, Ui::Icon::Warning, Ui::Ok);
    accept();
}

void CDlgBackup::OnRestore()
{
    const QString path =
        Ui::openFileName(this, QStringLiteral("Restore"), FileChoice::startFolder(), kFilter);
    if (path.isEmpty() || FileChoice::refuseDataFile(this, path, m_db.GetDataSource()))
        return;
    const QString appName = Strings::load(Strings::AppTitle);
    if (Ui::messageBox(this,
                       QStringLiteral("Would you like to proceed with the Restore? Your current "
                                      "data will be overwritten."),
                       appName, Ui::Icon::Question, Ui::Yes | Ui::No)
        != Ui::Yes)
        return;

    Ui::WaitCursor wait;
    DataFileBackup::Outcome done;
    bool cancelled = false;
    {
        // The copy and its check may be cancelled; nothing of the current data is touched
        // before they are done.
        Busy::Scope busy(QStringLiteral("Checking the backup..."), Busy::Cancel::Allowed);
        done = DataFileBackup::restore(m_db, path);
        cancelled = busy.cancelled() && !done.replaced;
    }
    // Reloaded too when nothing could be opened again: the views must not go on showing rows
    // that no save can reach.
    m_restored = done.replaced || !m_db.IsOpen();
    if (cancelled) {
        Ui::messageBox(this,
                       QStringLiteral("The restore was cancelled. Your current data has not been "
                                      "changed."),
                       appName, Ui::Icon::Information, Ui::Ok);
    } else if (done.ok) {
        Ui::messageBox(this, QStringLiteral("Your data was successfully restored."), appName,
                       Ui::Icon::Information, Ui::Ok);
    } else {
        QString text =
            QStringLiteral("There was an error restoring that file. Please try again.\n\n")
            + done.reason;
        if (!done.replaced && m_db.IsOpen())
            text += QStringLiteral("\n\nYour current data has not been changed.");
        Ui::messageBox(this, text, appName, Ui::Icon::Warning, Ui::Ok);
    }
    accept();
}
