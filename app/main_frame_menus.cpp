// The frame's menu bar, toolbar and shared popup, and the rule that enables their commands.
#include "app/command_ids.h"
#include "app/main_frame.h"
#include "app/toolbar_icons.h"
#include "format/string_table.h"
#include "platform/busy.h"
#include "views/form_view.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QToolBar>
#include <QToolButton>

QAction *CMainFrame::addCommand(int id, const QString &text, void (CMainFrame::*handler)())
{
    auto *action = new QAction(text, this);
    action->setData(id);
    action->setObjectName(QStringLiteral("command%1").arg(id));
    // While long work runs, its progress window keeps input from the frame, but a command can
    // still come another way (a global menu, a queued trigger); it must not start on the data
    // file, or close it, under the work.
    if (handler)
        connect(action, &QAction::triggered, this, [this, handler] {
            if (!Busy::underWay())
                (this->*handler)();
        });
    m_actions.emplace(id, action);
    return action;
}

void CMainFrame::createActions()
{
    using C = CMainFrame;
    addCommand(Command::NewTasks, QStringLiteral("&Tasks..."), &C::OnNewTasks);
    addCommand(Command::NewAsset, QStringLiteral("&Asset"), &C::OnNewAsset);
    addCommand(Command::NewLocation, QStringLiteral("&Location"), &C::OnNewLocation);
    addCommand(Command::NewVideo, QStringLiteral("&Video/DVD"), &C::OnNewVideo);
    addCommand(Command::NewHome, QStringLiteral("&Home"), &C::OnNewHome);
    addCommand(Command::Sync, QStringLiteral("&Sync. with Device"), &C::OnSync);
    addCommand(Command::BackupRestore, QStringLiteral("&Backup && Restore..."),
               &C::OnBackupRestore);
    addCommand(Command::ExportInventory, QStringLiteral("&Export Inventory Data"),
               &C::OnExportInventory);
    addCommand(Command::ImportInventory, QStringLiteral("&Import Inventory Data..."),
               &C::OnImportInventory);
    addCommand(Command::PrintInventoryReport, QStringLiteral("&Print Inventory Report..."),
               &C::OnPrintInventoryReport);
    addCommand(Command::PrintLabels, QStringLiteral("Print &Labels..."), &C::OnPrintLabels);
    addCommand(Command::Exit, QStringLiteral("E&xit"), &C::OnExit);
    addCommand(Command::TasksView, QStringLiteral("&Tasks"), &C::OnTasksView);
    addCommand(Command::InventoryView, QStringLiteral("&Home Inventory"), &C::OnInventoryView);
    addCommand(Command::LocationsView, QStringLiteral("&Locations"), &C::OnLocationsView);
    addCommand(Command::LoanManager, QStringLiteral("Loan &Manager"), &C::OnLoanManager);
    addCommand(Command::RecommendMovie, QStringLiteral("&Recommend Movie"), &C::OnRecommendMovie);
    addCommand(Command::Warranties, QStringLiteral("&Warranties..."), &C::ShowWarranties);
    addCommand(Command::Maintenance, QStringLiteral("Mai&ntenance..."), &C::ShowMaintenance);
    addCommand(Command::UnfiledAttachments, QStringLiteral("&Unfiled Attachments..."),
               &C::OnUnfiledAttachments);
    addCommand(Command::SelectHome, QStringLiteral("Select H&ome..."), &C::OnSelectHome);
    addCommand(Command::About, QStringLiteral("&About Domelio..."), &C::OnAbout);
    addCommand(Command::ContextNew, QStringLiteral("&New"), &C::OnContextNew);
    addCommand(Command::ContextDelete, QStringLiteral("&Delete"), &C::OnContextDelete);
    addCommand(Command::ContextProperties, QStringLiteral("&Properties"), &C::OnContextProperties);
    action(Command::Exit)->setShortcut(QKeySequence::Quit);
}

void CMainFrame::createMenus()
{
    QMenu *file = menuBar()->addMenu(QStringLiteral("&File"));
    m_newMenu = file->addMenu(QStringLiteral("&New"));
    m_newMenu->addActions({ action(Command::NewTasks), action(Command::NewAsset),
                            action(Command::NewLocation), action(Command::NewVideo) });
    m_newMenu->addSeparator();
    m_newMenu->addAction(action(Command::NewHome));
    file->addSeparator();
    file->addActions({ action(Command::Sync), action(Command::BackupRestore),
                       action(Command::ExportInventory), action(Command::ImportInventory),
                       action(Command::PrintInventoryReport), action(Command::PrintLabels) });
    file->addSeparator();
    file->addAction(action(Command::Exit));

    QMenu *tools = menuBar()->addMenu(QStringLiteral("&Tools"));
    tools->addActions({ action(Command::TasksView), action(Command::InventoryView),
                        action(Command::LocationsView), action(Command::LoanManager),
                        action(Command::RecommendMovie), action(Command::Warranties),
                        action(Command::Maintenance), action(Command::UnfiledAttachments) });
    tools->addSeparator();
    tools->addAction(action(Command::SelectHome));

    QMenu *help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->addAction(action(Command::About));

    m_contextMenu = new QMenu(this);
    m_contextMenu->setObjectName(QStringLiteral("contextMenu"));
    m_contextMenu->addAction(action(Command::ContextNew));
    m_contextMenu->addAction(action(Command::ContextDelete));
    m_contextMenu->addSeparator();
    m_contextMenu->addAction(action(Command::ContextProperties));
    // The labels, for the Home Inventory and Locations views, and the import and the report, for
    // the Home Inventory only: entries of their own, shown and hidden without touching the File
    // menu's. R for the report, as P is Properties' here.
    m_contextSeparator = m_contextMenu->addSeparator();
    m_contextInventory = {
        addCommand(Command::ImportInventory, QStringLiteral("&Import Inventory Data..."),
                   &CMainFrame::OnImportInventory),
        addCommand(Command::PrintInventoryReport, QStringLiteral("Print Inventory &Report..."),
                   &CMainFrame::OnPrintInventoryReport)
    };
    m_contextLabels = addCommand(Command::PrintLabels, QStringLiteral("Print &Labels..."),
                                 &CMainFrame::OnPrintLabels);
    m_contextMenu->addActions({ m_contextInventory[0], m_contextLabels, m_contextInventory[1] });
}

