#pragma once
// A program that stopped halfway through a write (killed, its battery ran out): part of the
// transaction is in the file, and the journal beside it holds the pages it changed. The engine
// plays such a journal back into whatever file has that name when it next opens it.

#include <QFile>
#include <QFileInfo>
#include <QString>
#include <gtest/gtest.h>

#include <csignal>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

// Leaves file (a data file with a home 1) with a hot journal: a child process writes and is
// killed before it commits.
inline void leaveHotJournal(const QString &file)
{
    const pid_t pid = ::fork();
    if (pid == 0) {
        sqlite3 *db = nullptr;
        sqlite3_open(QFile::encodeName(file).constData(), &db);
        // A cache of two pages spills the changes into the file long before the commit.
        sqlite3_exec(db,
                     "PRAGMA cache_size=2; BEGIN; WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL "
                     "SELECT i + 1 FROM n WHERE i < 2000) INSERT INTO Assets (AssetId, HomeId, "
                     "Description) SELECT 1000 + i, 1, printf('%.200c', 'x') FROM n;",
                     nullptr, nullptr, nullptr);
        ::raise(SIGKILL);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status));
    ASSERT_GT(QFileInfo(file + QStringLiteral("-journal")).size(), 0);
}
