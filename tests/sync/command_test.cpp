// File > Sync. with Device in the running program: every step a user sees, with the real
// service stand-ins, a device folder and hive files.
#include "app/command_ids.h"
#include "app/frame_fixture.h"
#include "exchange/sync_command.h"
#include "format/string_table.h"
#include "sync_fixture.h"

#include <QAction>
#include <QEvent>
#include <QFileInfo>
#include <QRadioButton>
#include <QTest>

#include <dlfcn.h>
#include <functional>
#include <sys/stat.h>

using namespace SyncTest;

namespace {

// The scripted person, who can also act (plug a device in, close the handheld program) when a
// message appears.
class ActingUi : public ScriptedUi
{
public:
    std::function<void(const QString &)> onMessage;
    std::function<void(const QString &)> noteMessage; // sees every message first

    int messageBox(QWidget *owner, const QString &text, const QString &caption, Ui::Icon icon,
                   int buttons, int defaultButton) override
    {
        if (noteMessage)
            noteMessage(text);
        if (onMessage)
            onMessage(text);
        return ScriptedUi::messageBox(owner, text, caption, icon, buttons, defaultButton);
    }
};

QString text(int id)
{
    return Strings::load(id);
}

// A list one item a line, so that a failure shows which step differs.
std::string lines(const QStringList &items)
{
    return items.join(QLatin1Char('\n')).toStdString();
}

void unregisterService()
{
    CSettingsKey key(HKEY_LOCAL_MACHINE);
    ASSERT_TRUE(key.Open(HKEY_LOCAL_MACHINE, QLatin1String(Sync::kServiceKey)));
    ASSERT_TRUE(key.DeleteValue(QString()));
}

// The service registered in a folder of its own, watched: the real filter, and the real manager
// program behind a script that notes each request it gets. Every message and window the person
// sees is noted in order, with whether the filter was loaded at that moment.
class ServiceSpy : public QObject
{
public:
    explicit ServiceSpy(ActingUi &ui)
        : m_ui(ui)
    {
        EXPECT_TRUE(
            QFile::link(serviceFolder() + QLatin1String(DeviceFilter::kLibraryFile), filterPath()));
        QFile manager(folder() + QLatin1String(Sync::kManagerProgram));
        EXPECT_TRUE(manager.open(QIODevice::WriteOnly));
        manager.write(QStringLiteral("#!/bin/sh\nprintf '%s\\n' \"$*\" >> \"$0.requests\"\n"
                                     "exec '%1%2' \"$@\"\n")
                          .arg(serviceFolder(), QLatin1String(Sync::kManagerProgram))
                          .toUtf8());
        manager.close();
        manager.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        registerService(folder());
        ui.noteMessage = [this](const QString &shown) { note(QString(), shown); };
        qApp->installEventFilter(this);
    }
    ~ServiceSpy() override { m_ui.noteMessage = nullptr; }

    QString folder() const { return m_folder.path() + QLatin1Char('/'); }
    QString filterPath() const { return folder() + QLatin1String(DeviceFilter::kLibraryFile); }

    bool filterLoaded() const
    {
        void *library =
            ::dlopen(QFile::encodeName(filterPath()).constData(), RTLD_NOLOAD | RTLD_LAZY);
        if (library)
            ::dlclose(library);
        return library != nullptr;
    }

