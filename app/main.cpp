#include "app/command_line.h"
#include "app/home_app.h"
#include "format/string_table.h"

#include <QApplication>
#include <QFileInfo>
#include <QIcon>

#include <cstdio>

int main(int argc, char **argv)
{
    // The program's own options are read before QApplication needs a display.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const QString program = QFileInfo(arguments.value(0)).fileName();
    const CommandLine::Options options = CommandLine::parse(arguments);
    switch (options.action) {
    case CommandLine::Options::Action::Help:
        std::fputs(qPrintable(CommandLine::helpText(program)), stdout);
        return 0;
    case CommandLine::Options::Action::Version:
        std::fputs(qPrintable(CommandLine::versionText()), stdout);
        return 0;
    case CommandLine::Options::Action::Refuse:
        std::fprintf(stderr, "%s: %s (see %s --help)\n", qPrintable(program),
                     qPrintable(options.problem), qPrintable(program));
        return 2;
    case CommandLine::Options::Action::Run:
        break;
    }
    QApplication qapp(argc, argv);
    QApplication::setApplicationName(Strings::load(Strings::AppTitle));
    QApplication::setOrganizationName(QStringLiteral("Varn Holt"));
    QApplication::setApplicationVersion(QLatin1String(CHomeApp::kVersion));
    // Ties the windows to the installed menu entry (its icon, its name in the task bar).
    QGuiApplication::setDesktopFileName(QStringLiteral("example.domelio.Domelio"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("example.domelio.Domelio")));
    // Where the data file is, decided once: the folder named with --data-dir, else as the
    // program is laid out (see DataLocation).
    CHomeApp app(DataLocation(CHomeApp::programFolder(), options.dataDir));
    if (!app.InitInstance())
        return 1;
    const int rc = QApplication::exec();
    const int exitCode = app.ExitInstance();
    return rc != 0 ? rc : exitCode;
}
