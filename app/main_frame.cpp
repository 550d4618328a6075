#include "app/main_frame.h"

#include "app/command_ids.h"
#include "app/home_app.h"
#include "app/label_scan.h"
#include "app/toolbar_icons.h"
#include "db/added_tables.h"
#include "format/string_table.h"
#include "platform/busy.h"
#include "records/attachments.h"
#include "records/maintenance.h"
#include "sheets/home_sheet.h"
#include "views/home_mgr_view.h"
#include "views/inventory_view.h"
#include "views/rooms_view.h"
#include "views/tasks_view.h"
#include "views/today_view.h"
#include "widgets/shared_look.h"
#include "widgets/ui.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMenuBar>
#include <QStackedWidget>
#include <QTimer>
#include <QToolBar>

namespace {

// How often the frame looks whether the date has changed (a night passed, the machine woke).
constexpr int kDateCheckMs = 60 * 1000;

} // namespace

CMainFrame::CMainFrame(CHomeApp &app, QWidget *parent)
    : QMainWindow(parent)
    , m_app(app)
    , m_normalFont(SharedLook::normalFont())
    , m_boldFont(SharedLook::boldFont())
    , m_background(SharedLook::backgroundBrush())
{
    setObjectName(QStringLiteral("mainFrame"));
    setWindowTitle(Strings::load(Strings::AppTitle));
    setWindowIcon(ToolbarIcons::programIcon());

    createActions();
    createMenus();
    createToolBar();

    // The Homes view comes with the frame; the others follow in CreateViews.
    m_stack = new QStackedWidget(this);
    m_stack->setObjectName(QStringLiteral("views"));
    setCentralWidget(m_stack);
    m_homesView = new CHomeMgrView(*this, m_stack);
    m_stack->addWidget(m_homesView);
    m_activeView = m_homesView;

    // A scanner's keys, typed anywhere in the window but a text box.
    new LabelScan::Keys(*this, [this](const QString &typed) { return OpenLabelCode(typed); });

    applyMinimumClientSize();
    resize(640, 520);
    updateCommandStates();
    updateToolBarButtons(0);

    m_lastDate = today();
    auto *dateCheck = new QTimer(this);
    dateCheck->setObjectName(QStringLiteral("dateCheck"));
    connect(dateCheck, &QTimer::timeout, this, &CMainFrame::CheckDate);
    dateCheck->start(kDateCheckMs);
}

CMainFrame::~CMainFrame() = default;

CADODataBase &CMainFrame::database() const
{
    return m_app.database();
}

CSettingsKey &CMainFrame::settings() const
{
    return m_app.settings();
}

void CMainFrame::ShowView(int index)
{
    switch (index) {
    case HomesIndex:
        OnSelectHome();
        break;
    case TodayIndex:
        OnTodayView();
        break;
    case InventoryIndex:
        OnInventoryView();
        break;
    case LocationsIndex:
        OnLocationsView();
        break;
    case TasksIndex:
        OnTasksView();
        break;
    default:
        break;
    }
}

void CMainFrame::UpdateTodayLines()
{
    if (m_todayView)
        m_todayView->UpdateLines();
}

std::optional<double> CMainFrame::filledInventoryTotal() const
{
    if (m_inventoryView && m_inventoryView->isFilled() && !m_inventoryView->readFailed())
        return m_inventoryView->inventoryTotal();
    return std::nullopt;
}

std::optional<int> CMainFrame::filledActiveTaskCount() const
{
    if (m_tasksView && m_tasksView->isFilled())
        return m_tasksView->activeCount();
    return std::nullopt;
}

QDate CMainFrame::today() const
{
    return m_clock ? m_clock() : ViewHost::today();
}

void CMainFrame::CheckDate()
{
    const QDate now = today();
    if (now == m_lastDate)
        return;
    // Not under long work or a modal window: the next check, once they are gone, sees the new
    // day all the same.
    if (Busy::underWay() || QApplication::activeModalWidget())
        return;
    m_lastDate = now;
    const Maintenance::Outcome outcome = Maintenance::reconcile(database(), now);
    // The warranty and maintenance lines count from today, whatever the plans did.
    if (m_tasksView && outcome.tasksChanged())
        m_tasksView->Refresh();
    else
        UpdateTodayLines();
}

void CMainFrame::PlansChanged()
{
    if (m_tasksView)
        m_tasksView->Refresh(); // which has the Today view recount
    else
        UpdateTodayLines();
}

void CMainFrame::ShowMessageOnce(const QString &text, const QString &flagName)
{
    m_app.showMessageOnce(text, flagName);
}

void CMainFrame::applyMinimumClientSize()
{
    // The client area of the original window excludes the menu bar but holds the toolbar.
    setMinimumSize(kMinClientWidth, kMinClientHeight + menuBar()->sizeHint().height());
}

void CMainFrame::CreateViews()
{
    if (m_todayView)
        return;
    // The Today view shows first; the others are made when something first asks for them, so
    // a start pays for none of their controls.
    m_todayView = new CTodayView(*this, m_stack);
    m_todayView->setDefaultPicturePath(m_app.dataLocation().shippedFolder()
                                       + QStringLiteral("default.jpg"));
    addView(m_todayView);
}

