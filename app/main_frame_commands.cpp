// The frame's command handlers: view switching, new records, and the tools whose dialogs live
// elsewhere.
#include "app/about_dialog.h"
#include "app/command_ids.h"
#include "app/home_app.h"
#include "app/main_frame.h"
#include "exchange/backup_dialog.h"
#include "exchange/export_dialog.h"
#include "exchange/import_command.h"
#include "exchange/sync_command.h"
#include "format/string_table.h"
#include "records/asset.h"
#include "records/maintenance.h"
#include "report/label_dialog.h"
#include "report/report_dialog.h"
#include "sheets/asset_sheet.h"
#include "sheets/general_tasks_dialog.h"
#include "sheets/maintenance_dialog.h"
#include "sheets/recommend_movie_dialog.h"
#include "sheets/unfiled_attachments_dialog.h"
#include "sheets/warranties_dialog.h"
#include "views/home_mgr_view.h"
#include "views/inventory_view.h"
#include "views/rooms_view.h"
#include "views/tasks_view.h"
#include "views/today_view.h"
#include "widgets/ui.h"

#include <QAction>

void CMainFrame::showView(CFormView *view, int index, int commandId)
{
    SwitchView(view, index, commandId);
    // A clicked view button has toggled itself; the visible view decides how it shows.
    updateToolBarButtons(m_currentViewIndex == index ? commandId : 0);
}

void CMainFrame::OnTodayView()
{
    if (currentHomeId() >= 1)
        showView(m_todayView, TodayIndex, Command::TodayView);
}

void CMainFrame::OnInventoryView()
{
    if (currentHomeId() >= 1)
        showView(inventoryView(), InventoryIndex, Command::InventoryView);
}

void CMainFrame::OnLocationsView()
{
    if (currentHomeId() >= 1)
        showView(locationsView(), LocationsIndex, Command::LocationsView);
}

void CMainFrame::OnTasksView()
{
    showView(tasksView(), TasksIndex, Command::TasksView);
}

void CMainFrame::OnNewButton()
{
    switch (m_currentViewIndex) {
    case HomesIndex:
        OnNewHome();
        break;
    case InventoryIndex:
        OnNewAsset();
        break;
    case LocationsIndex:
        OnNewLocation();
        break;
    default:
        OnNewTasks();
        break;
    }
}

void CMainFrame::notAvailableYet()
{
    Ui::messageBox(this, QStringLiteral("This command is not available yet."),
                   Strings::load(Strings::AppTitle), Ui::Icon::Information, Ui::Ok);
}

void CMainFrame::OnNewTasks()
{
    CDlgGeneralTasks pool(database(), settings(), this);
    const bool closed = pool.DoModal() == QDialog::Accepted;
    // A plan's task ticked, cleared or removed in the pool: the plans follow.
    Maintenance::reconcile(database(), today());
    // Ticks are written as they are made, so the list and the count follow however the pool
    // was closed (Close, Escape, the window's close button); only Close leads on to the Tasks
    // view. Before the Tasks view is made, the Today view counts the file itself.
    if (m_tasksView)
        m_tasksView->Refresh();
    else
        UpdateTodayLines();
    if (closed)
        OnTasksView();
}

void CMainFrame::OnNewAsset()
{
    if (currentHomeId() < 1)
        return;
    CAsset asset;
    asset.m_lHomeId = currentHomeId();
    if (!CAssetSheet::Edit(asset, database(), this))
        return;
    inventoryView()->Refresh(asset.id());
    showView(inventoryView(), InventoryIndex, Command::InventoryView);
}

void CMainFrame::OnNewLocation()
{
    if (currentHomeId() >= 1 && locationsView()->NewLocation() > 0)
        showView(locationsView(), LocationsIndex, Command::LocationsView);
}

void CMainFrame::OnNewVideo()
{
    if (currentHomeId() < 1)
        return;
    ShowMessageOnce(Strings::load(Strings::VideoTip), QStringLiteral("MsgSpecialAssetVideos"));
    CAsset title;
    title.m_lHomeId = currentHomeId();
    title.m_lCategoryId = CAsset::kVideoCategoryId;
    if (!CAssetSheet::Edit(title, database(), this))
        return;
    inventoryView()->Refresh(title.id());
    showView(inventoryView(), InventoryIndex, Command::InventoryView);
}

