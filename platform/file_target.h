#pragma once
// Files a command writes or replaces for the user: an export, a backup, a report, the data file
// a restore puts in place, the handheld's database after a copy to the device. Two rules hold
// for every one of them.
//
// 1. The data file is never the target: not the file itself, not the files the database engine
//    keeps beside it (name-journal, name-wal, name-shm; a stray one is taken for the data file's
//    own and played back into it), and not a link to any of them. Call isDataFile() on the
//    chosen path before anything is written and refuse it with a message.
// 2. A file is replaced whole or not at all. Replacement writes under a temporary name in the
//    target's own folder and renames over the target only when complete, so a reader sees the
//    old file or the new one, never a part. A link is followed and the file it points to is
//    replaced in its own folder; the link stays. The new file takes the permissions of the file
//    it replaces, else those of the data file, where the file system keeps permissions at all.
//    Temporary files that an attempt cut off (killed, power lost) left behind are removed by
//    the next attempt on the same target; they are named ".<name>.domelio-XXXXXX" so that
//    nobody else's file is taken for one.
//
//     if (FileTarget::isDataFile(path, dataFile)) -> refuse
//     FileTarget::Replacement out(path, dataFile);
//     if (!out.open(&error)) -> fail
//     write the content to out.temporaryPath() (and flush it)
//     if (!out.commit(&error)) -> fail   (the destructor removes the temporary file)

#include <QString>

namespace FileTarget {

// Whether writing to path would write into dataFile or one of its side files. Existing files are
// compared by device and inode after following links, so other spellings, hard links and
// symbolic links are caught; a name that does not exist yet is refused when, its links and its
// folder resolved, it is a side file's name in the data file's folder (HOMEDATA.DAT-journal, in
// any mix of case: a folder on FAT takes homedata.dat-journal for the same name).
bool isDataFile(const QString &path, const QString &dataFile);

// The file a write to path really replaces: path with its symbolic links followed, one after
// another, to the file they point to (which need not exist yet). Anything else is path itself.
QString resolved(const QString &path);

// Removes the database engine's side files of file (-journal, -wal, -shm).
void removeSideFiles(const QString &file);

class Replacement
{
public:
    // What the target is. A database's side files belong to the file they lie beside: when a
    // new database takes the old one's place, the old one's journal and log must not stay for
    // the engine to play back into the new one.
    enum class Kind { File, Database };

    // target: the file to write or replace. modeSource: the file whose permissions a new target
    // takes (the data file); 0600 when that cannot be read either.
    Replacement(const QString &target, const QString &modeSource, Kind kind = Kind::File);
    ~Replacement();
    Replacement(const Replacement &) = delete;
    Replacement &operator=(const Replacement &) = delete;

    // Creates the temporary file, empty, in the target's folder, and holds it (an advisory
    // lock) until commit() or the end, so that another attempt on the same name leaves it
    // alone. Leftovers of earlier attempts on the same name go first: only the program's own,
    // only those older than this attempt and held by nobody. False, with the reason, when the
    // folder cannot be written.
    bool open(QString *error);

    QString temporaryPath() const { return m_temporary; }
    // The file that commit() replaces, links followed.
    QString targetPath() const { return m_target; }

    // Flushes the temporary file to the disk, gives it its permissions, renames it over the
    // target and flushes the folder, so the new name survives a power cut as the data did. A
    // database's side files are set aside just before the rename, removed once it is done and
    // put back when it fails. False, with the reason, when any of that fails; the target is
    // then as it was, side files included.
    bool commit(QString *error);

private:
    QString m_target;
    QString m_modeSource;
    Kind m_kind;
    QString m_temporary;
    int m_held = -1; // the temporary file, locked
};

} // namespace FileTarget
