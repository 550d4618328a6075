#include "platform/settings_key.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {

const QString kAppKey = QStringLiteral("Software\\Varn Holt\\Domelio");

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

// Every test gets its own registry folder through the environment, as the program finds it.
class SettingsKeyTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        folder = dir.path() + QStringLiteral("/cfg/domelio");
        qputenv("DOMELIO_REGISTRY_DIR", QFile::encodeName(folder));
    }
    void TearDown() override { qunsetenv("DOMELIO_REGISTRY_DIR"); }

    QString hkcu() const { return folder + QStringLiteral("/HKCU.reg"); }

    QTemporaryDir dir;
    QString folder;
};

TEST_F(SettingsKeyTest, ValuesSurviveAFreshKeyOnTheSameFile)
{
    const QByteArray blob = [] {
        QByteArray b;
        for (int i = 0; i < 300; ++i)
            b.append(char(i * 7));
        return b;
    }();
    const QStringList texts = { QString(),
                                QStringLiteral("1.3"),
                                QStringLiteral("C:\\Program Files\\Domelio\\"),
                                QStringLiteral("say \"hi\" \\\" ="),
                                QStringLiteral("two\nlines\r\n"),
                                QStringLiteral("Küche – 厨房 😀"),
                                QStringLiteral("[Not] a \"section\"") };
    const QList<qint32> numbers = { 0, 1, -1, 2147483647, -2147483647 - 1 };
    {
        CSettingsKey key;
        ASSERT_TRUE(key.Create(HKEY_CURRENT_USER, kAppKey));
        for (int i = 0; i < texts.size(); ++i)
            ASSERT_TRUE(key.WriteString(QStringLiteral("Text%1").arg(i), texts[i]));
        for (int i = 0; i < numbers.size(); ++i)
            ASSERT_TRUE(key.WriteNumber(QStringLiteral("Number%1").arg(i), numbers[i]));
        ASSERT_TRUE(key.WriteBinary(QStringLiteral("Blob"), blob));
        ASSERT_TRUE(key.WriteBinary(QStringLiteral("Empty"), QByteArray()));
    }
    CSettingsKey key;
    ASSERT_TRUE(key.Open(HKEY_CURRENT_USER, kAppKey));
    for (int i = 0; i < texts.size(); ++i) {
        QString text = QStringLiteral("unchanged");
        EXPECT_TRUE(key.ReadString(QStringLiteral("text%1").arg(i), text)); // names ignore case
        EXPECT_EQ(text, texts[i]);
    }
    for (int i = 0; i < numbers.size(); ++i) {
        qint32 number = 42;
        EXPECT_TRUE(key.ReadNumber(QStringLiteral("Number%1").arg(i), number));
        EXPECT_EQ(number, numbers[i]);
    }
    QByteArray bytes = "x";
    EXPECT_TRUE(key.ReadBinary(QStringLiteral("Blob"), bytes));
    EXPECT_EQ(bytes, blob);
    EXPECT_TRUE(key.ReadBinary(QStringLiteral("Empty"), bytes));
    EXPECT_TRUE(bytes.isEmpty());

    const QByteArray file = readFile(hkcu());
    EXPECT_TRUE(file.startsWith("Windows Registry Editor Version 5.00\n"));
    EXPECT_TRUE(file.contains("[HKEY_CURRENT_USER\\Software\\Varn Holt\\Domelio]\n"));
    EXPECT_TRUE(file.contains("\"Text2\"=\"C:\\\\Program Files\\\\Domelio\\\\\"\n"));
    EXPECT_TRUE(file.contains("\"Number2\"=dword:ffffffff\n"));
    EXPECT_TRUE(file.contains("\"Text4\"=hex(1):")); // line breaks cannot stand in quotes
    for (const QByteArray &line : file.split('\n'))
        EXPECT_LE(line.size(), 80);
}

