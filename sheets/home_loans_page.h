#pragma once
// CDlgHome_Loan: the Loans page of the Home Profile: the home's loans, largest first, with New,
// Edit and Remove, and the total owed on the loans that affect the home's equity. Loans are
// saved as they are changed here, whatever then becomes of the home sheet.

#include "sheets/loan_details_page.h"
#include "widgets/property_page.h"

class CADODataBase;
class CAutoListCtrl;
class QLabel;
class QPushButton;

class CDlgHome_Loan : public CPropertyPage
{
    Q_OBJECT
public:
    CDlgHome_Loan(CADODataBase &db, qint32 homeId, QWidget *parent = nullptr);

    void toControls() override;
    bool fromControls() override { return true; }

    // Reads the home's loans again.
    void Fill();
    void OnNew();
    void OnEdit();
    void OnRemove();

    CAutoListCtrl *list() const { return m_list; }
    // What "now" is for the Auto Update of the loans opened from here.
    void setClock(CDlgLoan_Tab1::Clock clock) { m_clock = std::move(clock); }

private:
    CADODataBase &m_db;
    qint32 m_homeId;
    CDlgLoan_Tab1::Clock m_clock;
    CAutoListCtrl *m_list = nullptr;
    QPushButton *m_edit = nullptr;
    QPushButton *m_remove = nullptr;
    QLabel *m_total = nullptr;
};
