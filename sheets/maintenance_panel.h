#pragma once
// Maintenance::Panel: a home's maintenance plans (or one asset's), by next date, with the
// history of the one selected, and the buttons that act on them: New, Edit, Delete, Mark Done,
// Skip and Export Calendar. The Maintenance dialog shows a home's; the asset sheet's
// Maintenance page one asset's. Every change is saved at once and the task list brought in step
// (Maintenance::reconcile).

#include <QDate>
#include <QWidget>

class CADODataBase;
class CAutoListCtrl;
class QLabel;
class QPushButton;

namespace Maintenance {

class Panel : public QWidget
{
    Q_OBJECT
public:
    // assetId 0: every plan of the home; otherwise that asset's, and new plans are for it.
    Panel(CADODataBase &db, qint32 homeId, const QString &homeName, qint32 assetId,
          const QDate &today, QWidget *parent = nullptr);

    // Brings the tasks in step with the plans, then lists the plans afresh, selecting planId
    // when listed (else the first plan).
    void refill(qint32 planId = 0);

    void newPlan();
    void editSelected();
    void deleteSelected();
    void markSelectedDone();
    void skipSelected();
    void exportCalendar();

    CAutoListCtrl *plans() const { return m_plans; }
    CAutoListCtrl *history() const { return m_history; }
    // The selected plan's id; 0 without one.
    qint32 selectedId() const;

signals:
    // Plans or tasks changed: the task list and the Today lines are to be shown afresh.
    void changed();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // After a change: the tasks follow, the list is filled again, the owner is told.
    void afterChange(qint32 planId);
    void fillHistory();
    void updateButtons();
    QString selectedText() const;

    CADODataBase &m_db;
    qint32 m_homeId;
    QString m_homeName;
    qint32 m_assetId;
    QDate m_today;
    CAutoListCtrl *m_plans = nullptr;
    CAutoListCtrl *m_history = nullptr;
    QLabel *m_historyLabel = nullptr;
    QPushButton *m_edit = nullptr;
    QPushButton *m_delete = nullptr;
    QPushButton *m_done = nullptr;
    QPushButton *m_skip = nullptr;
    QPushButton *m_export = nullptr;
};

} // namespace Maintenance
