#pragma once
// CMainFrame: the main window. It owns the five views (exactly one visible), the current home,
// the menus, the toolbar and the commands, and the look the views share.

#include "records/home.h"

#include <QBrush>
#include <QFont>
#include <QList>
#include <QMainWindow>
#include <QPoint>

#include <map>
#include <optional>

class CADODataBase;
class CFormView;
class CHomeApp;
class CHomeMgrView;
class CInventoryView;
class CRoomsView;
class CTasksView;
class CTodayView;
class QAction;
class QMenu;
class QStackedWidget;
class QToolBar;
class QToolButton;

class CMainFrame : public QMainWindow
{
    Q_OBJECT
public:
    // View indexes: the Homes view is -1, the others follow the toolbar.
    enum ViewIndex {
        HomesIndex = -1,
        TodayIndex = 0,
        InventoryIndex = 1,
        LocationsIndex = 2,
        TasksIndex = 3
    };
    static constexpr int kMinClientWidth = 460;
    static constexpr int kMinClientHeight = 450;

    explicit CMainFrame(CHomeApp &app, QWidget *parent = nullptr);
    ~CMainFrame() override;

    CADODataBase &database() const;

    // --- views ---------------------------------------------------------------------------
    // Creates the views that follow the Homes view (once, at start-up).
    void CreateViews();
    CHomeMgrView *homesView() const { return m_homesView; }
    CTodayView *todayView() const { return m_todayView; }
    CInventoryView *inventoryView() const { return m_inventoryView; }
    CRoomsView *locationsView() const { return m_locationsView; }
    CTasksView *tasksView() const { return m_tasksView; }
    CFormView *activeView() const { return m_activeView; }
    int currentViewIndex() const { return m_currentViewIndex; }
    // Shows view (index, toolbar command; 0 for none). Nothing happens when index is the
    // visible view already. Returns whether the view changed.
    bool SwitchView(CFormView *view, int index, int commandId);
    // Refills the Homes view, selecting homeId when listed.
    void RefreshHomesView(qint32 homeId);

    // --- the current home ----------------------------------------------------------------
    const CHome &currentHome() const { return m_currentHome; }
    qint32 currentHomeId() const { return m_currentHome.id(); }
    // Makes homeId the current home: remembered for the next start, the per-home views
    // refreshed, the Today view shown. When it cannot be loaded, falls back to the Homes view
    // with no current home. Returns whether the home became current.
    bool SetCurrentHome(qint32 homeId);
    // After the current home's profile was edited elsewhere: takes it over and follows it.
    void HomeEdited(const CHome &home);
    // After the data file was replaced (restore, device copy): the Homes view, no home.
    void ReloadAfterDataReplacement();

    // --- commands ------------------------------------------------------------------------
    // The Homes view with no current home.
    void OnSelectHome();
    // The sheet of a new home; saving it makes it the current home.
    void OnNewHome();
    // Every action carrying the command id (menu item, toolbar button, popup entry).
    QList<QAction *> commandActions(int commandId) const;
    QAction *action(int commandId) const;
    bool isCommandEnabled(int commandId) const;
    QToolButton *toolButton(int commandId) const;
    QToolBar *toolBar() const { return m_toolBar; }
    QMenu *newMenu() const { return m_newMenu; }
    QMenu *contextMenu() const { return m_contextMenu; }
    // The shared New / Delete / Properties popup for the visible view, at globalPos or, when
    // opened from the keyboard (no position), just inside the client area's top-left corner.
    void ShowContextMenu(std::optional<QPoint> globalPos = std::nullopt);

    // --- the shared look -----------------------------------------------------------------
    QFont normalFont() const { return m_normalFont; }
    QFont boldFont() const { return m_boldFont; }
    QBrush backgroundBrush() const { return m_background; }

signals:
    void viewSwitched(int index);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    // main_frame_menus.cpp
    void createActions();
    void createMenus();
    void createToolBar();
    QAction *addCommand(int id, const QString &text, void (CMainFrame::*handler)());
    void updateCommandStates();
    void updateToolBarButtons(int pressedCommand);

    // main_frame_commands.cpp
    void showView(CFormView *view, int index, int commandId);
    void OnTodayView();
    void OnInventoryView();
    void OnLocationsView();
    void OnTasksView();
    void OnNewButton();
    void OnNewTasks();
    void OnNewAsset();
    void OnNewLocation();
    void OnNewVideo();
    void OnLoanManager();
    void OnRecommendMovie();
    void OnSync();
    void OnBackupRestore();
    void OnExportInventory();
    void OnAbout();
    void OnExit();
    void OnContextNew();
    void OnContextDelete();
    void OnContextProperties();
    void notAvailableYet();

    void setTitleForHome();
    void applyMinimumClientSize();

    CHomeApp &m_app;
    CHome m_currentHome;
    QFont m_normalFont;
    QFont m_boldFont;
    QBrush m_background;

    QStackedWidget *m_stack = nullptr;
    CHomeMgrView *m_homesView = nullptr;
    CTodayView *m_todayView = nullptr;
    CInventoryView *m_inventoryView = nullptr;
    CRoomsView *m_locationsView = nullptr;
    CTasksView *m_tasksView = nullptr;
    CFormView *m_activeView = nullptr;
    int m_currentViewIndex = HomesIndex;

    std::multimap<int, QAction *> m_actions;
    std::map<int, QAction *> m_toolActions;
    QToolBar *m_toolBar = nullptr;
    QMenu *m_newMenu = nullptr;
    QMenu *m_contextMenu = nullptr;
};
