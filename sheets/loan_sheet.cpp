#include "sheets/loan_sheet.h"

#include "sheets/loan_lender_page.h"
#include "sheets/record_edit.h"
#include "widgets/notes_page.h"

CLoanSheet::CLoanSheet(const CLoan &loan, QWidget *owner, CDlgLoan_Tab1::Clock clock)
    : CPropertySheet(QStringLiteral("Loan Properties"), owner)
    , m_loan(loan)
{
    m_details = new CDlgLoan_Tab1(this, std::move(clock));
    m_details->m_strDescription = loan.m_strDescription;
    m_details->m_fPrincipal = loan.m_fPrincipal;
    m_details->m_fInterestRate = loan.m_fInterestRate;
    m_details->m_nTermInMonths = loan.m_nTermInMonths;
    m_details->m_dtStartDate = loan.m_dtStartDate;
    m_lender = new CDlgLoan_Lender(this);
    m_lender->m_strLenderName = loan.m_strLenderName;
    m_lender->m_strLenderAcctNo = loan.m_strLenderAcctNo;
    m_lender->m_strLenderPhone = loan.m_strLenderPhone;
    m_lender->m_nAssetType = loan.m_nAssetType;
    m_notes = new CDlgNotes(this);
    m_notes->m_strNotes = loan.m_strNotes;

    AddPage(m_details);
    AddPage(m_lender);
    AddPage(m_notes);
}

CLoan CLoanSheet::edited() const
{
    CLoan loan = m_loan;
    loan.m_strDescription = m_details->m_strDescription;
    loan.m_fPrincipal = m_details->m_fPrincipal;
    loan.m_fInterestRate = m_details->m_fInterestRate;
    loan.m_nTermInMonths = m_details->m_nTermInMonths;
    loan.m_dtStartDate = m_details->m_dtStartDate;
    loan.m_strLenderName = m_lender->m_strLenderName;
    loan.m_strLenderAcctNo = m_lender->m_strLenderAcctNo;
    loan.m_strLenderPhone = m_lender->m_strLenderPhone;
    loan.m_nAssetType = m_lender->m_nAssetType;
    loan.m_strNotes = m_notes->m_strNotes;
    return loan;
}

bool CLoanSheet::Edit(CLoan &loan, CADODataBase &db, QWidget *owner, CDlgLoan_Tab1::Clock clock)
{
    CLoanSheet sheet(loan, owner, std::move(clock));
    RecordEdit::saveOnOk(sheet, loan, db, QStringLiteral("loan"));
    return sheet.DoModal() == QDialog::Accepted;
}
