#include "format/string_table.h"

#include <QHash>

namespace Strings {

QString load(int id)
{
    static const QHash<int, QString> table = {
        { ToolHomeToday, QStringLiteral("Home Today\nHome Today") },
        { ToolTasks, QStringLiteral("Tasks\nTasks") },
        { ToolHomeInventory, QStringLiteral("Home Inventory\nHome Inventory") },
        { ToolLocations, QStringLiteral("Locations\nLocations") },
        { ToolLoanManager, QStringLiteral("Loan Manager\nLoan Manager") },
        { ToolSync, QStringLiteral("Sync. with Device\nSync. with Device") },
        { ToolNew, QStringLiteral("New\nNew") },
        { GreetingHomeSetup,
          QStringLiteral("We shall now proceed to enter information about your primary home. Most "
                         "of it is optional, and you can easily make changes or add more details "
                         "later.") },
        { DatePickerFormat, QStringLiteral("ddd, MMM d, yyyy") },
        { ShoppingUnits, QStringLiteral("bag;doz;gal;lb;litre;oz;pint;pkg;qrt;box;roll") },
        { AppTitle, QStringLiteral("Domelio") },
        { DataFileError,
          QStringLiteral("There was an error opening the database used by Domelio. Please "
                         "reinstall Domelio and try again. \n\n"
                         "If the problem persists, please see the frequently asked questions at "
                         "https://www.domelio.example/faq or write to support@domelio.example.") },
        { Greeting,
          QStringLiteral("Welcome to Domelio v%s! We hope this program helps keep your home safe, "
                         "comfortable, and beautiful.\n\n"
                         "Please visit https://www.domelio.example for documentation, tips, a "
                         "discussion forum and other resources.") },
        { LoanAutoUpdateQuestion,
          QStringLiteral("This will automatically estimate the remaining principal and term based "
                         "on the loan's start date. \n\nIt is assumed that you have made all your "
                         "payments as per the amortization schedule. Any extra or late payments "
                         "will NOT be factored in.\n\nMay I proceed?") },
        { LoanAutoUpdateDone,
          QStringLiteral("The principal and loan term have been updated. If these values are not "
                         "correct, simply click Cancel below to keep your original values.") },
        { LoanDeleteQuestion, QStringLiteral("This loan will be deleted. Continue?") },
        { LocationSuggestions,
          QStringLiteral("Master Bedroom;Garage;Living Room;Dining Room;Master Bathroom;Bathroom "
                         "#2;Bathroom #3;Bedroom #2;Bedroom #3;Bedroom #4;Den;Study;Basement;"
                         "Library;Kitchen;Guest Bedroom;Utility Room;Attic;Office") },
        { VideoTip,
          QStringLiteral("Using the Home Inventory feature of Domelio, you can easily track your "
                         "Video, DVD, and CD collection. \n\nYou can also use the \"Recommend "
                         "Movie\" feature to search your collection for movies to watch! Please "
                         "press OK to enter a new item now.") },
        { VideoGenres,
          QStringLiteral("General;Sci Fi/Fantasy;Romance;Classic;Musical;Action/Adventure;Drama;"
                         "Suspense;Comedy;Family;Children's/Disney;Western;Independent;"
                         "Educational;Cult;Gangster;Historical;Horror;Martial Arts;Spy") },
        { InventoryReportQuery,
          QStringLiteral("SELECT a.*, c.Description AS Category, l.Description as Location FROM "
                         "(Assets AS a LEFT JOIN Categories AS c ON a.CategoryId = c.CategoryId) "
                         "LEFT OUTER JOIN Areas l ON a.AreaId = l.AreaId WHERE a.HomeId=%d ORDER "
                         "BY c.Description, a.Description, l.Description;") },
        { SyncFirstTime,
          QStringLiteral("This appears to be the first time you are using the Sync feature. \n\n"
                         "If you have already used Domelio on your handheld device, and have some "
                         "information stored on it, please select the \"Device data replaces "
                         "desktop data\" option. By doing this, the information on your device "
                         "will not be lost.") },
        { SyncNoService,
          QStringLiteral("ActiveSync was not found on this computer. ActiveSync v3.1 or higher is "
                         "required in order to synchronize with your Pocket PC. You can download "
                         "it from https://www.pocketpc.example/activesync.") },
        { SyncConnectError,
          QStringLiteral("There was an error connecting to the remote database. Please ensure "
                         "that:\n\n1) Your device is properly connected to the desktop via "
                         "ActiveSync.\n2) You have Domelio v1.1 or higher on the device.\n3) "
                         "Domelio is NOT open on the device at this time. If it is, tap "
                         "Tools->Exit to close it.\n\nIf you still cannot connect successfully, "
                         "try restarting Domelio (on your desktop).") },
        { SyncOldVersion,
          QStringLiteral("You are currently using an older version of Domelio on your device. "
                         "Version 1.1 or higher of Domelio is required in order to sync with the "
                         "Desktop Edition. Please download the latest Pocket PC Edition from "
                         "https://www.domelio.example/pocketpc.") },
        { SyncToDeviceDone,
          QStringLiteral("Congratulations! Your data was successfully synchronized from the "
                         "desktop to the device.") },
        { SyncToDesktopDone,
          QStringLiteral("Congratulations! Your data was successfully synchronized from the "
                         "device to the desktop.") },
        { SyncIntroduction,
          QStringLiteral("This enables you to sync all your information with the Pocket PC "
                         "Edition of Domelio. In order to use this feature, you must have a "
                         "Pocket PC device connected to the desktop through Microsoft "
                         "ActiveSync.\n\nTo learn more about the Pocket PC Edition, please "
                         "visit https://www.domelio.example/pocketpc.") },
        { AskHandheldUsed,
          QStringLiteral("In order to help you get set up quickly, we need to know if you have "
                         "previously used the Pocket PC Edition of Domelio.\n\nIf you have used "
                         "the Pocket PC Edition, and have newer data on your handheld device, "
                         "please press Yes. Otherwise, press No. (If you are not sure, please "
                         "press No).") },
        { HandheldSyncAdvice,
          QStringLiteral("If you have used Domelio on your Pocket PC, we recommend that you sync "
                         "your data now. This will ensure that you have the same data in both "
                         "places (desktop and device).\n\nTo sync your data, place the Pocket PC "
                         "in its cradle, and click \"File->Sync. with Device\" from the menu "
                         "above.") },
    };
    return table.value(id);
}

} // namespace Strings
