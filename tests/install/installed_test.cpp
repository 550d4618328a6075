// The installed tree, as install_tree.cmake staged it: the programs run from there find their
// shipped files, keep the user's data in the user's folder, and find the service installed
// beside them.
#include "exchange/sync_session.h"
#include "platform/reg_hive.h"
#include "support/file_facts.h"
#include "support/temp_env.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <functional>
#include <sqlite3.h>
#include <sys/stat.h>

namespace {

const QString kUsr = QStringLiteral(DOMELIO_INSTALL_ROOT "/usr");

class Installed : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QFileInfo(kUsr + QStringLiteral("/bin/domelio")).isExecutable())
            << "run the InstallTree test first";
        m_env = QProcessEnvironment::systemEnvironment();
        m_env.remove(QStringLiteral("DOMELIO_DATA_DIR"));
        m_env.insert(QStringLiteral("XDG_DATA_HOME"), dataHome());
        m_env.insert(QStringLiteral("DOMELIO_REGISTRY_DIR"), m_temp.registryDir());
        m_env.insert(QStringLiteral("DOMELIO_DEVICE_DIR"), m_temp.deviceDir());
        m_env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    }

    QString dataHome() const { return m_temp.root() + QStringLiteral("/share"); }
    QString userFile() const { return dataHome() + QStringLiteral("/domelio/HOMEDATA.DAT"); }

    struct Result
    {
        int exitCode = -1;
        QByteArray out;
        QByteArray err;
    };
    Result run(const QString &program, const QStringList &arguments)
    {
        QProcess process;
        process.setProcessEnvironment(m_env);
        process.start(kUsr + program, arguments);
        EXPECT_TRUE(process.waitForFinished(60000)) << program.toStdString();
        return { process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                 process.readAllStandardOutput(), process.readAllStandardError() };
    }

    // Starts the installed program and ends it once done() holds (or after a minute); the window
    // it shows waits for a person, so it never ends by itself. Returns whether done() held.
    bool startUntil(const std::function<bool(QProcess &)> &done, const QStringList &arguments = {})
    {
        QProcess process;
        process.setProcessEnvironment(m_env);
        process.start(kUsr + QStringLiteral("/bin/domelio"), arguments);
        EXPECT_TRUE(process.waitForStarted());
        QElapsedTimer clock;
        clock.start();
        bool held = false;
        while (!held && clock.elapsed() < 60000 && process.state() == QProcess::Running) {
            process.waitForReadyRead(100);
            held = done(process);
        }
        m_stderr = process.readAllStandardError();
        process.kill();
        process.waitForFinished();
        return held;
    }

    // What the running program wrote to the settings at start-up.
    QString setting(const char *name) const
    {
        RegHive hive(m_temp.registryDir() + QStringLiteral("/HKCU.reg"),
                     QStringLiteral("HKEY_CURRENT_USER"));
        const auto value =
            hive.value(QStringLiteral("Software\\Varn Holt\\Domelio"), QLatin1String(name));
        return value ? value->toString().value_or(QString()) : QString();
    }

    TempEnv m_temp { false };
    QProcessEnvironment m_env;
    QByteArray m_stderr;
};

TEST_F(Installed, CommandLineWorksWithoutADisplay)
{
    m_env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    m_env.remove(QStringLiteral("DISPLAY"));
    m_env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    const Result version = run(QStringLiteral("/bin/domelio"), { QStringLiteral("--version") });
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, QByteArray("Domelio 1.3\n"));
    const Result help = run(QStringLiteral("/bin/domelio"), { QStringLiteral("--help") });
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.startsWith("Usage: domelio ")) << help.out.toStdString();
    EXPECT_TRUE(help.out.contains("--data-dir FOLDER"));

    const Result unknown = run(QStringLiteral("/bin/domelio"), { QStringLiteral("--frobnicate") });
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_TRUE(unknown.out.isEmpty());
    EXPECT_EQ(unknown.err,
              QByteArray("domelio: unknown option '--frobnicate' (see domelio --help)\n"));
    // Nothing was started, so nothing was made for the user.
    EXPECT_FALSE(QFileInfo::exists(dataHome()));
}

