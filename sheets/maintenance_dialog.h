#pragma once
// Maintenance::Dialog: Tools > Maintenance: the current home's maintenance plans, with their
// history and the buttons that act on them (Maintenance::Panel), and Close.

#include <QDate>
#include <QDialog>

class CADODataBase;

namespace Maintenance {

class Panel;

class Dialog : public QDialog
{
    Q_OBJECT
public:
    Dialog(CADODataBase &db, qint32 homeId, const QString &homeName, const QDate &today,
           QWidget *owner = nullptr);

    Panel *panel() const { return m_panel; }

signals:
    // Plans or tasks changed: the task list and the Today lines are to be shown afresh.
    void changed();

private:
    Panel *m_panel = nullptr;
};

} // namespace Maintenance
