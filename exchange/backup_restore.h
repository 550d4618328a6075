#pragma once
// Backup and restore of the whole data file. Both are written so that the user's data is never
// lost on the way: a backup is built under a temporary name beside its target and renamed into
// place only when complete; a restore checks the chosen file, copies it beside the data file,
// and swaps it in with one rename, so at every instant the data file is either the old one or
// the new one, whole.

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
// the file open. Refuses the data file itself as target.
Outcome backup(CADODataBase &db, const QString &target);

// Checks that path is a data file this program can work on: a SQLite database that passes the
// engine's integrity check and holds every table with every column the program reads. Reads
// the file only; a file in write-ahead-log mode is reported as not a plain data file.
Outcome validate(const QString &path);

// The points a restore passes, for tests that stop it there.
enum class Step { Staged, Validated, Replaced };

// Replaces the data file of db (its Data Source) with the file at source: checks the file,
// copies it beside the data file under a temporary name and flushes it to disk, closes the
// connection, renames the copy over the data file and reopens. Until the rename nothing of
// the current data is touched, and any refusal leaves db open on it.
Outcome restore(CADODataBase &db, const QString &source,
                const std::function<void(Step)> &reached = {});

} // namespace DataFileBackup