void CMainFrame::createToolBar()
{
    m_toolBar = new QToolBar(QStringLiteral("Toolbar"), this);
    m_toolBar->setObjectName(QStringLiteral("toolBar"));
    m_toolBar->setMovable(false);
    m_toolBar->setFloatable(false);
    m_toolBar->setIconSize(QSize(25, 23));
    m_toolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    m_toolBar->setContextMenuPolicy(Qt::PreventContextMenu);
    addToolBar(Qt::TopToolBarArea, m_toolBar);

    // Toolbar buttons are actions of their own (checkable for the views) so that the menus
    // show no check marks; they share the command ids and handlers.
    using C = CMainFrame;
    const struct
    {
        int id;
        void (CMainFrame::*handler)();
        bool pressable;
        bool separatorBefore;
    } buttons[] = {
        { Command::NewButton, &C::OnNewButton, false, false },
        { Command::TodayView, &C::OnTodayView, true, true },
        { Command::TasksView, &C::OnTasksView, true, false },
        { Command::InventoryView, &C::OnInventoryView, true, false },
        { Command::LocationsView, &C::OnLocationsView, true, false },
        { Command::LoanManager, &C::OnLoanManager, false, true },
        { Command::Sync, &C::OnSync, false, true },
    };
    for (const auto &button : buttons) {
        if (button.separatorBefore)
            m_toolBar->addSeparator();
        // The tooltip is the part after the line break of the button's string.
        const QString tip = Strings::load(button.id).section(QLatin1Char('\n'), 1);
        QAction *tool = addCommand(button.id, tip, button.pressable ? nullptr : button.handler);
        tool->setToolTip(tip);
        tool->setIcon(ToolbarIcons::icon(button.id));
        tool->setCheckable(button.pressable);
        // A view button runs its command on any change of its state: a click, or the accessible
        // Toggle action of a screen reader or voice control, which toggles without clicking.
        // The states the frame sets itself do not signal (updateToolBarButtons).
        if (button.pressable)
            connect(tool, &QAction::toggled, this, [this, tool, handler = button.handler](bool on) {
                if (!Busy::underWay()) {
                    (this->*handler)();
                    return;
                }
                const QSignalBlocker quiet(tool);
                tool->setChecked(!on);
            });
        m_toolBar->addAction(tool);
        m_toolActions[button.id] = tool;
        if (QToolButton *widget = toolButton(button.id))
            widget->setObjectName(QStringLiteral("tool%1").arg(button.id));
    }
    if (QToolButton *newButton = toolButton(Command::NewButton)) {
        newButton->setMenu(m_newMenu);
        newButton->setPopupMode(QToolButton::MenuButtonPopup);
    }
    // Qt's own button for the buttons that do not fit has no name of its own.
    if (auto *more = m_toolBar->findChild<QToolButton *>(QStringLiteral("qt_toolbar_ext_button")))
        more->setAccessibleName(QStringLiteral("More buttons"));
}

QList<QAction *> CMainFrame::commandActions(int commandId) const
{
    QList<QAction *> found;
    const auto [first, last] = m_actions.equal_range(commandId);
    for (auto it = first; it != last; ++it)
        found << it->second;
    return found;
}

QAction *CMainFrame::action(int commandId) const
{
    const auto it = m_actions.find(commandId);
    return it == m_actions.end() ? nullptr : it->second;
}

bool CMainFrame::isCommandEnabled(int commandId) const
{
    const QAction *found = action(commandId);
    return found && found->isEnabled();
}

QToolButton *CMainFrame::toolButton(int commandId) const
{
    const auto it = m_toolActions.find(commandId);
    if (it == m_toolActions.end())
        return nullptr;
    return qobject_cast<QToolButton *>(m_toolBar->widgetForAction(it->second));
}

void CMainFrame::updateCommandStates()
{
    const bool haveHome = currentHomeId() >= 1;
    for (int id : Command::kHomeDependent) {
        for (QAction *each : commandActions(id))
            each->setEnabled(haveHome);
    }
}

void CMainFrame::updateToolBarButtons(int pressedCommand)
{
    for (auto [id, tool] : m_toolActions) {
        if (tool->isCheckable()) {
            // The button still follows (through the action's change event), but no command runs.
            const QSignalBlocker quiet(tool);
            tool->setChecked(id == pressedCommand);
        }
    }
}

void CMainFrame::ShowContextMenu(std::optional<QPoint> globalPos)
{
    const bool selection = m_activeView && m_activeView->HasSelection();
    action(Command::ContextDelete)->setEnabled(m_activeView && m_activeView->CanDelete());
    action(Command::ContextProperties)->setEnabled(selection);
    const bool inventory = m_currentViewIndex == InventoryIndex;
    for (QAction *entry : m_contextInventory)
        entry->setVisible(inventory);
    m_contextLabels->setVisible(inventory || m_currentViewIndex == LocationsIndex);
    m_contextSeparator->setVisible(m_contextLabels->isVisible());
    const QPoint at = globalPos ? *globalPos : m_stack->mapToGlobal(QPoint(5, 5));
    m_contextMenu->popup(at);
}
