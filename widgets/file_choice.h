#pragma once
// The file questions the export, backup and report dialogs ask: a name to write, with the default
// extension added when the user typed none, and the refusal of the data file's own names as a file
// to write or to read a backup from.

#include <QString>

class QWidget;

namespace FileChoice {

// The folder file dialogs start in: the user's documents folder, else the home folder.
QString startFolder();

// Asks for a file to write, proposing proposedName in the start folder. A name typed without
// an extension gets suffix; if that makes it the name of an existing file, the user is asked
// whether to replace it (the dialog asked only about the name as typed). The data file, its
// side files and links to them are refused with a message. Empty: cancelled or refused.
QString saveFileName(QWidget *owner, const QString &caption, const QString &proposedName,
                     const QString &filter, const QString &suffix, const QString &dataFile);

// When path is the data file or one of its side files (platform/file_target.h), tells the user
// so and returns true: the caller then stays where it was, for the user to choose again.
bool refuseDataFile(QWidget *owner, const QString &path, const QString &dataFile);

// After a file was written for the user: says it has been created and asks whether to open it
// now; Yes opens it with the desktop's program for it (a failure to open is not reported).
void offerToOpen(QWidget *owner, const QString &path);

} // namespace FileChoice
