#pragma once
// The program's own command line: --help, --version and --data-dir. Read before the window
// system is touched, so --help and --version work without a display; Qt's own options
// (-platform, -style, ...) are passed over with their values and left for QApplication.

#include <QString>
#include <QStringList>

namespace CommandLine {

struct Options
{
    enum class Action { Run, Help, Version, Refuse };
    Action action = Action::Run;
    QString dataDir; // --data-dir, absolute; empty when not given
    QString problem; // Refuse: one line saying what was wrong
};

// arguments: the whole command line, the program's name first.
Options parse(const QStringList &arguments);

// What --help and --version print; program is the name the user typed.
QString helpText(const QString &program);
QString versionText();

} // namespace CommandLine