TEST_F(SettingsKeyTest, AValueOfAnotherTypeReadsAsAbsent)
{
    CSettingsKey key;
    ASSERT_TRUE(key.Create(HKEY_CURRENT_USER, kAppKey));
    ASSERT_TRUE(key.WriteString(QStringLiteral("Text"), QStringLiteral("7")));
    ASSERT_TRUE(key.WriteNumber(QStringLiteral("Number"), 7));
    ASSERT_TRUE(key.WriteBinary(QStringLiteral("Blob"), WindowPlacement().encode()));

    for (const char *name : { "Number", "Blob", "Missing" }) {
        SCOPED_TRACE(name);
        QString text = QStringLiteral("kept");
        EXPECT_FALSE(key.ReadString(QString::fromLatin1(name), text));
        EXPECT_EQ(text, QStringLiteral("kept"));
    }
    for (const char *name : { "Text", "Blob", "Missing" }) {
        SCOPED_TRACE(name);
        qint32 number = 99;
        EXPECT_FALSE(key.ReadNumber(QString::fromLatin1(name), number));
        EXPECT_EQ(number, 99);
    }
    for (const char *name : { "Text", "Number", "Missing" }) {
        SCOPED_TRACE(name);
        QByteArray bytes = "kept";
        EXPECT_FALSE(key.ReadBinary(QString::fromLatin1(name), bytes));
        EXPECT_EQ(bytes, QByteArray("kept"));
        WindowPlacement placement;
        placement.flags = 5;
        const WindowPlacement before = placement;
        EXPECT_FALSE(key.ReadWindowPlacement(QString::fromLatin1(name), placement));
        EXPECT_EQ(placement, before);
    }
    // Binary of the wrong length is not a placement either.
    ASSERT_TRUE(key.WriteBinary(QStringLiteral("Short"), QByteArray(39, '\1')));
    WindowPlacement placement;
    EXPECT_FALSE(key.ReadWindowPlacement(QStringLiteral("Short"), placement));
    EXPECT_EQ(placement, WindowPlacement());
}

