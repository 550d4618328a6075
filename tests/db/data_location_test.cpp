#include "db/data_location.h"
#include "support/file_facts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

// Sets (or with a null value unsets) one environment variable while it lives.
class ScopedEnv
{
public:
    ScopedEnv(const char *name, const QByteArray &value)
        : m_name(name)
        , m_old(qgetenv(name))
    {
        value.isNull() ? qunsetenv(name) : qputenv(name, value);
    }
    ~ScopedEnv() { m_old.isNull() ? qunsetenv(m_name) : qputenv(m_name, m_old); }

private:
    const char *m_name;
    QByteArray m_old;
};

void write(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// A prefix laid out as cmake --install lays it out, and the user's data home, both temporary.
class DataLocationTest : public ::testing::Test
{
protected:
    QString prefix() const { return m_root.path() + QStringLiteral("/usr"); }
    QString bin() const { return prefix() + QStringLiteral("/bin"); }
    QString shipped() const
    {
        return prefix() + QStringLiteral("/share/domelio/empty/HOMEDATA.DAT");
    }
    QString dataHome() const { return m_root.path() + QStringLiteral("/home/.local/share"); }
    QString userFile() const { return dataHome() + QStringLiteral("/domelio/HOMEDATA.DAT"); }

    void install() { write(shipped(), QByteArray("shipped empty file")); }

    QTemporaryDir m_root;
    ScopedEnv m_noOverride { "DOMELIO_DATA_DIR", QByteArray() };
    ScopedEnv m_dataHome { "XDG_DATA_HOME", dataHome().toUtf8() };
};

TEST_F(DataLocationTest, BuildFolderKeepsTheFileBesideTheProgram)
{
    QDir().mkpath(bin());
    const DataLocation location(bin());
    EXPECT_FALSE(location.isInstalled());
    EXPECT_EQ(location.dataFolder(), bin() + QLatin1Char('/'));
    EXPECT_EQ(location.dataFilePath(), bin() + QStringLiteral("/HOMEDATA.DAT"));
    EXPECT_EQ(location.shippedFolder(), bin() + QLatin1Char('/'));
    // Nothing is made for a build folder: the build writes its own file there.
    EXPECT_TRUE(location.provideDataFile());
    EXPECT_FALSE(QFileInfo::exists(location.dataFilePath()));
    EXPECT_FALSE(QFileInfo::exists(dataHome()));

    const ScopedEnv data("DOMELIO_DATA_DIR", (m_root.path() + QStringLiteral("/mine/")).toUtf8());
    EXPECT_EQ(DataLocation(bin()).dataFolder(), m_root.path() + QStringLiteral("/mine/"));
    // A folder named on the command line wins over the environment.
    EXPECT_EQ(DataLocation(bin(), m_root.path() + QStringLiteral("/chosen")).dataFilePath(),
              m_root.path() + QStringLiteral("/chosen/HOMEDATA.DAT"));
}

TEST_F(DataLocationTest, InstalledCopySeedsTheUsersFolderOnceAndNeverOverwrites)
{
    install();
    const DataLocation location(bin());
    ASSERT_TRUE(location.isInstalled());
    EXPECT_EQ(location.shippedFolder(), prefix() + QStringLiteral("/share/domelio/"));
    EXPECT_EQ(location.dataFilePath(), userFile());

    QString error;
    ASSERT_TRUE(location.provideDataFile(&error)) << error.toStdString();
    EXPECT_EQ(contentsOf(userFile()), QByteArray("shipped empty file"));
    EXPECT_EQ(modeOf(userFile()), mode_t(0600));
    EXPECT_EQ(modeOf(dataHome() + QStringLiteral("/domelio")), mode_t(0700));
    // No temporary file is left behind.
    EXPECT_EQ(QDir(dataHome() + QStringLiteral("/domelio")).entryList(QDir::Files | QDir::Hidden),
              QStringList { QStringLiteral("HOMEDATA.DAT") });

    // The user's data, however it came to differ, stays as it is on every later start.
    write(userFile(), QByteArray("the household's records"));
    ASSERT_TRUE(location.provideDataFile(&error));
    EXPECT_EQ(contentsOf(userFile()), QByteArray("the household's records"));
    // A link the user put there is not replaced either, even when it leads nowhere.
    QFile::remove(userFile());
    ASSERT_TRUE(QFile::link(m_root.path() + QStringLiteral("/gone.dat"), userFile()));
    ASSERT_TRUE(location.provideDataFile(&error));
    EXPECT_TRUE(QFileInfo(userFile()).isSymLink());
    EXPECT_FALSE(QFileInfo::exists(m_root.path() + QStringLiteral("/gone.dat")));
}

TEST_F(DataLocationTest, APrefixInTheUsersOwnFoldersKeepsTheShippedFileApart)
{
    // cmake --install --prefix ~/.local: the shipped folder is the user's data folder.
    const QString local = QFileInfo(dataHome()).path();
    const QString shippedHere = local + QStringLiteral("/share/domelio/empty/HOMEDATA.DAT");
    write(shippedHere, QByteArray("shipped empty file"));
    const DataLocation location(local + QStringLiteral("/bin"));
    ASSERT_TRUE(location.isInstalled());
    EXPECT_EQ(location.shippedFolder(), location.dataFolder());
    ASSERT_TRUE(location.provideDataFile());
    write(userFile(), QByteArray("the household's records"));
    // Installing again replaces the shipped file, and only that.
    write(shippedHere, QByteArray("a newer empty file"));
    EXPECT_EQ(contentsOf(userFile()), QByteArray("the household's records"));
}

TEST_F(DataLocationTest, InstalledCopyFollowsTheUsersFolderChoices)
{
    install();
    {
        // Without XDG_DATA_HOME (or with a relative one) the data goes below the home folder.
        const ScopedEnv home("HOME", (m_root.path() + QStringLiteral("/home")).toUtf8());
        const ScopedEnv relative("XDG_DATA_HOME", QByteArray("relative/share"));
        EXPECT_EQ(DataLocation(bin()).dataFilePath(), userFile());
    }
    // A folder the user names holds the user's own file: nothing is put there, and when there
    // is none the reason names the folder, the file and the command that makes one.
    const QString mine = m_root.path() + QStringLiteral("/mine");
    const ScopedEnv data("DOMELIO_DATA_DIR", mine.toUtf8());
    const DataLocation location(bin());
    EXPECT_EQ(location.dataFolder(), mine + QLatin1Char('/'));
    QString error;
    EXPECT_FALSE(location.provideDataFile(&error));
    EXPECT_EQ(error,
              QStringLiteral("no data file in %1 (named by $DOMELIO_DATA_DIR): HOMEDATA.DAT is "
                             "missing; make a new one with 'make-datafile %1/HOMEDATA.DAT', or "
                             "name the folder that holds yours")
                  .arg(mine));
    EXPECT_FALSE(QFileInfo::exists(mine));
    EXPECT_FALSE(QFileInfo::exists(userFile()));
    write(mine + QStringLiteral("/HOMEDATA.DAT"), QByteArray("the user's own"));
    EXPECT_TRUE(DataLocation(bin(), mine).provideDataFile());
    EXPECT_EQ(DataLocation(bin(), mine).namedBy(), QStringLiteral("--data-dir"));
}

TEST_F(DataLocationTest, AFolderThatCannotBeMadeIsReportedAndNothingIsTouched)
{
    install();
    // Where the data folder should be there is a file.
    write(dataHome() + QStringLiteral("/domelio"), QByteArray("not a folder"));
    QString error;
    EXPECT_FALSE(DataLocation(bin()).provideDataFile(&error));
    EXPECT_TRUE(error.contains(dataHome() + QStringLiteral("/domelio"))) << error.toStdString();
    EXPECT_EQ(contentsOf(dataHome() + QStringLiteral("/domelio")), QByteArray("not a folder"));
}

} // namespace
