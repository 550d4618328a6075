// Prepares this computer for Sync. with Device: registers the synchronisation service's folder
// in the HKEY_LOCAL_MACHINE hive (App Paths\CEAppMgr.exe), and lays out a device folder with the
// handheld's registry (CurrentVersion, DBPath) and its database, optionally filled from a data
// file. Run through scripts/device-setup.

#include "db/datafile.h"
#include "platform/device_folder.h"
#include "platform/settings_key.h"
#include "table_copy.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <cstdio>

namespace {

constexpr const char *kServiceKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\CEAppMgr.exe";
constexpr const char *kDeviceKey = "Software\\VarnHolt\\Domelio";
constexpr const char *kTables = "Areas..Assets..Categories..Homes..Loans..TableIds..Tasks..";

QString reasonOf(DeviceFilter::Result result)
{
    switch (result) {
    case DeviceFilter::SourceMissing:
        return QStringLiteral("the data file was not found");
    case DeviceFilter::SourceDamaged:
        return QStringLiteral("the data file is damaged or not a data file");
    case DeviceFilter::SourceForeign:
        return QStringLiteral("the data file lacks some of the tables or columns");
    case DeviceFilter::TargetUnusable:
        return QStringLiteral("the handheld database cannot be written");
    default:
        return QStringLiteral("the copy failed (code %1)").arg(int(result));
    }
}

int failWith(const QString &message)
{
    std::fprintf(stderr, "device-setup: %s\n", qPrintable(message));
    return 1;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Registers the device synchronisation service and prepares a device folder."));
    parser.addHelpOption();
    const QCommandLineOption serviceOption(
        QStringLiteral("service"),
        QStringLiteral("Folder of adofiltr.so and wcesmgr (default: this program's folder)."),
        QStringLiteral("folder"));
    const QCommandLineOption deviceOption(
        QStringLiteral("device"),
        QStringLiteral(
            "Device folder (default: $DOMELIO_DEVICE_DIR, else $XDG_DATA_HOME/domelio/device)."),
        QStringLiteral("folder"));
    const QCommandLineOption versionOption(QStringLiteral("version"),
                                           QStringLiteral("The handheld's version (default 1.2)."),
                                           QStringLiteral("text"), QStringLiteral("1.2"));
    const QCommandLineOption dbPathOption(
        QStringLiteral("db-path"),
        QStringLiteral(
            "The handheld database's device path (default \\My Documents\\Domelio.cdb)."),
        QStringLiteral("path"), QStringLiteral("\\My Documents\\Domelio.cdb"));
    const QCommandLineOption fillOption(
        QStringLiteral("fill"),
        QStringLiteral("Copy the tables of this data file onto the device."),
        QStringLiteral("data file"));
    const QCommandLineOption resetOption(
        QStringLiteral("reset"),
        QStringLiteral("Replace an existing handheld database with an empty one."));
    parser.addOptions(
        { serviceOption, deviceOption, versionOption, dbPathOption, fillOption, resetOption });
    parser.process(app);

    // The service: the manager program's path, whose folder holds the filter.
    const QString service =
        QDir(parser.isSet(serviceOption) ? parser.value(serviceOption)
                                         : QCoreApplication::applicationDirPath())
            .absolutePath();
    if (!QFileInfo(service + QLatin1String("/adofiltr.so")).isFile())
        return failWith(QStringLiteral("%1 holds no adofiltr.so").arg(service));
    CSettingsKey hklm(HKEY_LOCAL_MACHINE);
    if (!hklm.Create(HKEY_LOCAL_MACHINE, QLatin1String(kServiceKey))
        || !hklm.WriteString(QString(), service + QLatin1String("/CEAppMgr")))
        return failWith(QStringLiteral("cannot write %1").arg(regRootFile(HKEY_LOCAL_MACHINE)));
    std::printf("Service registered: %s\n", qPrintable(service));

    // The device folder, its registry and its database.
    if (parser.isSet(deviceOption))
        qputenv("DOMELIO_DEVICE_DIR",
                QDir(parser.value(deviceOption)).absolutePath().toLocal8Bit());
    const QString device = DeviceFolder::root();
    const QString dbPath = parser.value(dbPathOption);
    if (!QDir().mkpath(device + QLatin1String("/registry")))
        return failWith(QStringLiteral("cannot create %1").arg(device));
    // The database's folder on the device, as the handheld's installer would have made it.
    const QString folderPath = dbPath.left(dbPath.lastIndexOf(QLatin1Char('\\')));
    QString hostFolder = device;
    for (const QString &part : folderPath.split(QLatin1Char('\\'), Qt::SkipEmptyParts)) {
        if (part == QLatin1String("..") || part == QLatin1String(".")
            || part.contains(QLatin1Char('/')))
            return failWith(QStringLiteral("the device path %1 is not valid").arg(dbPath));
        hostFolder += QLatin1Char('/') + part;
    }
    QDir().mkpath(hostFolder);
    const std::optional<QString> hostDb = DeviceFolder::hostPath(dbPath);
    if (!hostDb)
        return failWith(QStringLiteral("the device path %1 is not valid").arg(dbPath));

    CSettingsKey handheld(HKEY_CURRENT_USER, DeviceFolder::hiveFile());
    if (!handheld.Create(HKEY_CURRENT_USER, QLatin1String(kDeviceKey))
        || !handheld.WriteString(QStringLiteral("CurrentVersion"), parser.value(versionOption))
        || !handheld.WriteString(QStringLiteral("DBPath"), dbPath))
        return failWith(QStringLiteral("cannot write %1").arg(DeviceFolder::hiveFile()));

    if (parser.isSet(resetOption))
        QFile::remove(*hostDb);
    if (!QFileInfo::exists(*hostDb)) {
        QString error;
        if (!DataFile::create(*hostDb, &error))
            return failWith(error);
    }
    if (parser.isSet(fillOption)) {
        const auto tables = TableCopy::parseTableList(kTables);
        const DeviceFilter::Result result =
            TableCopy::copy(parser.value(fillOption), *hostDb, *tables, false);
        if (result != DeviceFilter::Ok)
            return failWith(QStringLiteral("cannot copy %1 onto the device: %2")
                                .arg(parser.value(fillOption), reasonOf(result)));
    }
    std::printf("Device folder: %s\nHandheld database: %s (%s)\n", qPrintable(device),
                qPrintable(dbPath), qPrintable(*hostDb));
    return 0;
}
