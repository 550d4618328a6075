#pragma once
// Small helpers shared by the benchmark programs.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStringList>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <sys/resource.h>
#include <vector>

namespace BenchUtil {

// Median wall time in milliseconds of runs calls of work.
inline double medianMs(int runs, const std::function<void()> &work)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        work();
        times.push_back(t.nsecsElapsed() / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// A widget benchmark's start: offscreen unless a platform is named, and settings of its own in
// folder, so nobody's real settings are read or written. Before the application object.
inline void offscreenWithOwnSettings(const QString &folder)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("DOMELIO_REGISTRY_DIR", folder.toUtf8());
}

// Writes a data file at path with bench_generate_data (built beside every benchmark), given its
// options ("--assets", "100000", ...); says so on stderr when it fails.
inline bool generateData(const QString &path, QStringList options)
{
    const QString generator =
        QCoreApplication::applicationDirPath() + QStringLiteral("/bench_generate_data");
    options << path;
    if (QProcess::execute(generator, options) == 0)
        return true;
    std::fprintf(stderr, "could not generate %s with %s\n", qPrintable(path),
                 qPrintable(generator));
    return false;
}

// The data file a benchmark measures: the one named on its command line, else a new one with
// the given number of assets written into folder. Empty when neither can be had.
inline QString dataFile(const QString &named, const QString &folder, int assets = 100000)
{
    if (!named.isEmpty())
        return named;
    const QString path = folder + QStringLiteral("/HOMEDATA.DAT");
    return generateData(path, { QStringLiteral("--assets"), QString::number(assets) }) ? path
                                                                                       : QString();
}

// The median and the worst of a set of wall times, for work whose every run matters (a
// keystroke must never take long, not only usually).
struct Spread
{
    double median = 0;
    double worst = 0;
};
inline Spread spread(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    return { times[times.size() / 2], times.back() };
}
// The spread of runs calls of work, in milliseconds.
inline Spread spreadMs(int runs, const std::function<void()> &work)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i)
        times.push_back(medianMs(1, work));
    return spread(std::move(times));
}

// One run of the sqlite3 shell with the given arguments, its output to /dev/null: the baseline
// most benchmarks compare with.
inline void runShell(const QStringList &arguments)
{
    QProcess sqlite;
    sqlite.setStandardOutputFile(QProcess::nullDevice());
    sqlite.start(QStringLiteral("sqlite3"), arguments);
    sqlite.waitForFinished(-1);
}

// Peak resident memory of this process so far, in MiB.
inline double peakMiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return -1;
}

// Wall time is at the mercy of whatever else the machine runs; CPU time (user + system) is
// printed beside it, for this process's work and for the shell as a child process.
inline double cpuMs()
{
    timespec t {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

inline double childCpuMs()
{
    rusage usage {};
    getrusage(RUSAGE_CHILDREN, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3
        + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}

// Median wall and CPU milliseconds of runs calls of work; child: count the CPU of the child
// processes work starts (and waits for) instead of this process's.
struct Times
{
    double wall = 0;
    double cpu = 0;
};
inline Times measure(int runs, const std::function<void()> &work, bool child = false)
{
    std::vector<double> walls;
    std::vector<double> cpus;
    for (int i = 0; i < runs; ++i) {
        const double cpu0 = child ? childCpuMs() : cpuMs();
        walls.push_back(medianMs(1, work));
        cpus.push_back((child ? childCpuMs() : cpuMs()) - cpu0);
    }
    std::sort(walls.begin(), walls.end());
    std::sort(cpus.begin(), cpus.end());
    return { walls[walls.size() / 2], cpus[cpus.size() / 2] };
}

} // namespace BenchUtil