TEST_F(SettingsKeyTest, KeysMustExistToOpenAndAreFoundWithoutRegardToCase)
{
    CSettingsKey key;
    EXPECT_FALSE(key.Open(HKEY_CURRENT_USER, kAppKey));
    EXPECT_FALSE(key.isOpen());
    EXPECT_FALSE(key.WriteNumber(QStringLiteral("LastHomeId"), 3));
    EXPECT_FALSE(QFile::exists(hkcu())); // a failed open writes nothing

    ASSERT_TRUE(key.Create(HKEY_CURRENT_USER, kAppKey));
    key.Close();
    EXPECT_FALSE(key.WriteNumber(QStringLiteral("LastHomeId"), 3));
    EXPECT_TRUE(key.Open(HKEY_CURRENT_USER, QStringLiteral("SOFTWARE\\varn holt\\DOMELIO")));
    EXPECT_TRUE(key.Open(HKEY_CURRENT_USER, QStringLiteral("Software\\Varn Holt")));
    EXPECT_FALSE(key.Open(HKEY_CURRENT_USER, QStringLiteral("Software\\Varn")));
    EXPECT_TRUE(key.Open(HKEY_CURRENT_USER, QString())); // the root itself
    EXPECT_FALSE(key.Open(HKEY_LOCAL_MACHINE, kAppKey));
    EXPECT_FALSE(key.Create(HKEY_CURRENT_USER, QStringLiteral("Software\\\\Empty part")));
    EXPECT_FALSE(key.Create(HKEY_CURRENT_USER, QStringLiteral("Line\nbreak")));

    // The created key is kept even while it holds no value.
    EXPECT_TRUE(readFile(hkcu()).contains("[HKEY_CURRENT_USER\\Software\\Varn Holt\\Domelio]\n"));
    struct stat info;
    ASSERT_EQ(::stat(QFile::encodeName(hkcu()).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    ASSERT_EQ(::stat(QFile::encodeName(folder).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
}

TEST_F(SettingsKeyTest, ReadsSeeWhatAnotherKeyWroteMeanwhile)
{
    CSettingsKey first;
    CSettingsKey second;
    ASSERT_TRUE(first.Create(HKEY_CURRENT_USER, kAppKey));
    ASSERT_TRUE(second.Open(HKEY_CURRENT_USER, kAppKey));
    ASSERT_TRUE(second.WriteNumber(QStringLiteral("LastHomeId"), 12));
    qint32 id = 0;
    EXPECT_TRUE(first.ReadNumber(QStringLiteral("LastHomeId"), id));
    EXPECT_EQ(id, 12);
    // and neither write loses the other's value
    ASSERT_TRUE(first.WriteString(QStringLiteral("CurrentVersion"), QStringLiteral("1.3")));
    EXPECT_TRUE(second.ReadNumber(QStringLiteral("LastHomeId"), id));
}

TEST_F(SettingsKeyTest, AnExplicitHiveFileServesItsRootOnly)
{
    const QString file = dir.path() + QStringLiteral("/device/registry/HKCU.reg");
    CSettingsKey device(HKEY_CURRENT_USER, file);
    ASSERT_TRUE(device.Create(HKEY_CURRENT_USER, QStringLiteral("Software\\VarnHolt\\Domelio")));
    ASSERT_TRUE(device.WriteString(QStringLiteral("DBPath"), QStringLiteral("\\My Documents")));
    EXPECT_TRUE(QFile::exists(file));
    EXPECT_FALSE(QFile::exists(hkcu()));
    EXPECT_FALSE(device.Create(HKEY_LOCAL_MACHINE, QStringLiteral("Software")));
}

TEST_F(SettingsKeyTest, FilesWrittenByRegeditAreReadAndTheirOtherValuesKept)
{
    const QString text = QStringLiteral("Windows Registry Editor Version 5.00\r\n\r\n"
                                        "; exported\r\n"
                                        "[HKEY_CURRENT_USER\\Software\\Varn Holt\\Domelio]\r\n"
                                        "@=\"default\"\r\n"
                                        "\"AppPath\"=\"C:\\\\Domelio\\\\\"\r\n"
                                        "\"LastHomeId\"=dword:0000000A\r\n"
                                        "\"Paths\"=hex(7):41,00,00,00,42,00,\\\r\n"
                                        "  00,00,00,00\r\n"
                                        "\"Gone\"=dword:1\r\n"
                                        "\"Gone\"=-\r\n"
                                        "\r\n"
                                        "[HKEY_LOCAL_MACHINE\\Elsewhere]\r\n"
                                        "\"X\"=hex:01\r\n");
    QByteArray utf16("\xff\xfe", 2);
    for (QChar c : text)
        utf16.append(char(c.unicode() & 0xff)).append(char(c.unicode() >> 8));
    QDir().mkpath(folder);
    writeFile(hkcu(), utf16);

    CSettingsKey key;
    ASSERT_TRUE(key.Open(HKEY_CURRENT_USER, kAppKey));
    QString value;
    EXPECT_TRUE(key.ReadString(QString(), value));
    EXPECT_EQ(value, QStringLiteral("default"));
    EXPECT_TRUE(key.ReadString(QStringLiteral("AppPath"), value));
    EXPECT_EQ(value, QStringLiteral("C:\\Domelio\\"));
    qint32 id = 0;
    EXPECT_TRUE(key.ReadNumber(QStringLiteral("LastHomeId"), id));
    EXPECT_EQ(id, 10);
    EXPECT_FALSE(key.ReadNumber(QStringLiteral("Gone"), id));
    EXPECT_FALSE(key.ReadString(QStringLiteral("Paths"), value));

    ASSERT_TRUE(key.WriteNumber(QStringLiteral("LastHomeId"), 11));
    const QByteArray saved = readFile(hkcu());
    EXPECT_TRUE(saved.contains("\"Paths\"=hex(7):41,00,00,00,42,00,00,00,00,00\n"));
    EXPECT_TRUE(saved.contains("[HKEY_LOCAL_MACHINE\\Elsewhere]\n\"X\"=hex:01\n"));
    EXPECT_TRUE(saved.contains("@=\"default\"\n"));
}

TEST_F(SettingsKeyTest, ADamagedFileReadsAsEmptyIsReportedOnceAndKeptBeforeItIsReplaced)
{
    const QByteArray header = "Windows Registry Editor Version 5.00\n\n";
    const QByteArray section = "[HKEY_CURRENT_USER\\Software\\Varn Holt\\Domelio]\n";
    const QList<QByteArray> damaged = {
        "not a registry file\n",
        header + "\"Orphan\"=dword:00000001\n",
        header + section + "\"LastHomeId\"=dword:123456789\n",
        header + section + "\"Open\"=\"no end\n",
        header + section + "\"Blob\"=hex:01,02,\\\n",
        header + section + "\"Blob\"=hex:01,zz\n",
        header + section + "\"Text\"=\"\xff\xfe bad\"\n",
        header + "[HKEY_CURRENT_USER\\Software\\Varn Holt\\Domelio\n",
        QByteArray("\x00\x01\x02\x03", 4),
    };
    for (const QByteArray &content : damaged) {
        SCOPED_TRACE(content.toStdString());
        QDir(folder).removeRecursively();
        QDir().mkpath(folder);
        writeFile(hkcu(), content + section + "\"Keep\"=\"me\"\n");
        const QByteArray original = readFile(hkcu());

        CSettingsKey key;
        ::testing::internal::CaptureStderr();
        EXPECT_FALSE(key.Open(HKEY_CURRENT_USER, kAppKey));
        EXPECT_FALSE(key.Open(HKEY_CURRENT_USER, kAppKey));
        const std::string report = ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(std::count(report.begin(), report.end(), '\n'), 1) << report;
        EXPECT_NE(report.find("HKCU.reg"), std::string::npos);

        ::testing::internal::CaptureStderr();
        ASSERT_TRUE(key.Create(HKEY_CURRENT_USER, kAppKey));
        ASSERT_TRUE(key.WriteNumber(QStringLiteral("LastHomeId"), 4));
        ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(readFile(hkcu() + QStringLiteral(".damaged")), original);
        QString kept;
        EXPECT_FALSE(key.ReadString(QStringLiteral("Keep"), kept));
        qint32 id = 0;
        EXPECT_TRUE(key.ReadNumber(QStringLiteral("LastHomeId"), id));
        EXPECT_EQ(id, 4);
    }
}

TEST_F(SettingsKeyTest, AFailedSaveLeavesTheOldFileWhole)
{
    CSettingsKey key;
    ASSERT_TRUE(key.Create(HKEY_CURRENT_USER, kAppKey));
    ASSERT_TRUE(key.WriteString(QStringLiteral("CurrentVersion"), QStringLiteral("1.3")));
    const QByteArray before = readFile(hkcu());

    // A file-size limit makes the write fail part way, as a full disk would (root included).
    struct rlimit old;
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit limited = old;
    limited.rlim_cur = 4096;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limited), 0);
    ::testing::internal::CaptureStderr();
    const bool saved = key.WriteBinary(QStringLiteral("Big"), QByteArray(64 * 1024, '\x5a'));
    const std::string report = ::testing::internal::GetCapturedStderr();
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(saved);
    EXPECT_FALSE(report.empty());
    EXPECT_EQ(readFile(hkcu()), before);
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden).size(), 1); // no temporary left
    QString version;
    EXPECT_TRUE(key.ReadString(QStringLiteral("CurrentVersion"), version));
}

