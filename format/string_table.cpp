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
