#pragma once
// CLoanSheet: the "Loan Properties" sheet: Details, Lender and Notes over a copy of a loan;
// Edit saves the copy on OK.

#include "records/loan.h"
#include "sheets/loan_details_page.h"
#include "widgets/property_sheet.h"

class CADODataBase;
class CDlgLoan_Lender;
class CDlgNotes;

class CLoanSheet : public CPropertySheet
{
    Q_OBJECT
public:
    // clock: what "now" is for Auto Update (the system clock when empty).
    explicit CLoanSheet(const CLoan &loan, QWidget *owner = nullptr,
                        CDlgLoan_Tab1::Clock clock = {});

    CLoan edited() const;

    // Runs the sheet over loan; on OK the copy is saved and taken over. false when cancelled.
    static bool Edit(CLoan &loan, CADODataBase &db, QWidget *owner,
                     CDlgLoan_Tab1::Clock clock = {});

private:
    CLoan m_loan;
    CDlgLoan_Tab1 *m_details = nullptr;
    CDlgLoan_Lender *m_lender = nullptr;
    CDlgNotes *m_notes = nullptr;
};
