#include "sheets/task_sheet.h"

#include "format/string_table.h"
#include "sheets/shopping_item_dialog.h"
#include "sheets/task_details_page.h"
#include "widgets/notes_page.h"
#include "widgets/ui.h"

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

namespace {

// Saves the edited copy; on failure says so and keeps the editor open with the user's input.
bool saveEdited(CADODataBase &db, CTask &edited, QWidget *editor)
{
    bool saved = false;
    {
        Ui::WaitCursor wait;
        saved = edited.Save(db);
    }
    if (!saved)
        Ui::messageBox(editor,
                       QStringLiteral("The task could not be saved in the data file. Your "
                                      "entries are still here: try again, or cancel."),
                       Strings::load(Strings::AppTitle), Ui::Icon::Warning, Ui::Ok);
    return saved;
}

} // namespace

bool CTask::Edit(CADODataBase &db, QWidget *owner)
{
    if (IsShoppingItem()) {
        CDlgShoppingItem dialog(db, *this, owner);
        dialog.setCommit([&] {
            CTask task = dialog.edited();
            if (!saveEdited(db, task, &dialog))
                return false;
            *this = task;
            return true;
        });
        return dialog.DoModal() == QDialog::Accepted;
    }

    CTaskSheet sheet(db, *this, owner);
    sheet.setCommit([&] {
        CTask task = sheet.edited();
        if (!saveEdited(db, task, &sheet))
            return false;
        *this = task;
        return true;
    });
    return sheet.DoModal() == QDialog::Accepted;
}
