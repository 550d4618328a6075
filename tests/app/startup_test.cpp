#include "app/home_app.h"
#include "app/main_frame.h"
#include "format/string_table.h"
#include "platform/settings_key.h"
#include "support/scripted_ui.h"
#include "support/temp_env.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

QString setting(const char *name)
{
    CSettingsKey key(HKEY_CURRENT_USER);
    QString value;
    if (key.Open(HKEY_CURRENT_USER, QLatin1String(CHomeApp::kSettingsPath)))
        key.ReadString(QLatin1String(name), value);
    return value;
}

// The folder named for the data (here by $DOMELIO_DATA_DIR) holds no data file: the message
// names the folder and the file and says how to make one; reinstalling would not help.
TEST(Startup, MissingDataFileEndsTheProgramWithItsMessage)
{
    TempEnv env(false);
    ScriptedUi ui;
    CHomeApp app;
    EXPECT_FALSE(app.InitInstance());
    ASSERT_EQ(ui.messages().size(), 1u);
    const ScriptedUi::Message &m = ui.messages().front();
    EXPECT_TRUE(m.text.startsWith(QStringLiteral("There is no data file in the folder %1, which "
                                                 "$DOMELIO_DATA_DIR names: HOMEDATA.DAT is "
                                                 "missing.")
                                      .arg(env.dataDir())))
        << m.text.toStdString();
    EXPECT_TRUE(m.text.contains(QStringLiteral("make-datafile \"%1\"").arg(env.dataFile())))
        << m.text.toStdString();
    EXPECT_FALSE(m.text.contains(QStringLiteral("reinstall")));
    EXPECT_EQ(m.icon, Ui::Icon::Warning);
    EXPECT_TRUE(m.caption.isEmpty());
    EXPECT_EQ(app.mainWindow(), nullptr);
    EXPECT_FALSE(QFile::exists(env.dataFile()));
    // Nothing was written to the settings either.
    EXPECT_TRUE(setting("CurrentVersion").isEmpty());
}

TEST(Startup, DamagedDataFileIsRefusedToo)
{
    TempEnv env(false);
    QFile file(env.dataFile());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("this is not a database");
    file.close();
    ScriptedUi ui;
    CHomeApp app;
    EXPECT_FALSE(app.InitInstance());
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.messages().front().text, Strings::load(Strings::DataFileError));
    // The user's file is left as it was.
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("this is not a database"));
}

TEST(Startup, WritesVersionAndGreetsOnlyOnce)
{
    TempEnv env;
    const QString greeting =
        QStringLiteral("Welcome to Domelio v1.3! We hope this program helps keep "
                       "your home safe, comfortable, and beautiful.");
    {
        ScriptedUi ui;
        ui.answer(Ui::Ok); // greeting
        ui.answer(Ui::Yes); // "used the Pocket PC Edition?"
        CHomeApp app;
        ASSERT_TRUE(app.InitInstance());
        ASSERT_GE(ui.messages().size(), 2u);
        EXPECT_TRUE(ui.messages()[0].text.startsWith(greeting));
        EXPECT_EQ(ui.messages()[0].caption, QStringLiteral("Domelio"));
        EXPECT_EQ(ui.messages()[1].text, Strings::load(Strings::AskHandheldUsed));
        EXPECT_EQ(ui.messages()[1].buttons, Ui::Yes | Ui::No);
        EXPECT_EQ(ui.messages()[1].icon, Ui::Icon::Question);
        EXPECT_TRUE(app.mainWindow()->isVisible());
        app.ExitInstance();
        EXPECT_FALSE(app.database().IsOpen());
    }
    EXPECT_EQ(setting("CurrentVersion"), QStringLiteral("1.3"));
    EXPECT_EQ(setting("AppPath"), CHomeApp::programFolder());
    EXPECT_TRUE(CHomeApp::programFolder().endsWith(QLatin1Char('/')));

    ScriptedUi ui;
    ui.answer(Ui::Yes);
    CHomeApp again;
    ASSERT_TRUE(again.InitInstance());
    for (const QString &text : ui.messageTexts())
        EXPECT_FALSE(text.startsWith(greeting));
    // No home has become current yet, so the question comes back.
    ASSERT_FALSE(ui.messages().empty());
    EXPECT_EQ(ui.messages().front().text, Strings::load(Strings::AskHandheldUsed));
}

TEST(Startup, ShowOnceKeepsItsFlagPerName)
{
    TempEnv env;
    ScriptedUi ui;
    CHomeApp app;
    app.settings().Create(HKEY_CURRENT_USER, QLatin1String(CHomeApp::kSettingsPath));
    app.showMessageOnce(QStringLiteral("tip"), QStringLiteral("MsgSpecialAssetVideos"));
    app.showMessageOnce(QStringLiteral("tip"), QStringLiteral("MsgSpecialAssetVideos"));
    app.showMessageOnce(QStringLiteral("other"), QStringLiteral("SyncGreeting"));
    EXPECT_EQ(ui.messageTexts(), (QStringList { QStringLiteral("tip"), QStringLiteral("other") }));
    // A flag of the wrong type counts as not shown.
    app.settings().WriteString(QStringLiteral("IsFirstSync"), QStringLiteral("1"));
    app.showMessageOnce(QStringLiteral("first sync"), QStringLiteral("IsFirstSync"));
    EXPECT_EQ(ui.messageTexts().size(), 3);
    qint32 flag = 0;
    EXPECT_TRUE(app.settings().ReadNumber(QStringLiteral("IsFirstSync"), flag));
    EXPECT_EQ(flag, 1);
}

TEST(Startup, DataFolderFollowsTheEnvironment)
{
    TempEnv env;
    CHomeApp app;
    EXPECT_EQ(app.dataLocation().dataFolder(), env.dataDir() + QLatin1Char('/'));
    EXPECT_EQ(app.dataLocation().dataFilePath(), env.dataFile());
    ASSERT_TRUE(app.database().Open(app.dataLocation().dataFilePath()));
    EXPECT_EQ(app.database().GetConnectionString(),
              QStringLiteral("Provider=SQLite;Data Source='") + env.dataFile()
                  + QStringLiteral("';"));
}

} // namespace
