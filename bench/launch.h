#pragma once
// Start-up measured from outside: a program started as a child process and timed from launch
// until it prints its first line (which it does once its event loop first runs idle), so
// library loading, fonts and the data file's first read all count and shutdown does not. And
// the settings a returning user has, so no box waits for a person.

#include "app/home_app.h"
#include "platform/settings_key.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace Launch {

struct Timing
{
    double wall = 0; // launch until the child's first line, ms
    double inside = 0; // that line: the child's own start to idle, ms
    double peakMiB = 0; // its second line, if any: its peak resident memory, MiB
    double worthShown = 0; // its third line, if any: start to the inventory's worth shown, ms
};

// Starts program with arguments in env and waits for it to end; says so on stderr when it
// fails.
inline Timing run(const QString &program, const QStringList &arguments,
                  const QProcessEnvironment &env)
{
    QProcess child;
    child.setProcessEnvironment(env);
    QElapsedTimer clock;
    clock.start();
    child.start(program, arguments);
    while (!child.canReadLine() && child.waitForReadyRead(-1)) { }
    Timing t;
    t.wall = clock.nsecsElapsed() / 1e6;
    child.waitForFinished(-1);
    const QList<QByteArray> lines = child.readAllStandardOutput().trimmed().split('\n');
    t.inside = lines.value(0).trimmed().toDouble();
    t.peakMiB = lines.value(1).trimmed().toDouble();
    t.worthShown = lines.value(2).trimmed().toDouble();
    if (child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0)
        std::fprintf(stderr, "%s %s exited with %d: %s\n", qPrintable(program),
                     qPrintable(arguments.join(QLatin1Char(' '))), child.exitCode(),
                     child.readAllStandardError().constData());
    return t;
}

// The median of one field over a set of launches.
inline double median(std::vector<Timing> runs, double Timing::*field)
{
    if (runs.empty())
        return 0;
    std::sort(runs.begin(), runs.end(),
              [&](const Timing &a, const Timing &b) { return a.*field < b.*field; });
    return runs[runs.size() / 2].*field;
}

// A returning user, in the registry DOMELIO_REGISTRY_DIR names: greeted before, home 1 current
// last time.
inline void writeReturningUser()
{
    CSettingsKey key(HKEY_CURRENT_USER);
    key.Create(HKEY_CURRENT_USER, QLatin1String(CHomeApp::kSettingsPath));
    key.WriteNumber(QStringLiteral("InitialGreetingShown_v1.3"), 1);
    key.WriteNumber(QStringLiteral("LastHomeId"), 1);
}

// As if the data file changed since the last run (a restore, a sync, another tool): the worth
// kept at the last close is dropped, so the next start adds the assets up again.
inline void forgetInventoryWorth()
{
    CSettingsKey key(HKEY_CURRENT_USER);
    key.Open(HKEY_CURRENT_USER, QLatin1String(CHomeApp::kSettingsPath));
    key.DeleteValue(QStringLiteral("InventoryWorth"));
}

// The environment a start-up child runs in: offscreen, with the given data and registry folders.
inline QProcessEnvironment environment(const QString &dataDir, const QString &registryDir)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("DOMELIO_DATA_DIR"), dataDir);
    env.insert(QStringLiteral("DOMELIO_REGISTRY_DIR"), registryDir);
    return env;
}

} // namespace Launch
