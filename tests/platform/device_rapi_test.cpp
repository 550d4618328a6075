// The remote-API stand-in over a real device folder: path mapping, the device's registry hive
// and the exclusive open that stands for "held by the handheld program".
#include "platform/device_folder.h"
#include "platform/device_rapi.h"
#include "platform/settings_key.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

const QString kKey = QStringLiteral("Software\\VarnHolt\\Domelio");

class DeviceTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        device = dir.path() + QStringLiteral("/device");
        ASSERT_TRUE(QDir().mkpath(device + QStringLiteral("/My Documents")));
        qputenv("DOMELIO_DEVICE_DIR", QFile::encodeName(device));
        RAPIINIT init;
        ASSERT_EQ(CeRapiInitEx(&init), 0);
    }
    void TearDown() override
    {
        CeRapiUninit();
        qunsetenv("DOMELIO_DEVICE_DIR");
    }

    void writeValue(const QString &name, const QString &text)
    {
        CSettingsKey key(HKEY_CURRENT_USER, DeviceFolder::hiveFile());
        ASSERT_TRUE(key.Create(HKEY_CURRENT_USER, kKey));
        ASSERT_TRUE(key.WriteString(name, text));
    }
    void touch(const QString &relative)
    {
        QFile file(device + QLatin1Char('/') + relative);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("data");
    }

    QTemporaryDir dir;
    QString device;
};

TEST_F(DeviceTest, DevicePathsMapBelowTheFolderAndNeverLeaveIt)
{
    const QString base = QDir(device).canonicalPath();
    EXPECT_EQ(DeviceFolder::hostPath(QStringLiteral("\\My Documents\\Domelio.cdb")),
              base + QStringLiteral("/My Documents/Domelio.cdb"));
    EXPECT_EQ(DeviceFolder::hostPath(QStringLiteral("\\top.cdb")),
              base + QStringLiteral("/top.cdb"));

    // A missing folder on the device: no file can be there either.
    EXPECT_FALSE(DeviceFolder::hostPath(QStringLiteral("\\Nowhere\\x.cdb")));
    for (const char *refused :
         { "", "My Documents\\x.cdb", "\\..\\x.cdb", "\\My Documents\\..\\..\\x.cdb",
           "\\My Documents\\.\\x.cdb", "\\My Documents\\\\x.cdb", "/etc/passwd",
           "\\..\\..\\etc\\passwd", "\\C:\\x.cdb", "\\My Documents/../../x", "\\My Documents\\" })
        EXPECT_FALSE(DeviceFolder::hostPath(QString::fromLatin1(refused))) << refused;

    // Links are followed: one leading out is refused, one staying inside is fine.
    QTemporaryDir outside;
    ASSERT_TRUE(QFile::link(outside.path(), device + QStringLiteral("/Out")));
    EXPECT_FALSE(DeviceFolder::hostPath(QStringLiteral("\\Out\\x.cdb")));
    ASSERT_TRUE(QFile::link(outside.path() + QStringLiteral("/secret"),
                            device + QStringLiteral("/My Documents/dangling.cdb")));
    EXPECT_FALSE(DeviceFolder::hostPath(QStringLiteral("\\My Documents\\dangling.cdb")));
    touch(QStringLiteral("My Documents/real.cdb"));
    ASSERT_TRUE(QFile::link(device + QStringLiteral("/My Documents/real.cdb"),
                            device + QStringLiteral("/My Documents/alias.cdb")));
    EXPECT_TRUE(DeviceFolder::hostPath(QStringLiteral("\\My Documents\\alias.cdb")));

    // No device attached.
    qputenv("DOMELIO_DEVICE_DIR", QFile::encodeName(dir.path() + QStringLiteral("/absent")));
    EXPECT_FALSE(DeviceFolder::hostPath(QStringLiteral("\\top.cdb")));
}

