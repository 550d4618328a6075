#include "views/today_view.h"

#include "controls/label.h"
#include "records/home.h"

CTodayView::CTodayView(ViewHost &host, QWidget *parent)
    : CPendingView(host, QStringLiteral("Home Description Goes here"), parent)
{
    title()->SetHoverUnderline(true);
    connect(title(), &CLabel::clicked, this, [this] { EditHome(0); });
}

void CTodayView::UpdateLines()
{
    title()->SetText(host().currentHome().m_strDescription);
}

bool CTodayView::EditHome(int page)
{
    CHome home = host().currentHome();
    if (!home.Exists() || !home.Edit(host().database(), host().ownerWindow(), page == 1))
        return false;
    host().HomeEdited(home);
    ComputeEquity();
    UpdateLines();
    LoadPicture();
    return true;
}
