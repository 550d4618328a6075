#pragma once
// CTaskSheet: the "Task Properties" sheet of a general task (Details, Notes). Its pages edit a
// copy of the task; Edit saves the copy on OK.

#include "records/task.h"
#include "widgets/property_sheet.h"

class CADODataBase;
class CDlgNotes;
class CDlgTaskItem;

class CTaskSheet : public CPropertySheet
{
    Q_OBJECT
public:
    CTaskSheet(CADODataBase &db, const CTask &task, QWidget *owner = nullptr);

    // The task with the values the pages hold (read back on OK); the columns the pages do not
    // show are kept as they were.
    CTask edited() const;

    // Runs the task's editor over task: this sheet for a general task, the Shopping List Item
    // dialog for a shopping item. On OK the copy is saved and taken over; false when cancelled.
    static bool Edit(CTask &task, CADODataBase &db, QWidget *owner);

private:
    CTask m_task;
    CDlgTaskItem *m_details = nullptr;
    CDlgNotes *m_notes = nullptr;
};
