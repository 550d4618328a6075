#pragma once
// CTasksView: the picked tasks and shopping items (status 1 or 2) in one owner-drawn list. A
// click marks an entry done or active again; the title's View menu filters the list by kind and
// returns entries to the pool. The view owns the active-task count the Today view shows.

#include "views/form_view.h"

class CAutoListCtrl;
class CLabel;
class QAction;
class QMenu;

class CTasksView : public CFormView
{
    Q_OBJECT
public:
    explicit CTasksView(ViewHost &host, QWidget *parent = nullptr);

    // Rebuilds the list by the kind filter (when the view is next shown, if it is hidden) and
    // has the Today view recount.
    void Refresh();

    // The kind filter (TaskList::Filter), and the number of listed active entries.
    qint32 filter() const { return m_filter; }
    int activeCount() const { return m_activeCount; }

    // The View menu's commands: a kind filter (written to the settings, then a refresh), and
    // returning entries to the pool: all of them or the done ones.
    void SetFilter(qint32 filter);
    void ClearTasks(bool doneOnly);
    // Marks the selected entry done, or active again when it is done.
    void ToggleSelected();
    // The selected entry's properties; the row follows an edit.
    void EditSelected();
    // Opens the View menu below the title.
    void ShowViewMenu();

    CAutoListCtrl *list() const { return m_list; }
    CLabel *title() const { return m_title; }
    QMenu *viewMenu() const { return m_viewMenu; }

    void Layout() override;
    void OnContextNew() override;
    void OnContextProperties() override;
    bool HasSelection() const override;
    // Entries are deleted in the pool only: the popup's Delete stays disabled here.
    bool CanDelete() const override { return false; }

protected:
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void fill();
    // Selects the row of taskId, when listed.
    void selectTask(qint32 taskId);
    // The selected row and its data (negative for a done entry); false without one.
    bool selectedEntry(int &row, qint32 &value) const;
    void updateFilterChecks();

    CLabel *m_title = nullptr;
    CAutoListCtrl *m_list = nullptr;
    CLabel *m_corner = nullptr;
    QMenu *m_viewMenu = nullptr;
    QAction *m_filterActions[3] = {};
    qint32 m_filter = 0;
    int m_activeCount = 0;
};
