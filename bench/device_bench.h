#pragma once
// A private registry and device under one folder, with the Sync. with Device service registered
// in the build's service folder, so a benchmark drives the real filter (loaded with dlopen, as
// the program loads it) without touching the user's settings or a real device.

#include "exchange/sync_session.h"
#include "platform/device_folder.h"
#include "platform/device_rapi.h"
#include "platform/settings_key.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <cstdio>

namespace DeviceBench {

// Where the copy lands, as the device names it and as a file under root.
inline QString devicePath()
{
    return QStringLiteral("\\My Documents\\Domelio.cdb");
}
inline QString deviceFile(const QString &root)
{
    return root + QStringLiteral("/device/My Documents/Domelio.cdb");
}

// Points this process's registry and device at root (made if missing), registers the service,
// connects and loads the filter into service. False (and says so on stderr) when the filter is
// not there.
inline bool prepare(const QString &root, CSyncService &service)
{
    QDir(root).mkpath(QStringLiteral("registry"));
    QDir(root).mkpath(QStringLiteral("device/My Documents"));
    qputenv("DOMELIO_REGISTRY_DIR", QFile::encodeName(root + QStringLiteral("/registry")));
    qputenv("DOMELIO_DEVICE_DIR", QFile::encodeName(root + QStringLiteral("/device")));
    {
        CSettingsKey hklm(HKEY_LOCAL_MACHINE);
        hklm.Create(HKEY_LOCAL_MACHINE, QLatin1String(Sync::kServiceKey));
        hklm.WriteString(QString(),
                         QCoreApplication::applicationDirPath()
                             + QStringLiteral("/service/CEAppMgr"));
    }
    RAPIINIT init;
    CeRapiInitEx(&init);
    if (service.Load() == CSyncService::Status::Ready)
        return true;
    std::fprintf(stderr, "the filter was not found in %s/service\n",
                 qPrintable(QCoreApplication::applicationDirPath()));
    return false;
}

} // namespace DeviceBench
