#include "views/today_view.h"

#include "app/main_frame.h"
#include "controls/label.h"
#include "records/home.h"

CTodayView::CTodayView(CMainFrame &frame, QWidget *parent)
    : CPendingView(frame, QStringLiteral("Home Description Goes here"), parent)
{
    title()->SetHoverUnderline(true);
    connect(title(), &CLabel::clicked, this, [this] { EditHome(0); });
}

void CTodayView::UpdateLines()
{
    title()->SetText(frame().currentHome().m_strDescription);
}

bool CTodayView::EditHome(int page)
{
    CHome home = frame().currentHome();
    if (!home.Exists() || !home.Edit(frame().database(), &frame(), page == 1))
        return false;
    frame().HomeEdited(home);
    ComputeEquity();
    UpdateLines();
    LoadPicture();
    return true;
}
