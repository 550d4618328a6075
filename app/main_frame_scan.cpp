// A scanned label: the frame goes to the home the asset or location is in now, shows it in its
// view and opens its sheet.
#include "app/command_ids.h"
#include "app/main_frame.h"
#include "format/string_table.h"
#include "platform/busy.h"
#include "records/label_code.h"
#include "views/inventory_view.h"
#include "views/rooms_view.h"
#include "widgets/ui.h"

bool CMainFrame::OpenLabelCode(const QString &typed)
{
    const std::optional<LabelCode::Target> target = LabelCode::parse(typed);
    if (!target)
        return false;
    // Long work is using the data file: the code is taken, and nothing happens.
    if (Busy::underWay())
        return true;
    const bool asset = target->kind == LabelCode::Kind::Asset;
    const std::optional<qint32> homeId = LabelCode::currentHome(database(), *target);
    if (!homeId) {
        Ui::messageBox(this,
                       asset ? QStringLiteral("The asset of this label (Domelio #%1) is no longer "
                                              "in the inventory.")
                                   .arg(target->id)
                             : QStringLiteral("The location of this label (Domelio location #%1) "
                                              "is no longer in the data file.")
                                   .arg(target->id),
                       Strings::load(Strings::AppTitle), Ui::Icon::Information, Ui::Ok);
        return true;
    }
    if (*homeId != currentHomeId() && !SetCurrentHome(*homeId))
        return true;
    if (asset) {
        inventoryView()->ShowAsset(target->id);
        showView(inventoryView(), InventoryIndex, Command::InventoryView);
        inventoryView()->EditSelected();
    } else {
        locationsView()->Refresh(target->id);
        showView(locationsView(), LocationsIndex, Command::LocationsView);
        locationsView()->EditSelected();
    }
    return true;
}
