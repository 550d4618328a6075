#pragma once
// The program's own texts, by the ids its messages and menus have always used.

#include <QString>

namespace Strings {

enum Id {
    // Toolbar buttons: "name\ntooltip", by command id.
    ToolHomeToday = 32771,
    ToolTasks = 32772,
    ToolHomeInventory = 32773,
    ToolLocations = 32774,
    ToolLoanManager = 32775,
    ToolSync = 32785,
    ToolNew = 32787,
    GreetingHomeSetup = 32794,
    DatePickerFormat = 32818,
    ShoppingUnits = 32826,
    LoanDeleteQuestion = 32830,
    AppTitle = 57344,
    DataFileError = 57346,
    Greeting = 57347,
    LoanAutoUpdateQuestion = 57348,
    LoanAutoUpdateDone = 57349,
    LocationSuggestions = 57351,
    VideoTip = 57353,
    VideoGenres = 57352,
    SyncFirstTime = 57355,
    SyncNoService = 57356,
    SyncConnectError = 57357,
    SyncOldVersion = 57358,
    SyncToDeviceDone = 57359,
    SyncToDesktopDone = 57360,
    SyncIntroduction = 57362,
    InventoryReportQuery = 57363,
    AskHandheldUsed = 57364,
    HandheldSyncAdvice = 57365,
};

// The text of a string id; empty for an unknown id.
QString load(int id);

} // namespace Strings
