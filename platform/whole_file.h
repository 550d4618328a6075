#pragma once
// The one sequence that writes a file the user asked for (an export, a backup, a report): the
// target is checked first (never the data file, one of its side files or a link to them, never a
// folder), the content goes to a temporary file beside it, and only a whole file takes the
// target's name (FileTarget::Replacement). A failure or a cancel leaves no file behind and an
// older file of that name as it was.

#include <QString>

#include <functional>

class QIODevice;

namespace WholeFile {

enum class Result { Written, Cancelled, Failed };

// Where a failure happened, for messages that say which part went wrong: the target was refused
// (the data file; a folder), the temporary file could not be made, the content could not be
// written, or the finished file could not take the target's name.
enum class Step { DataFile, Folder, Open, Write, Commit };

struct Outcome
{
    Result result = Result::Failed;
    Step step = Step::Write; // of a failure
    QString error; // why it failed; empty for a refused data file, which callers word themselves
};

// fill writes the content into the open temporary file and returns Written, or Cancelled, or
// Failed (with the reason in *error when it has one; else the device's error, if any). The file
// is flushed and closed before it takes the target's name. dataFile: the program's data file,
// refused as target (not checked when empty); a new file takes its permissions.
Outcome write(const QString &target, const QString &dataFile,
              const std::function<Result(QIODevice &file, QString *error)> &fill);

// The same for content that something else writes into a file of its own naming (the database
// engine's backup): fill is given the temporary file's path, the file already made and empty.
Outcome writeAt(const QString &target, const QString &dataFile,
                const std::function<Result(const QString &temporaryPath, QString *error)> &fill);

} // namespace WholeFile