void CMainFrame::OnLoanManager()
{
    if (currentHomeId() >= 1 && m_todayView)
        m_todayView->EditHome(1);
}

void CMainFrame::OnRecommendMovie()
{
    if (currentHomeId() < 1)
        return;
    CDlgRecommendMovie dialog(database(), this);
    Ui::runModal(dialog);
}

void CMainFrame::ShowWarranties()
{
    if (currentHomeId() < 1)
        return;
    Warranties::Dialog dialog(database(), currentHomeId(), m_currentHome.m_strDescription, today(),
                              this);
    // An edit may move the asset in the inventory and change what the Today view counts.
    connect(&dialog, &Warranties::Dialog::assetEdited, this, [this] {
        if (m_inventoryView)
            m_inventoryView->Refresh(m_inventoryView->shownAssetId());
        UpdateTodayLines();
    });
    Ui::runModal(dialog);
    // An asset's Maintenance page saves its plans whatever became of the asset's sheet.
    PlansChanged();
}

void CMainFrame::ShowMaintenance()
{
    if (currentHomeId() < 1)
        return;
    Maintenance::Dialog dialog(database(), currentHomeId(), m_currentHome.m_strDescription, today(),
                               this);
    Ui::runModal(dialog);
    PlansChanged();
}

void CMainFrame::OnSync()
{
    CSyncCommand::Host host;
    host.owner = this;
    host.database = &database();
    host.showMessageOnce = [this](const QString &text, const QString &flagName) {
        ShowMessageOnce(text, flagName);
    };
    host.reloadAfterDataReplacement = [this] { ReloadAfterDataReplacement(); };
    CSyncCommand(std::move(host)).Run();
}

void CMainFrame::OnBackupRestore()
{
    CDlgBackup dialog(database(), this);
    Ui::runModal(dialog);
    if (dialog.restored())
        ReloadAfterDataReplacement();
}

void CMainFrame::OnExportInventory()
{
    if (currentHomeId() < 1)
        return;
    CDlgExport dialog(database(), currentHome(), this);
    Ui::runModal(dialog);
}

void CMainFrame::OnImportInventory()
{
    if (currentHomeId() < 1 || !Import::importInventory(this, database(), currentHome()))
        return;
    // New assets, and perhaps new locations and categories: every view of the home afresh.
    if (m_locationsView)
        m_locationsView->Refresh(0);
    inventoryView()->Refresh(0);
    UpdateTodayLines();
    showView(inventoryView(), InventoryIndex, Command::InventoryView);
}

void CMainFrame::OnPrintInventoryReport()
{
    if (currentHomeId() < 1)
        return;
    InventoryReport::Dialog dialog(database(), currentHome(), this);
    Ui::runModal(dialog);
}

void CMainFrame::OnPrintLabels()
{
    if (currentHomeId() < 1)
        return;
    // Opened on a view's selection, the dialog starts from it.
    Labels::Context context;
    if (m_currentViewIndex == InventoryIndex && m_inventoryView
        && m_inventoryView->shownAssetId() > 0)
        context.selectedAssets = { m_inventoryView->shownAssetId() };
    if (m_currentViewIndex == LocationsIndex && m_locationsView && m_locationsView->shownId() > 0)
        context.selectedLocation = m_locationsView->shownId();
    Labels::Dialog dialog(database(), currentHome(), settings(), context, this);
    Ui::runModal(dialog);
}

void CMainFrame::OnUnfiledAttachments()
{
    Attachments::UnfiledDialog dialog(database(), currentHomeId(), this);
    Ui::runModal(dialog);
    // A file moved to an asset gives it a paper-clip in the inventory.
    if (dialog.changedAny() && m_inventoryView)
        m_inventoryView->Refresh(m_inventoryView->shownAssetId());
}

void CMainFrame::OnAbout()
{
    CAboutDialog about(this);
    Ui::runModal(about);
}

void CMainFrame::OnExit()
{
    close();
}

void CMainFrame::OnContextNew()
{
    if (m_activeView)
        m_activeView->OnContextNew();
}

void CMainFrame::OnContextDelete()
{
    if (m_activeView && m_activeView->CanDelete())
        m_activeView->OnContextDelete();
}

void CMainFrame::OnContextProperties()
{
    if (m_activeView && m_activeView->HasSelection())
        m_activeView->OnContextProperties();
}
