#pragma once
// Backup and restore of the whole data file. Both are written so that the user's data is never
// lost on the way: a backup is built under a temporary name beside its target and renamed into
// place only when complete; a restore copies the chosen file beside the data file, checks the
// copy, and swaps it in with one rename, so at every instant the data file is either the old one
// or the new one, whole. Neither ever writes to the data file's own names (platform/file_target.h).

#include <QString>

#include <functional>

class CADODataBase;

namespace DataFileBackup {

struct Outcome
{
    bool ok = false;
    // Set once the data file has been replaced (the views must then be reloaded, even if the
    // reopening that follows failed).
    bool replaced = false;
    // Why it failed, in the user's terms; empty on success.
    QString reason;
};

// Copies the open data file to target with the engine's online backup, while the program keeps
// the file open. Refuses the data file, its side files and links to them as target. The backup
// takes the permissions of the file it replaces, else the data file's.
Outcome backup(CADODataBase &db, const QString &target);

// Checks that path is a data file this program can work on: a SQLite database that passes the
// engine's integrity check and holds every table with every column the program reads. Reads
// the file only.
Outcome validate(const QString &path);

// The points a restore passes, for tests that stop it there.
enum class Step { Staged, Validated, Replaced };

// Replaces the data file of db (its Data Source; a link is followed and the file it leads to
// replaced) with the file at source: reads source through the engine, read-only, into a copy
// beside the data file (a backup in write-ahead-log mode brings what its log holds), checks the
// copy, closes the connection, renames the copy over the data file and reopens. Until the rename
// nothing of the current data is touched, and any refusal leaves db open on it. A failure after
// the close reopens what is in place; when nothing can be opened, db stays closed and reason
// says so (which file, and whether it was replaced).
Outcome restore(CADODataBase &db, const QString &source,
                const std::function<void(Step)> &reached = {});

} // namespace DataFileBackup
