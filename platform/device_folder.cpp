#include "platform/device_folder.h"

#include "platform/user_folders.h"

#include <QDir>
#include <QFileInfo>

namespace DeviceFolder {

QString root()
{
    const QString explicitFolder = qEnvironmentVariable("DOMELIO_DEVICE_DIR");
    if (!explicitFolder.isEmpty())
        return QDir::cleanPath(explicitFolder);
    return UserFolders::dataHome() + QLatin1String("/domelio/device");
}

QString hiveFile()
{
    return root() + QLatin1String("/registry/HKCU.reg");
}

bool isConnected()
{
    return QFileInfo(root()).isDir();
}

std::optional<QString> hostPath(const QString &devicePath)
{
    if (!devicePath.startsWith(QLatin1Char('\\')))
        return std::nullopt;
    const QStringList parts = devicePath.mid(1).split(QLatin1Char('\\'));
    for (const QString &part : parts) {
        if (part.isEmpty() || part == QLatin1String(".") || part == QLatin1String(".."))
            return std::nullopt;
        for (const QChar c : part) {
            if (c == QLatin1Char('/') || c == QLatin1Char(':') || c.unicode() < 0x20)
                return std::nullopt;
        }
    }
    const QString base = QFileInfo(root()).canonicalFilePath();
    if (base.isEmpty())
        return std::nullopt; // no device attached
    const QString candidate = base + QLatin1Char('/') + parts.join(QLatin1Char('/'));

    // Links are followed as the host would follow them: the file (when it exists, or is a
    // dangling link) and its folder must both resolve below the device folder.
    const QFileInfo file(candidate);
    const QString folder = QFileInfo(file.absolutePath()).canonicalFilePath();
    if (folder.isEmpty())
        return std::nullopt;
    auto inside = [&](const QString &path) {
        return path == base || path.startsWith(base + QLatin1Char('/'));
    };
    if (!inside(folder))
        return std::nullopt;
    if (file.isSymLink()) {
        const QString target = QFileInfo(file.symLinkTarget()).absoluteFilePath();
        const QString resolved = file.exists() ? file.canonicalFilePath() : target;
        if (!inside(QDir::cleanPath(resolved)))
            return std::nullopt;
    }
    return folder + QLatin1Char('/') + file.fileName();
}

} // namespace DeviceFolder
