#pragma once
// Cutting a process off in the middle of its work: the test binary starts itself again to run
// one test as a child, told what to do through an environment variable, and the trial kills it
// with SIGKILL when it chooses. The child's test skips itself when the variable is not set, so it
// does nothing in an ordinary run of the suite. What the child has finished it writes as lines to
// file descriptor 3 (kReportChannel), kept apart from the test runner's own output; everything
// written there before the kill is still read afterwards.

#include <QByteArray>
#include <QList>
#include <QtGlobal>

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

class ChildProcess
{
public:
    static constexpr int kReportChannel = 3;

    // Runs test ("Suite.Name") of this binary with variable=value added to the environment the
    // parent has now (so the temporary folders of TempEnv are the child's too).
    ChildProcess(const char *test, const char *variable, const QByteArray &value)
    {
        int channel[2];
        if (::pipe2(channel, O_CLOEXEC) != 0)
            return;
        m_reports = channel[0];
        QByteArray self(4096, '\0');
        const ssize_t length = ::readlink("/proc/self/exe", self.data(), self.size() - 1);
        if (length <= 0) {
            ::close(channel[1]);
            return;
        }
        self.truncate(length);
        const QByteArray filter = QByteArray("--gtest_filter=") + test;
        char *argv[] = { self.data(), const_cast<char *>(filter.constData()), nullptr };

        QList<QByteArray> entries;
        entries << QByteArray(variable) + '=' + value;
        // The runner's own settings (sharding, output files) belong to the parent's run.
        const QByteArray prefix = QByteArray(variable) + '=';
        for (char **e = environ; *e; ++e) {
            const QByteArray entry(*e);
            if (!entry.startsWith(prefix) && !entry.startsWith("GTEST_"))
                entries << entry;
        }
        QList<char *> envp;
        for (QByteArray &entry : entries)
            envp << entry.data();
        envp << nullptr;

        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        // dup2 clears close-on-exec on the copy, so only the write end reaches the child.
        posix_spawn_file_actions_adddup2(&actions, channel[1], kReportChannel);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
        if (::posix_spawn(&m_pid, self.constData(), &actions, nullptr, argv, envp.data()) != 0)
            m_pid = -1;
        posix_spawn_file_actions_destroy(&actions);
        ::close(channel[1]);
    }

    ~ChildProcess()
    {
        kill();
        if (m_reports >= 0)
            ::close(m_reports);
    }
    ChildProcess(const ChildProcess &) = delete;
    ChildProcess &operator=(const ChildProcess &) = delete;

    bool started() const { return m_pid > 0; }

    bool running()
    {
        if (m_pid <= 0)
            return false;
        if (::waitpid(m_pid, &m_status, WNOHANG) == m_pid)
            m_pid = -1;
        return m_pid > 0;
    }

    // SIGKILL and wait for the end; true when the child was still running, so the kill cut it
    // off rather than finding it done.
    bool kill()
    {
        if (!running())
            return false;
        ::kill(m_pid, SIGKILL);
        ::waitpid(m_pid, &m_status, 0);
        m_pid = -1;
        return true;
    }

    // Waits for the child to end by itself; true when it exited with status 0.
    bool finish()
    {
        if (m_pid > 0) {
            ::waitpid(m_pid, &m_status, 0);
            m_pid = -1;
        }
        return WIFEXITED(m_status) && WEXITSTATUS(m_status) == 0;
    }

    // The next line the child reported, without its line end, waiting at most timeoutMs for
    // it; empty when none came (the child ended, or the time ran out).
    QByteArray readLine(int timeoutMs)
    {
        for (;;) {
            const qsizetype end = m_pending.indexOf('\n');
            if (end >= 0) {
                const QByteArray line = m_pending.left(end);
                m_pending.remove(0, end + 1);
                return line;
            }
            pollfd ready { m_reports, POLLIN, 0 };
            const int n = ::poll(&ready, 1, timeoutMs);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                return {};
            char buffer[4096];
            const ssize_t got = ::read(m_reports, buffer, sizeof buffer);
            if (got <= 0)
                return {}; // the child has gone and everything it wrote was read
            m_pending.append(buffer, got);
        }
    }

private:
    pid_t m_pid = -1;
    int m_status = 0;
    int m_reports = -1;
    QByteArray m_pending;
};

// The child's side: writes one line to the parent's report channel at once, unbuffered, so a
// kill right after it cannot lose it.
inline bool reportToParent(const QByteArray &line)
{
    const QByteArray text = line + '\n';
    return ::write(ChildProcess::kReportChannel, text.constData(), size_t(text.size()))
        == ssize_t(text.size());
}
