#include "app/command_line.h"

#include "app/home_app.h"

#include <QDir>
#include <QFileInfo>

namespace CommandLine {

namespace {

// Options QGuiApplication, QApplication and the platform plugins take out of the command line
// themselves, written without their dash. Those that take a value take the next argument or
// "=value".
const char *const kQtOptionsWithValue[] = {
    "platform",
    "platformpluginpath",
    "platformtheme",
    "plugin",
    "qwindowgeometry",
    "geometry",
    "qwindowtitle",
    "title",
    "qwindowicon",
    "icon",
    "session",
    "display",
    "name",
    "style",
    "stylesheet",
    "qmljsdebugger",
};
const char *const kQtFlags[] = {
    "reverse", "widgetcount", "nograb", "dograb", "sync", "testability"
};

template<size_t N>
bool isOneOf(const QString &name, const char *const (&list)[N])
{
    for (const char *entry : list) {
        if (name == QLatin1String(entry))
            return true;
    }
    return false;
}

Options refuse(const QString &problem)
{
    Options options;
    options.action = Options::Action::Refuse;
    options.problem = problem;
    return options;
}

} // namespace

Options parse(const QStringList &arguments)
{
    Options options;
    for (int i = 1; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
            options.action = Options::Action::Help;
            return options;
        }
        if (argument == QLatin1String("--version")) {
            options.action = Options::Action::Version;
            return options;
        }
        if (argument == QLatin1String("--data-dir")
            || argument.startsWith(QLatin1String("--data-dir="))) {
            QString folder;
            if (argument.contains(QLatin1Char('=')))
                folder = argument.section(QLatin1Char('='), 1);
            else if (i + 1 < arguments.size())
                folder = arguments[++i];
            if (folder.isEmpty())
                return refuse(QStringLiteral("--data-dir needs a folder"));
            options.dataDir = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
            continue;
        }
        if (!argument.startsWith(QLatin1Char('-')) || argument == QLatin1String("-"))
            return refuse(QStringLiteral("unexpected argument '%1'").arg(argument));

        // Qt accepts its options with one dash or two.
        QString name = argument.mid(argument.startsWith(QLatin1String("--")) ? 2 : 1);
        const bool hasValue = name.contains(QLatin1Char('='));
        name = name.section(QLatin1Char('='), 0, 0);
        if (isOneOf(name, kQtOptionsWithValue)) {
            if (!hasValue && ++i >= arguments.size())
                return refuse(QStringLiteral("%1 needs a value").arg(argument));
            continue;
        }
        if (!hasValue && isOneOf(name, kQtFlags))
            continue;
        return refuse(QStringLiteral("unknown option '%1'").arg(argument));
    }
    return options;
}

QString helpText(const QString &program)
{
    return QStringLiteral(
               "Usage: %1 [--data-dir FOLDER] [Qt options]\n"
               "Domelio, the household manager: homes, their rooms, inventory and loans, and\n"
               "the household's tasks and shopping.\n"
               "\n"
               "  --data-dir FOLDER  use FOLDER/HOMEDATA.DAT as the data file (as does\n"
               "                     $DOMELIO_DATA_DIR); make-datafile writes a new one\n"
               "  --help             show this text and exit\n"
               "  --version          show the version and exit\n"
               "\n"
               "Without --data-dir the data file is HOMEDATA.DAT beside the program, or for an\n"
               "installed copy $XDG_DATA_HOME/domelio/HOMEDATA.DAT (~/.local/share/domelio),\n"
               "made on the first start. Qt's own options (-platform, -style, ...) work too.\n")
        .arg(program);
}

QString versionText()
{
    return QStringLiteral("Domelio %1\n").arg(QLatin1String(CHomeApp::kVersion));
}

} // namespace CommandLine
