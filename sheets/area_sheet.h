#pragma once
// CAreaSheet: the "Location Properties" sheet: Details, Colors and Notes over a copy of a
// location; Edit saves the copy on OK.

#include "records/area.h"
#include "widgets/property_sheet.h"

class CADODataBase;
class CDlgArea_Colors;
class CDlgArea_Tab1;
class CDlgNotes;

class CAreaSheet : public CPropertySheet
{
    Q_OBJECT
public:
    explicit CAreaSheet(const CArea &area, QWidget *owner = nullptr);

    CArea edited() const;

    // Runs the sheet over area; on OK the copy is saved and taken over. false when cancelled.
    static bool Edit(CArea &area, CADODataBase &db, QWidget *owner);

private:
    CArea m_area;
    CDlgArea_Tab1 *m_details = nullptr;
    CDlgArea_Colors *m_colors = nullptr;
    CDlgNotes *m_notes = nullptr;
};
