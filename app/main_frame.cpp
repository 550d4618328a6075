#include "app/main_frame.h"

#include "app/home_app.h"
#include "format/string_table.h"

#include <QCloseEvent>

CMainFrame::CMainFrame(CHomeApp &app, QWidget *parent)
    : QMainWindow(parent)
    , m_app(app)
{
    setWindowTitle(Strings::load(Strings::AppTitle));
    setMinimumSize(460, 450);
    resize(640, 480);
}

CMainFrame::~CMainFrame() = default;

void CMainFrame::CreateViews() { }

void CMainFrame::RefreshHomesView(qint32) { }

bool CMainFrame::SetCurrentHome(qint32)
{
    return false;
}

void CMainFrame::OnSelectHome() { }

void CMainFrame::OnNewHome() { }

void CMainFrame::closeEvent(QCloseEvent *event)
{
    m_app.saveWindowPlacement(*this);
    QMainWindow::closeEvent(event);
}
