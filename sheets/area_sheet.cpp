#include "sheets/area_sheet.h"

#include "sheets/area_colors_page.h"
#include "sheets/area_details_page.h"
#include "sheets/record_edit.h"
#include "widgets/notes_page.h"

CAreaSheet::CAreaSheet(const CArea &area, QWidget *owner)
    : CPropertySheet(QStringLiteral("Location Properties"), owner)
    , m_area(area)
{
    m_details = new CDlgArea_Tab1(this);
    m_details->m_strDescription = area.m_strDescription;
    m_details->m_nLength = area.m_nLength;
    m_details->m_nWidth = area.m_nWidth;
    m_details->m_nHeight = area.m_nHeight;
    m_colors = new CDlgArea_Colors(this);
    for (int i = 0; i < 3; ++i) {
        m_colors->m_nColor[i] = area.m_nColor[i];
        m_colors->m_strLabel[i] = area.m_strLabel[i];
    }
    m_notes = new CDlgNotes(this);
    m_notes->m_strNotes = area.m_strNotes;

    AddPage(m_details);
    AddPage(m_colors);
    AddPage(m_notes);
}

CArea CAreaSheet::edited() const
{
    CArea area = m_area;
    area.m_strDescription = m_details->m_strDescription;
    area.m_nLength = m_details->m_nLength;
    area.m_nWidth = m_details->m_nWidth;
    area.m_nHeight = m_details->m_nHeight;
    for (int i = 0; i < 3; ++i) {
        area.m_nColor[i] = m_colors->m_nColor[i];
        area.m_strLabel[i] = m_colors->m_strLabel[i];
    }
    area.m_strNotes = m_notes->m_strNotes;
    return area;
}

bool CAreaSheet::Edit(CArea &area, CADODataBase &db, QWidget *owner)
{
    CAreaSheet sheet(area, owner);
    RecordEdit::saveOnOk(sheet, area, db, QStringLiteral("location"));
    return sheet.DoModal() == QDialog::Accepted;
}
