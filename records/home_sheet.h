#pragma once
// CHomeSheet: the "Home Profile" sheet. Its pages edit a copy of a home; CHome::Edit saves the
// copy on OK. The Loans page, when it exists, goes second and only for a stored home.

#include "widgets/property_sheet.h"
#include "records/home.h"

class CDlgHome_Tab1;
class CDlgNotes;
class CDlgPicture;

class CHomeSheet : public CPropertySheet
{
    Q_OBJECT
public:
    CHomeSheet(const CHome &home, QWidget *owner = nullptr);

    // The home with the values the pages hold (read back on OK).
    CHome edited() const;

    // Index of the loans page, -1 while the sheet has none.
    int loansPageIndex() const { return m_loansIndex; }

private:
    CHome m_home;
    CDlgHome_Tab1 *m_details = nullptr;
    CDlgPicture *m_picture = nullptr;
    CDlgNotes *m_notes = nullptr;
    int m_loansIndex = -1;
};
