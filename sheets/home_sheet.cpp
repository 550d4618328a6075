#include "sheets/home_sheet.h"

#include "sheets/home_details_page.h"
#include "sheets/home_loans_page.h"
#include "sheets/record_edit.h"
#include "widgets/attachments_page.h"
#include "widgets/notes_page.h"
#include "widgets/picture_page.h"

CHomeSheet::CHomeSheet(const CHome &home, QWidget *owner, CADODataBase *db)
    : CPropertySheet(QStringLiteral("Home Profile"), owner)
    , m_home(home)
{
    m_details = new CDlgHome_Tab1(this);
    m_details->m_strDescription = home.m_strDescription;
    m_details->m_fCurrentValue = home.m_fCurrentValue;
    m_details->m_strAddress = home.m_strAddress;
    m_picture = new CDlgPicture(this);
    m_picture->m_strPicture = home.m_strPicture;
    m_notes = new CDlgNotes(this);
    m_notes->m_strNotes = home.m_strNotes;

    AddPage(m_details);
    // A new home gets its Loans page the next time its sheet is opened: loans need the home's id.
    if (db && home.Exists()) {
        m_loans = new CDlgHome_Loan(*db, home.id(), this);
        m_loansIndex = GetPageCount();
        AddPage(m_loans);
    }
    AddPage(m_picture);
    AddPage(m_notes);
    // Without a data file (a sheet shown on its own) there is nothing to keep papers in.
    if (db) {
        if (home.Exists())
            m_picture->setStoredPicture(db, home.id(), Attachments::kHomeItself);
        m_attachments = new Attachments::Page(*db, home.id(), Attachments::kHomeItself,
                                              home.Exists(), QStringLiteral("home"), this);
        AddPage(m_attachments);
    }
}

CHome CHomeSheet::edited() const
{
    CHome home = m_home;
    home.m_strDescription = m_details->m_strDescription;
    home.m_strAddress = m_details->m_strAddress;
    home.m_fCurrentValue = m_details->m_fCurrentValue;
    home.m_strPicture = m_picture->m_strPicture;
    home.m_strNotes = m_notes->m_strNotes;
    return home;
}

bool CHomeSheet::Edit(CHome &home, CADODataBase &db, QWidget *owner, bool openAtLoans)
{
    CHomeSheet sheet(home, owner, &db);
    if (openAtLoans && home.Exists() && sheet.loansPageIndex() >= 0)
        sheet.SetActivePage(sheet.loansPageIndex());
    RecordEdit::saveOnOk(sheet, home, db, QStringLiteral("home"));
    return sheet.DoModal() == QDialog::Accepted;
}