TEST_F(DeviceTest, RegistryValuesReadIntoTheFixedBufferWithTheirTerminator)
{
    HCEKEY key = 0;
    // Nothing written yet: the handheld program has never run.
    EXPECT_EQ(CeRegOpenKeyEx(HKEY_CURRENT_USER, kKey, 0, KEY_READ, &key), CeError::FileNotFound);

    writeValue(QStringLiteral("CurrentVersion"), QStringLiteral("1.2 beta"));
    writeValue(QStringLiteral("Long"), QString(129, QLatin1Char('x')));
    writeValue(QStringLiteral("TooLong"), QString(130, QLatin1Char('x')));
    // 128 units and one character outside the basic plane: 130 units, one too many.
    writeValue(QStringLiteral("Wide"),
               QString(128, QLatin1Char('x')) + QString::fromUtf8("\U0001F3E0"));
    EXPECT_EQ(CeRegOpenKeyEx(HKEY_LOCAL_MACHINE, kKey, 0, KEY_READ, &key), CeError::FileNotFound);
    ASSERT_EQ(CeRegOpenKeyEx(HKEY_CURRENT_USER, kKey, 0, KEY_READ, &key), CeError::Success);

    char16_t buffer[130];
    quint32 type = 0;
    quint32 size = 260;
    ASSERT_EQ(CeRegQueryValueEx(key, QStringLiteral("CurrentVersion"), nullptr, &type,
                                reinterpret_cast<quint8 *>(buffer), &size),
              CeError::Success);
    EXPECT_EQ(type, quint32(REG_SZ));
    EXPECT_EQ(size, 18u); // eight characters and the zero, two bytes each
    EXPECT_EQ(QString::fromUtf16(buffer), QStringLiteral("1.2 beta"));

    size = 260;
    EXPECT_EQ(CeRegQueryValueEx(key, QStringLiteral("Long"), nullptr, &type,
                                reinterpret_cast<quint8 *>(buffer), &size),
              CeError::Success);
    EXPECT_EQ(size, 260u);
    for (const char *name : { "TooLong", "Wide" }) {
        size = 260;
        EXPECT_EQ(CeRegQueryValueEx(key, QString::fromLatin1(name), nullptr, &type,
                                    reinterpret_cast<quint8 *>(buffer), &size),
                  CeError::MoreData)
            << name;
        EXPECT_EQ(size, 262u) << name;
    }
    size = 0;
    EXPECT_EQ(CeRegQueryValueEx(key, QStringLiteral("Long"), nullptr, &type, nullptr, &size),
              CeError::Success);
    EXPECT_EQ(size, 260u);
    EXPECT_EQ(CeRegQueryValueEx(key, QStringLiteral("Missing"), nullptr, &type,
                                reinterpret_cast<quint8 *>(buffer), &size),
              CeError::FileNotFound);

    EXPECT_EQ(CeRegCloseKey(key), CeError::Success);
    EXPECT_EQ(CeRegCloseKey(key), CeError::InvalidHandle);
    size = 260;
    EXPECT_EQ(CeRegQueryValueEx(key, QStringLiteral("CurrentVersion"), nullptr, &type,
                                reinterpret_cast<quint8 *>(buffer), &size),
              CeError::InvalidHandle);
}

TEST_F(DeviceTest, NothingIsReachedBeforeInitialisationOrWithoutADevice)
{
    writeValue(QStringLiteral("DBPath"), QStringLiteral("\\x"));
    HCEKEY key = 0;
    CeRapiUninit();
    EXPECT_FALSE(CeRapiIsInitialized());
    EXPECT_EQ(CeRegOpenKeyEx(HKEY_CURRENT_USER, kKey, 0, KEY_READ, &key), CeError::NotReady);

    RAPIINIT wrongSize;
    wrongSize.cbSize = 16;
    EXPECT_NE(CeRapiInitEx(&wrongSize), 0);
    RAPIINIT init;
    ASSERT_EQ(CeRapiInitEx(&init), 0);
    EXPECT_EQ(init.hrRapiInit, 0);
    EXPECT_EQ(CeRegOpenKeyEx(HKEY_CURRENT_USER, kKey, 0, KEY_READ, &key), CeError::Success);
    CeRegCloseKey(key);

    ASSERT_TRUE(QDir(device).removeRecursively()); // unplugged
    EXPECT_EQ(CeRegOpenKeyEx(HKEY_CURRENT_USER, kKey, 0, KEY_READ, &key), CeError::NotReady);
}

TEST_F(DeviceTest, AnExclusiveOpenFailsWhileTheHandheldHoldsTheFile)
{
    const QString path = QStringLiteral("\\My Documents\\Domelio.cdb");
    EXPECT_EQ(CeCreateFile(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, 0),
              INVALID_HANDLE_VALUE);
    EXPECT_EQ(CeGetLastError(), CeError::FileNotFound);

    touch(QStringLiteral("My Documents/Domelio.cdb"));
    const QByteArray host = QFile::encodeName(device + QStringLiteral("/My Documents/Domelio.cdb"));
    const int handheld = ::open(host.constData(), O_RDONLY);
    ASSERT_GE(handheld, 0);
    ASSERT_EQ(::flock(handheld, LOCK_SH), 0);
    EXPECT_EQ(CeCreateFile(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, 0),
              INVALID_HANDLE_VALUE);
    EXPECT_EQ(CeGetLastError(), CeError::SharingViolation);
    ::close(handheld); // the handheld program exits

    const CEHANDLE first =
        CeCreateFile(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, 0);
    ASSERT_NE(first, INVALID_HANDLE_VALUE);
    // While we hold it alone, nobody else gets it, not even for shared reading.
    EXPECT_EQ(CeCreateFile(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, 0),
              INVALID_HANDLE_VALUE);
    EXPECT_TRUE(CeCloseHandle(first));
    EXPECT_FALSE(CeCloseHandle(first));
    const CEHANDLE again =
        CeCreateFile(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, 0);
    EXPECT_NE(again, INVALID_HANDLE_VALUE);
    CeCloseHandle(again);

    EXPECT_EQ(CeCreateFile(QStringLiteral("\\..\\escape"), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, 0),
              INVALID_HANDLE_VALUE);
}

TEST_F(DeviceTest, DeleteStaysInsideTheDevice)
{
    touch(QStringLiteral("My Documents/old.cdb"));
    QFile outside(dir.path() + QStringLiteral("/victim"));
    ASSERT_TRUE(outside.open(QIODevice::WriteOnly));
    outside.close();

    EXPECT_FALSE(CeDeleteFile(QStringLiteral("\\..\\victim")));
    EXPECT_TRUE(QFile::exists(outside.fileName()));

    EXPECT_TRUE(CeDeleteFile(QStringLiteral("\\My Documents\\old.cdb")));
    EXPECT_FALSE(CeDeleteFile(QStringLiteral("\\My Documents\\old.cdb")));
    EXPECT_EQ(CeGetLastError(), CeError::FileNotFound);
}

} // namespace