TEST_F(Installed, FirstStartGivesTheUserAnEmptyFileAndLaterStartsKeepIt)
{
    // AppPath is written once the data file is open, before the first window waits for a person.
    const auto opened = [this](QProcess &) { return !setting("AppPath").isEmpty(); };
    ASSERT_TRUE(startUntil(opened)) << m_stderr.toStdString();
    EXPECT_EQ(setting("AppPath"), kUsr + QStringLiteral("/bin/"));
    EXPECT_EQ(contentsOf(userFile()),
              contentsOf(kUsr + QStringLiteral("/share/domelio/empty/HOMEDATA.DAT")));
    EXPECT_EQ(modeOf(userFile()), mode_t(0600));
    EXPECT_EQ(modeOf(dataHome() + QStringLiteral("/domelio")), mode_t(0700));

    // The household's records, and a start after them that leaves them be.
    sqlite3 *db = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(userFile()).constData(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, "INSERT INTO Homes (HomeId, Description) VALUES (1, 'Lake House')",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(db);
    const QByteArray filled = contentsOf(userFile());
    QFile::remove(m_temp.registryDir() + QStringLiteral("/HKCU.reg"));
    ASSERT_TRUE(startUntil(opened)) << m_stderr.toStdString();
    EXPECT_EQ(contentsOf(userFile()), filled);
}

TEST_F(Installed, DataDirOptionNamesTheFolderAndAnUnusableFolderIsRefused)
{
    // --data-dir takes the user's own file; nothing is seeded there or in the default folder.
    const QString mine = m_temp.dataDir();
    QFile::copy(kUsr + QStringLiteral("/share/domelio/empty/HOMEDATA.DAT"),
                mine + QStringLiteral("/HOMEDATA.DAT"));
    const auto opened = [this](QProcess &) { return !setting("AppPath").isEmpty(); };
    ASSERT_TRUE(startUntil(opened, { QStringLiteral("--data-dir"), mine }))
        << m_stderr.toStdString();
    EXPECT_FALSE(QFileInfo::exists(userFile()));

    // A named folder without a data file: standard error names the folder and the missing file
    // and says how to make one.
    const QString empty = m_temp.root() + QStringLiteral("/empty");
    QDir().mkpath(empty);
    QByteArray told;
    const auto toldHow = [&](QProcess &process) {
        told += process.readAllStandardError();
        return told.contains("make-datafile");
    };
    ASSERT_TRUE(startUntil(toldHow, { QStringLiteral("--data-dir"), empty })) << told.toStdString();
    EXPECT_TRUE(told.contains(QFile::encodeName(QStringLiteral("no data file in %1 (named by "
                                                               "--data-dir): HOMEDATA.DAT is "
                                                               "missing")
                                                    .arg(empty))))
        << told.toStdString();
    EXPECT_FALSE(QFileInfo::exists(empty + QStringLiteral("/HOMEDATA.DAT")));

    // Where the user's data folder should be there is a file: the copy fails, the user is told
    // (the program's data file message), and nothing is written to the settings.
    QFile::remove(m_temp.registryDir() + QStringLiteral("/HKCU.reg"));
    QFile blocker(dataHome() + QStringLiteral("/domelio"));
    QDir().mkpath(dataHome());
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QByteArray said;
    const auto reported = [&](QProcess &process) {
        said += process.readAllStandardError();
        return said.contains("cannot create");
    };
    ASSERT_TRUE(startUntil(reported)) << said.toStdString();
    EXPECT_TRUE(said.contains(QFile::encodeName(dataHome() + QStringLiteral("/domelio"))));
    EXPECT_TRUE(setting("AppPath").isEmpty());
    EXPECT_TRUE(QFileInfo(blocker.fileName()).isFile());
}

TEST_F(Installed, DeviceSetupRegistersTheInstalledServiceWhichTheProgramLoads)
{
    const Result setup = run(QStringLiteral("/libexec/domelio/device-setup"), {});
    ASSERT_EQ(setup.exitCode, 0) << setup.err.toStdString();
    const QString folder = kUsr + QStringLiteral("/libexec/domelio/");
    EXPECT_TRUE(setup.out.contains(QFile::encodeName(folder.chopped(1))))
        << setup.out.toStdString();
    // The same registry folder, read in this process: the filter loads from the installed tree.
    CSyncService service;
    ASSERT_EQ(service.Load(), CSyncService::Status::Ready);
    EXPECT_EQ(service.folder(), folder);
}

TEST_F(Installed, LoanAnalyzerLoadsTheLibraryOfItsOwnPrefix)
{
    // The window waits for a person; the loader's trace shows which file was loaded first.
    m_env.insert(QStringLiteral("LD_DEBUG"), QStringLiteral("files"));
    QProcess process;
    process.setProcessEnvironment(m_env);
    process.start(kUsr + QStringLiteral("/bin/loan-analyzer"),
                  { QStringLiteral("100000"), QStringLiteral("6"), QStringLiteral("360") });
    QByteArray trace;
    QElapsedTimer clock;
    clock.start();
    while (!trace.contains("libAmortix.so.1") && clock.elapsed() < 60000
           && process.state() != QProcess::NotRunning) {
        process.waitForReadyRead(100);
        trace += process.readAllStandardError();
    }
    process.kill();
    process.waitForFinished();
    const QByteArray expected = "file=" + QFile::encodeName(kUsr) + "/";
    const qsizetype at = trace.indexOf("libAmortix.so.1");
    ASSERT_GE(at, 0) << trace.right(2000).toStdString();
    const qsizetype lineStart = trace.lastIndexOf('\n', at) + 1;
    EXPECT_TRUE(trace.mid(lineStart, at - lineStart).contains(expected))
        << trace.mid(lineStart, 300).toStdString();
}

} // namespace
