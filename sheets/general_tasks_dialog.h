#pragma once
// CDlgGeneralTasks: the "General Tasks" dialog, the pool of general tasks and shopping items.
// Ticking an entry picks it for the Tasks view and clearing returns it to the pool; both are
// written at once. Close remembers which kind was listed.

#include <QDialog>

class CADODataBase;
class CAutoListCtrl;
class CSettingsKey;
class QPushButton;
class QRadioButton;

class CDlgGeneralTasks : public QDialog
{
    Q_OBJECT
public:
    CDlgGeneralTasks(CADODataBase &db, CSettingsKey &settings, QWidget *owner = nullptr);

    // Runs the dialog through the Ui seam; QDialog::Accepted when closed with Close.
    int DoModal();

    CAutoListCtrl *list() const { return m_list; }
    bool showsShopping() const;

    // The buttons' actions.
    void NewEntry();
    void EditSelected();
    void RemoveSelected();

public slots:
    // Close: the listed kind is remembered for the next opening.
    void accept() override;

private:
    void fill();
    // The row's status from its tick: 1 ticked, 0 clear (not while the list is being filled).
    void writeStatus(int row);

    CADODataBase &m_db;
    CSettingsKey &m_settings;
    QRadioButton *m_general = nullptr;
    QRadioButton *m_shopping = nullptr;
    CAutoListCtrl *m_list = nullptr;
    QPushButton *m_new = nullptr;
    QPushButton *m_edit = nullptr;
    QPushButton *m_remove = nullptr;
    QPushButton *m_close = nullptr;
    bool m_reacting = false; // check-box changes write the status
    qint32 m_selectAfterFill = 0; // the entry just created or edited
};