TEST_F(SettingsKeyTest, TheFolderComesFromTheEnvironment)
{
    qunsetenv("DOMELIO_REGISTRY_DIR");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.path()));
    EXPECT_EQ(RegHive::defaultFolder(), dir.path() + QStringLiteral("/domelio"));
    EXPECT_EQ(regRootFile(HKEY_LOCAL_MACHINE), dir.path() + QStringLiteral("/domelio/HKLM.reg"));
    qputenv("XDG_CONFIG_HOME", "relative/path");
    EXPECT_EQ(RegHive::defaultFolder(), QDir::homePath() + QStringLiteral("/.config/domelio"));
    qunsetenv("XDG_CONFIG_HOME");
}

} // namespace

namespace {

TEST_F(SettingsKeyTest, AnUnchangedValueIsNotWrittenAgain)
{
    CSettingsKey key(HKEY_CURRENT_USER);
    ASSERT_TRUE(key.Create(HKEY_CURRENT_USER, kAppKey));
    ASSERT_TRUE(key.WriteString(QStringLiteral("CurrentVersion"), QStringLiteral("1.3")));
    struct stat before {};
    ASSERT_EQ(::stat(QFile::encodeName(hkcu()).constData(), &before), 0);
    // Each save replaces the file by a new one, so an unchanged inode means no save.
    ASSERT_TRUE(key.WriteString(QStringLiteral("CurrentVersion"), QStringLiteral("1.3")));
    struct stat same {};
    ASSERT_EQ(::stat(QFile::encodeName(hkcu()).constData(), &same), 0);
    EXPECT_EQ(before.st_ino, same.st_ino);
    // The same text under another type is a change.
    ASSERT_TRUE(key.WriteNumber(QStringLiteral("CurrentVersion"), 13));
    struct stat changed {};
    ASSERT_EQ(::stat(QFile::encodeName(hkcu()).constData(), &changed), 0);
    EXPECT_NE(before.st_ino, changed.st_ino);
    qint32 number = 0;
    EXPECT_TRUE(key.ReadNumber(QStringLiteral("CurrentVersion"), number));
    EXPECT_EQ(number, 13);
}

} // namespace
