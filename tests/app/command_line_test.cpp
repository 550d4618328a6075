#include "app/command_line.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

using Action = CommandLine::Options::Action;

CommandLine::Options parse(const QStringList &arguments)
{
    return CommandLine::parse(QStringList { QStringLiteral("domelio") } + arguments);
}

TEST(CommandLine, OwnOptionsAndQtsOwnPassOrAreRefusedSayingWhy)
{
    struct Case
    {
        QStringList arguments;
        Action action;
        QString problem;
    };
    const Case cases[] = {
        { {}, Action::Run, {} },
        { { "--help" }, Action::Help, {} },
        { { "-h" }, Action::Help, {} },
        { { "--version" }, Action::Version, {} },
        // Qt's options, with their values in either form, are left for QApplication.
        { { "-platform", "offscreen", "-style=fusion", "--reverse", "-qwindowtitle", "x y" },
          Action::Run,
          {} },
        // A value that looks like one of ours belongs to the option before it.
        { { "-title", "--version" }, Action::Run, {} },
        { { "--bogus" }, Action::Refuse, "unknown option '--bogus'" },
        { { "-x", "--help" }, Action::Refuse, "unknown option '-x'" },
        { { "--reverse=1" }, Action::Refuse, "unknown option '--reverse=1'" },
        { { "HOMEDATA.DAT" }, Action::Refuse, "unexpected argument 'HOMEDATA.DAT'" },
        { { "-style" }, Action::Refuse, "-style needs a value" },
        { { "--data-dir" }, Action::Refuse, "--data-dir needs a folder" },
        { { "--data-dir=" }, Action::Refuse, "--data-dir needs a folder" },
    };
    for (const Case &c : cases) {
        const CommandLine::Options options = parse(c.arguments);
        const std::string label = c.arguments.join(QLatin1Char(' ')).toStdString();
        EXPECT_EQ(options.action, c.action) << label;
        EXPECT_EQ(options.problem, c.problem) << label;
    }
}

TEST(CommandLine, DataDirIsMadeAbsoluteInEitherForm)
{
    EXPECT_EQ(parse({ "--data-dir", "/srv/house/" }).dataDir, QStringLiteral("/srv/house"));
    EXPECT_EQ(parse({ "--data-dir=/srv/a=b" }).dataDir, QStringLiteral("/srv/a=b"));
    const CommandLine::Options relative = parse({ "-platform", "offscreen", "--data-dir", "mine" });
    EXPECT_EQ(relative.action, Action::Run);
    EXPECT_EQ(relative.dataDir, QDir::currentPath() + QStringLiteral("/mine"));
}

} // namespace
