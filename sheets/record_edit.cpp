#include "sheets/record_edit.h"

#include "format/string_table.h"
#include "widgets/ui.h"

namespace RecordEdit {

bool saveOrWarn(const std::function<bool()> &save, QWidget *editor, const QString &noun)
{
    bool saved = false;
    {
        Ui::WaitCursor wait;
        saved = save();
    }
    if (!saved)
        Ui::messageBox(editor,
                       QStringLiteral("The %1 could not be saved in the data file. Your entries "
                                      "are still here: try again, or cancel.")
                           .arg(noun),
                       Strings::load(Strings::AppTitle), Ui::Icon::Warning, Ui::Ok);
    return saved;
}

} // namespace RecordEdit
