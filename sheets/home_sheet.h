#pragma once
// CHomeSheet: the "Home Profile" sheet. Its pages edit a copy of a home; Edit saves the copy on
// OK. The Loans page, when it exists, goes second and only for a stored home. The home's
// Attachments (its papers) come last and are saved as they are changed.

#include "records/home.h"
#include "widgets/property_sheet.h"

class CADODataBase;
class CDlgHome_Loan;
class CDlgHome_Tab1;
class CDlgNotes;
class CDlgPicture;
namespace Attachments {
class Page;
}

class CHomeSheet : public CPropertySheet
{
    Q_OBJECT
public:
    // The Loans page needs the data file it lists loans from; without db (or for a home not
    // stored yet) the sheet has none.
    CHomeSheet(const CHome &home, QWidget *owner = nullptr, CADODataBase *db = nullptr);

    // The home with the values the pages hold (read back on OK).
    CHome edited() const;

    // Runs the sheet over home, at its Loans page when openAtLoans and the home has one; on OK
    // the copy is saved and taken over. false when cancelled.
    static bool Edit(CHome &home, CADODataBase &db, QWidget *owner, bool openAtLoans = false);

    // Index of the loans page, -1 while the sheet has none.
    int loansPageIndex() const { return m_loansIndex; }
    CDlgHome_Loan *loansPage() const { return m_loans; }

private:
    CHome m_home;
    CDlgHome_Tab1 *m_details = nullptr;
    CDlgPicture *m_picture = nullptr;
    CDlgNotes *m_notes = nullptr;
    CDlgHome_Loan *m_loans = nullptr;
    Attachments::Page *m_attachments = nullptr;
    int m_loansIndex = -1;
};