void CMainFrame::addView(CFormView *view) const
{
    m_stack->addWidget(view);
    view->resize(m_stack->size());
}

CInventoryView *CMainFrame::inventoryView() const
{
    if (!m_inventoryView) {
        m_inventoryView = new CInventoryView(*const_cast<CMainFrame *>(this), m_stack);
        addView(m_inventoryView);
        if (currentHomeId() >= 1)
            m_inventoryView->Refresh(0);
    }
    return m_inventoryView;
}

CRoomsView *CMainFrame::locationsView() const
{
    if (!m_locationsView) {
        m_locationsView = new CRoomsView(*const_cast<CMainFrame *>(this), m_stack);
        addView(m_locationsView);
        if (currentHomeId() >= 1)
            m_locationsView->Refresh(0);
    }
    return m_locationsView;
}

CTasksView *CMainFrame::tasksView() const
{
    if (!m_tasksView) {
        m_tasksView = new CTasksView(*const_cast<CMainFrame *>(this), m_stack);
        addView(m_tasksView);
        m_tasksView->Refresh();
    }
    return m_tasksView;
}

bool CMainFrame::SwitchView(CFormView *view, int index, int commandId)
{
    if (!view || index == m_currentViewIndex)
        return false;
    m_activeView = view;
    m_stack->setCurrentWidget(view);
    m_currentViewIndex = index;
    updateToolBarButtons(commandId);
    emit viewSwitched(index);
    return true;
}

void CMainFrame::RefreshHomesView(qint32 homeId)
{
    m_homesView->Refresh(homeId);
}

bool CMainFrame::SetCurrentHome(qint32 homeId)
{
    Ui::WaitCursor wait;
    CHome home(homeId);
    if (!home.Load(database())) {
        m_currentHome = CHome();
        OnSelectHome();
        return false;
    }
    m_currentHome = home;
    m_app.settings().WriteNumber(QStringLiteral("LastHomeId"), homeId);
    updateCommandStates();
    // The per-home views first, so none of them still offers the previous home's figures;
    // then the equity, which the Today lines show.
    if (m_inventoryView) {
        m_inventoryView->ClearSearch();
        m_inventoryView->Refresh(0);
    }
    if (m_locationsView)
        m_locationsView->Refresh(0);
    if (m_todayView) {
        m_todayView->ComputeEquity();
        m_todayView->UpdateLines();
        m_todayView->LoadPicture();
    }
    SwitchView(m_todayView, TodayIndex, Command::TodayView);
    setTitleForHome();
    return true;
}

void CMainFrame::HomeEdited(const CHome &home)
{
    if (home.id() == m_currentHome.id())
        m_currentHome = home;
    setTitleForHome();
    RefreshHomesView(0);
}

void CMainFrame::setTitleForHome()
{
    setWindowTitle(m_currentHome.Exists() ? m_currentHome.m_strDescription + QStringLiteral(" - ")
                           + Strings::load(Strings::AppTitle)
                                          : Strings::load(Strings::AppTitle));
}

void CMainFrame::ReloadAfterDataReplacement()
{
    // A restored or copied-back file may come from before an index or a table of this version.
    AddedTables::ensure(database());
    if (m_inventoryView)
        m_inventoryView->ClearSearch();
    // The handheld may have marked a plan's task done, deleted it, or given its id to another
    // task; a restored file may be from before plans came due.
    Maintenance::reconcile(database(), today());
    RefreshHomesView(0);
    if (m_tasksView)
        m_tasksView->Refresh();
    OnSelectHome();
    // The handheld knows nothing of attachments: a copy from it can leave some without their
    // asset. They are kept, and the user is told where to find them.
    if (const int unfiled = Attachments::unfiledCount(database()); unfiled > 0)
        Ui::messageBox(
            this,
            QStringLiteral("%1 kept in the data file %2 to assets or homes that are no longer "
                           "there. %3 kept: Tools > Unfiled Attachments files them under an asset "
                           "or removes them.")
                .arg(unfiled == 1 ? QStringLiteral("1 attachment")
                                  : QStringLiteral("%1 attachments").arg(unfiled),
                     unfiled == 1 ? QStringLiteral("belongs") : QStringLiteral("belong"),
                     unfiled == 1 ? QStringLiteral("It is") : QStringLiteral("They are")),
            Strings::load(Strings::AppTitle), Ui::Icon::Information, Ui::Ok);
}

void CMainFrame::OnSelectHome()
{
    SwitchView(m_homesView, HomesIndex, 0);
    m_currentHome = CHome();
    updateCommandStates();
    setTitleForHome();
}

void CMainFrame::OnNewHome()
{
    CHome home;
    if (!CHomeSheet::Edit(home, database(), this))
        return;
    RefreshHomesView(home.id());
    SetCurrentHome(home.id());
}

void CMainFrame::closeEvent(QCloseEvent *event)
{
    // Not while long work runs on the data: the window manager's close comes through its
    // progress window.
    if (Busy::underWay()) {
        event->ignore();
        return;
    }
    m_app.saveWindowPlacement(*this);
    if (m_todayView)
        m_todayView->RememberInventoryWorth();
    QMainWindow::closeEvent(event);
}
