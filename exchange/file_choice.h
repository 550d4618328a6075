#pragma once
// The save-file question both exchange dialogs ask: a name with the default extension added
// when the user typed none.

#include <QString>

class QWidget;

namespace FileChoice {

// The folder file dialogs start in: the user's documents folder, else the home folder.
QString startFolder();

// Asks for a file to write, proposing proposedName in the start folder. A name typed without
// an extension gets suffix; if that makes it the name of an existing file, the user is asked
// whether to replace it (the dialog asked only about the name as typed). Empty: cancelled.
QString saveFileName(QWidget *owner, const QString &caption, const QString &proposedName,
                     const QString &filter, const QString &suffix);

} // namespace FileChoice
