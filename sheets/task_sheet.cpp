#include "sheets/task_sheet.h"

#include "sheets/record_edit.h"
#include "sheets/shopping_item_dialog.h"
#include "sheets/task_details_page.h"
#include "widgets/notes_page.h"

CTaskSheet::CTaskSheet(CADODataBase &db, const CTask &task, QWidget *owner)
    : CPropertySheet(QStringLiteral("Task Properties"), owner)
    , m_task(task)
{
    m_details = new CDlgTaskItem(db, this);
    m_details->m_strDescription = task.m_strDescription;
    m_details->m_nCategoryId = task.m_nCustom2;
    m_details->m_strContact = task.m_strVendor;
    m_details->m_strPhone = task.m_strCustom3;
    m_notes = new CDlgNotes(this);
    m_notes->m_strNotes = task.m_strNotes;
    AddPage(m_details);
    AddPage(m_notes);
}

CTask CTaskSheet::edited() const
{
    CTask task = m_task;
    task.m_strDescription = m_details->m_strDescription;
    task.m_nCustom2 = m_details->m_nCategoryId;
    task.m_strVendor = m_details->m_strContact;
    task.m_strCustom3 = m_details->m_strPhone;
    task.m_strNotes = m_notes->m_strNotes;
    return task;
}

bool CTaskSheet::Edit(CTask &task, CADODataBase &db, QWidget *owner)
{
    if (task.IsShoppingItem()) {
        CDlgShoppingItem dialog(db, task, owner);
        RecordEdit::saveOnOk(dialog, task, db, QStringLiteral("task"));
        return dialog.DoModal() == QDialog::Accepted;
    }
    CTaskSheet sheet(db, task, owner);
    RecordEdit::saveOnOk(sheet, task, db, QStringLiteral("task"));
    return sheet.DoModal() == QDialog::Accepted;
}
