#pragma once
// The step every record sheet and record dialog takes on OK: the edited copy is saved under the
// wait cursor and, once stored, taken over by the caller's record. When the save fails the user
// is told so over the editor, which stays open with the entries, to try again or cancel.

#include <QString>

#include <functional>

class CADODataBase;
class QWidget;

namespace RecordEdit {

// Runs save() under the wait cursor. When it fails, says over editor that the noun ("home",
// "asset"...) could not be saved in the data file and returns false.
bool saveOrWarn(const std::function<bool()> &save, QWidget *editor, const QString &noun);

// Makes the editor's OK save its edited() copy into db (saveOrWarn) and, once saved, copy it
// into record. Editor is a record sheet or dialog with setCommit() and edited().
template<class Editor, class Record>
void saveOnOk(Editor &editor, Record &record, CADODataBase &db, const QString &noun)
{
    editor.setCommit([&editor, &record, &db, noun] {
        Record edited = editor.edited();
        if (!saveOrWarn([&] { return edited.Save(db); }, &editor, noun))
            return false;
        record = edited;
        return true;
    });
}

} // namespace RecordEdit