    QStringList managerRequests() const
    {
        QFile log(folder() + QLatin1String(Sync::kManagerProgram) + QStringLiteral(".requests"));
        if (!log.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(log.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

    QStringList steps;

protected:
    bool eventFilter(QObject *object, QEvent *event) override
    {
        const bool shown = event->type() == QEvent::Show;
        if ((shown || event->type() == QEvent::Hide) && object->isWidgetType()
            && static_cast<QWidget *>(object)->isWindow())
            note(QLatin1String(shown ? "shown" : "hidden"),
                 static_cast<QWidget *>(object)->windowTitle());
        return false;
    }

private:
    void note(QString event, const QString &what)
    {
        if (filterLoaded())
            event += QLatin1String(event.isEmpty() ? "filter loaded" : ", filter loaded");
        steps << (event.isEmpty() ? what : event + QStringLiteral(": ") + what);
    }

    ActingUi &m_ui;
    QTemporaryDir m_folder;
};

class SyncCommand : public ::testing::Test
{
protected:
    void SetUp() override
    {
        run.seedHomes({ { 1, QStringLiteral("Desk A") }, { 2, QStringLiteral("Desk B") } });
        run.writeSetting(QStringLiteral("LastHomeId"), 2);
        frame = &run.start();
        ASSERT_EQ(frame->currentHomeId(), 2);
    }

    void sync() { frame->action(Command::Sync)->trigger(); }

    // Picks a direction in the Sync Direction dialog and presses Sync.
    void choose(bool toDesktop)
    {
        ui.onNextDialog([toDesktop](QDialog &dialog) {
            QTest::qWait(20); // the dialog is seen (and its first-sync advice) before a choice
            if (toDesktop) {
                ASSERT_TRUE(Fill::click(dialog, QStringLiteral("toDesktop")));
            }
            ASSERT_TRUE(Fill::click(dialog, QStringLiteral("sync")));
        });
    }

    QStringList texts() const { return ui.messageTexts(); }

    ProgramRun run;
    ActingUi ui; // installed over the fixture's own for the test
    CMainFrame *frame = nullptr;
};

TEST_F(SyncCommand, WithoutTheServiceTheUserIsToldAndNothingElseHappens)
{
    sync();
    EXPECT_EQ(texts(),
              (QStringList { text(Strings::SyncIntroduction), text(Strings::SyncNoService) }));
    EXPECT_EQ(ui.messages()[1].icon, Ui::Icon::Warning);
    EXPECT_EQ(ui.messages()[1].caption, QStringLiteral("Domelio"));
    EXPECT_TRUE(ui.dialogTitles().isEmpty());

    // A registered folder without the filter is the same as no service.
    QTemporaryDir empty;
    registerService(empty.path() + QLatin1Char('/'));
    sync();
    EXPECT_EQ(texts().mid(2), QStringList { text(Strings::SyncNoService) }); // introduction once
}

TEST_F(SyncCommand, DesktopReplacesDeviceWithEveryStepInOrder)
{
    registerService();
    setUpDevice({ QStringLiteral("Hand X") });
    choose(false);
    sync();
    EXPECT_EQ(texts(),
              (QStringList { text(Strings::SyncIntroduction), text(Strings::SyncFirstTime),
                             text(Strings::SyncToDeviceDone) }));
    EXPECT_EQ(ui.messages().back().icon, Ui::Icon::Information);
    EXPECT_EQ(ui.dialogTitles(), QStringList { QStringLiteral("Sync Direction") });
    EXPECT_EQ(homesIn(deviceFile()),
              (QStringList { QStringLiteral("Desk A"), QStringLiteral("Desk B") }));
    EXPECT_EQ(ui.waitDepth(), 0);
    // The desktop is untouched and stays where it was.
    EXPECT_EQ(frame->currentHomeId(), 2);
    EXPECT_EQ(frame->currentViewIndex(), CMainFrame::TodayIndex);
}

TEST_F(SyncCommand, DeviceReplacesDesktopAndTheHomesViewShowsNoCurrentHome)
{
    registerService();
    setUpDevice({ QStringLiteral("Hand X"), QStringLiteral("Hand Y") });
    choose(true);
    sync();
    EXPECT_EQ(texts().last(), text(Strings::SyncToDesktopDone));
    EXPECT_EQ(homesIn(run.env.dataFile()),
              (QStringList { QStringLiteral("Hand X"), QStringLiteral("Hand Y") }));
    EXPECT_EQ(frame->currentHomeId(), -1);
    EXPECT_EQ(frame->currentViewIndex(), CMainFrame::HomesIndex);
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("Domelio"));
    // The program's own connection reads the new data at once.
    EXPECT_TRUE(frame->SetCurrentHome(102));
    EXPECT_EQ(frame->currentHome().m_strDescription, QStringLiteral("Hand Y"));
}

TEST_F(SyncCommand, CancelInTheDirectionDialogChangesNothing)
{
    registerService();
    setUpDevice({ QStringLiteral("Hand X") });
    const QDateTime modified = QFileInfo(deviceFile()).lastModified();
    ui.onNextDialog([](QDialog &dialog) {
        QTest::qWait(20);
        Fill::click(dialog, QStringLiteral("cancel"));
    });
    sync();
    EXPECT_EQ(texts(),
              (QStringList { text(Strings::SyncIntroduction), text(Strings::SyncFirstTime) }));
    EXPECT_EQ(homesIn(deviceFile()), QStringList { QStringLiteral("Hand X") });
    EXPECT_EQ(QFileInfo(deviceFile()).lastModified(), modified);
    EXPECT_EQ(homesIn(run.env.dataFile()),
              (QStringList { QStringLiteral("Desk A"), QStringLiteral("Desk B") }));
    EXPECT_EQ(frame->currentHomeId(), 2);
}

TEST_F(SyncCommand, RetryRunsEveryCheckAgainFromTheServiceOnAndTheCopyFollowsInOrder)
{
    // No device at first, and the user removes the service before pressing Retry.
    ServiceSpy service(ui);
    ui.answer(Ui::Ok); // the introduction
    ui.answer(Ui::Retry);
    ui.onMessage = [](const QString &shown) {
        if (shown == text(Strings::SyncConnectError))
            unregisterService();
    };
    sync();
    EXPECT_EQ(lines(service.steps),
              lines({ text(Strings::SyncIntroduction), text(Strings::SyncConnectError),
                      text(Strings::SyncNoService) }));
    EXPECT_EQ(ui.messages()[1].buttons, Ui::Retry | Ui::Cancel);
    EXPECT_EQ(ui.messages()[1].icon, Ui::Icon::Warning);

    // Back again: the user plugs in an old handheld, updates it, and each time presses Retry.
    service.steps.clear();
    registerService(service.folder());
    ui.answer(Ui::Retry);
    ui.answer(Ui::Retry);
    ui.onMessage = [](const QString &shown) {
        if (shown == text(Strings::SyncConnectError))
            setUpDevice({ QStringLiteral("Hand X") }, QStringLiteral("1.0"));
        if (shown == text(Strings::SyncOldVersion))
            writeDeviceValue(QStringLiteral("CurrentVersion"), QStringLiteral("1.1"));
    };
    choose(false);
    sync();
    const QString kProgressTitle = QStringLiteral("Synchronizing Domelio Data...");
    // The filter is let go before each Retry and before the result, and held from the direction
    // dialog until the copy is over; the progress window covers the copy alone.
    EXPECT_EQ(
        lines(service.steps),
        lines({ text(Strings::SyncConnectError), text(Strings::SyncOldVersion),
                QStringLiteral("shown, filter loaded: Sync Direction"),
                QStringLiteral("filter loaded: ") + text(Strings::SyncFirstTime),
                QStringLiteral("hidden, filter loaded: Sync Direction"),
                QStringLiteral("shown, filter loaded: ") + kProgressTitle,
                QStringLiteral("hidden: ") + kProgressTitle, text(Strings::SyncToDeviceDone) }));
    EXPECT_EQ(ui.messages()[4].buttons, Ui::Retry | Ui::Cancel);
    EXPECT_EQ(homesIn(deviceFile()),
              (QStringList { QStringLiteral("Desk A"), QStringLiteral("Desk B") }));
    // The manager was asked once, for the one copy, to let go of the device.
    QTRY_COMPARE(service.managerRequests(), QStringList { QStringLiteral("/quit") });
    EXPECT_FALSE(service.filterLoaded());
}

TEST_F(SyncCommand, ALockedDeviceDatabaseGivesTheConnectionErrorThenRetrySucceeds)
{
    registerService();
    setUpDevice({ QStringLiteral("Hand X") });
    auto handheld = std::make_unique<HandheldRunning>();
    ui.answer(Ui::Ok); // the introduction
    ui.answer(Ui::Retry);
    ui.onMessage = [&](const QString &shown) {
        if (shown == text(Strings::SyncConnectError))
            handheld.reset(); // Tools->Exit on the device
    };
    choose(true);
    sync();
    EXPECT_EQ(texts(),
              (QStringList { text(Strings::SyncIntroduction), text(Strings::SyncConnectError),
                             text(Strings::SyncFirstTime), text(Strings::SyncToDesktopDone) }));
    EXPECT_EQ(homesIn(run.env.dataFile()), QStringList { QStringLiteral("Hand X") });

    // Cancel ends the command at the same message.
    HandheldRunning again;
    ui.answer(Ui::Cancel);
    sync();
    EXPECT_EQ(texts().mid(4), QStringList { text(Strings::SyncConnectError) });
    EXPECT_EQ(ui.pendingScripts(), 0);
}

TEST_F(SyncCommand, ADamagedDeviceDatabaseIsRefusedWithTheDesktopIntact)
{
    registerService();
    setUpDevice({ QStringLiteral("Hand X") });
    {
        QFile f(deviceFile());
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.seek(4096)); // the second page's header
        f.write(QByteArray(16, '\xee'));
    }
    choose(true);
    sync();
    const QString shown = texts().last();
    EXPECT_FALSE(shown.contains(QStringLiteral("Congratulations")));
    EXPECT_EQ(
        shown,
        CSyncCommand::failureText(Sync::Direction::DeviceToDesktop, DeviceFilter::SourceDamaged));
    EXPECT_TRUE(shown.contains(QStringLiteral("damaged")));
    EXPECT_TRUE(shown.contains(QStringLiteral("has not been changed")));
    EXPECT_EQ(homesIn(run.env.dataFile()),
              (QStringList { QStringLiteral("Desk A"), QStringLiteral("Desk B") }));
    EXPECT_EQ(integrityOf(run.env.dataFile()), QStringLiteral("ok"));
    // No reload either: the user carries on where they were.
    EXPECT_EQ(frame->currentHomeId(), 2);
}

TEST_F(SyncCommand, TheShowOnceTextsAreShownOnceAcrossRuns)
{
    registerService();
    setUpDevice({ QStringLiteral("Hand X") });
    choose(false);
    sync();
    ASSERT_EQ(texts().size(), 3);

    frame = &run.start(); // the program starts again with the same settings
    choose(false);
    sync();
    EXPECT_EQ(texts().mid(3), QStringList { text(Strings::SyncToDeviceDone) });
}

// The handheld program starts while the Sync Direction dialog is open, after the check that
// found its database free: the copy itself finds the database held, in either direction, says
// so, and changes nothing on either side; the handheld goes on with the file it has open.
TEST_F(SyncCommand, AHandheldStartedWhileTheDirectionDialogIsOpenStopsTheCopy)
{
    registerService();
    setUpDevice({ QStringLiteral("Hand X") });
    auto inodeOf = [](const QString &path) {
        struct stat st = {};
        return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_ino : 0;
    };
    for (const bool toDesktop : { false, true }) {
        SCOPED_TRACE(toDesktop);
        const auto direction =
            toDesktop ? Sync::Direction::DeviceToDesktop : Sync::Direction::DesktopToDevice;
        const ino_t inode = inodeOf(deviceFile());
        std::unique_ptr<HandheldRunning> handheld;
        ui.onNextDialog([&](QDialog &dialog) {
            handheld = std::make_unique<HandheldRunning>();
            if (toDesktop) {
                ASSERT_TRUE(Fill::click(dialog, QStringLiteral("toDesktop")));
            }
            ASSERT_TRUE(Fill::click(dialog, QStringLiteral("sync")));
        });
        sync();
        EXPECT_EQ(texts().last(), CSyncCommand::failureText(direction, DeviceFilter::DeviceInUse));
        EXPECT_EQ(ui.messages().back().icon, Ui::Icon::Warning);
        EXPECT_EQ(homesIn(deviceFile()), QStringList { QStringLiteral("Hand X") });
        EXPECT_EQ(deviceLeftovers(), QStringList());
        EXPECT_EQ(inodeOf(deviceFile()), inode) << "still the very file the handheld has open";
        EXPECT_EQ(homesIn(run.env.dataFile()),
                  (QStringList { QStringLiteral("Desk A"), QStringLiteral("Desk B") }));
        EXPECT_EQ(frame->currentHomeId(), 2);
        EXPECT_EQ(ui.waitDepth(), 0);
    }
}

} // namespace
