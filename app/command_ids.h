#pragma once
// The program's command ids: menus, toolbar and the shared popup use the same numbers.

namespace Command {

enum Id : int {
    TodayView = 32771,
    TasksView = 32772,
    InventoryView = 32773,
    LocationsView = 32774,
    LoanManager = 32775,
    RecommendMovie = 32776,
    SelectHome = 32777,
    NewTasks = 32780,
    NewAsset = 32781,
    NewLocation = 32782,
    NewVideo = 32783,
    NewHome = 32784,
    Sync = 32785,
    NewButton = 32787,
    ContextNew = 32789,
    ContextDelete = 32790,
    ContextProperties = 32791,
    BackupRestore = 32792,
    ExportInventory = 32793,
    PrintInventoryReport = 32810,
    ImportInventory = 32811,
    PrintLabels = 32812,
    Warranties = 32830,
    Maintenance = 32831,
    UnfiledAttachments = 32832,
    About = 57664,
    Exit = 57665,
};

// Commands that need a current home; everything else is always enabled.
constexpr Id kHomeDependent[] = { TodayView,   InventoryView,   LocationsView,
                                  LoanManager, RecommendMovie,  NewAsset,
                                  NewLocation, NewVideo,        ExportInventory,
                                  Warranties,  ImportInventory, PrintInventoryReport,
                                  PrintLabels, Maintenance };

} // namespace Command
