#include "platform/user_folders.h"

#include <QDir>

namespace UserFolders {

QString dataHome()
{
    const QString data = qEnvironmentVariable("XDG_DATA_HOME");
    if (!data.isEmpty() && QDir::isAbsolutePath(data))
        return QDir::cleanPath(data);
    return QDir::homePath() + QLatin1String("/.local/share");
}

} // namespace UserFolders
