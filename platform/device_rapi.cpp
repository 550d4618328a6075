#include "platform/device_rapi.h"

#include "platform/device_folder.h"
#include "platform/reg_hive.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <sys/file.h>
#include <unistd.h>

namespace {

// One thread uses the layer (the user-interface thread); nothing here is shared across threads
// except the last error, which is per thread as the platform keeps it.
int initCount = 0;
HCEKEY nextKey = 1;
std::map<HCEKEY, QString> openKeys; // handle -> key path below HKEY_CURRENT_USER
CEHANDLE nextHandle = 1;
std::map<CEHANDLE, int> openFiles; // handle -> descriptor holding the lock
thread_local qint32 lastError = CeError::Success;

bool fail(qint32 error)
{
    lastError = error;
    return false;
}

CEHANDLE failHandle(qint32 error)
{
    lastError = error;
    return INVALID_HANDLE_VALUE;
}

RegHive deviceHive()
{
    return RegHive(DeviceFolder::hiveFile(), regRootName(HKEY_CURRENT_USER));
}

} // namespace

qint32 CeRapiInitEx(RAPIINIT *init)
{
    if (!init || init->cbSize != sizeof(RAPIINIT))
        return CeResult::E_INVALIDARG;
    ++initCount;
    init->hrRapiInit = CeResult::S_OK;
    return CeResult::S_OK;
}

qint32 CeRapiUninit()
{
    if (initCount == 0)
        return CeResult::E_INVALIDARG;
    if (--initCount == 0) {
        openKeys.clear();
        for (const auto &[handle, fd] : openFiles)
            ::close(fd);
        openFiles.clear();
    }
    return CeResult::S_OK;
}

bool CeRapiIsInitialized()
{
    return initCount > 0;
}

qint32 CeRegOpenKeyEx(RegRoot root, const QString &subKey, quint32 options, quint32, HCEKEY *result)
{
    if (!result || options != 0)
        return CeError::InvalidParameter;
    *result = 0;
    if (initCount == 0 || !DeviceFolder::isConnected())
        return CeError::NotReady;
    if (root != HKEY_CURRENT_USER || !RegHive::isValidKeyPath(subKey))
        return CeError::FileNotFound;
    if (!QFileInfo(DeviceFolder::hiveFile()).isFile() || !deviceHive().keyExists(subKey))
        return CeError::FileNotFound;
    const HCEKEY key = nextKey++;
    openKeys.emplace(key, subKey);
    *result = key;
    return CeError::Success;
}

qint32 CeRegQueryValueEx(HCEKEY key, const QString &valueName, quint32 *reserved, quint32 *type,
                         quint8 *data, quint32 *dataSize)
{
    if (reserved || (data && !dataSize))
        return CeError::InvalidParameter;
    const auto open = openKeys.find(key);
    if (initCount == 0 || open == openKeys.end())
        return CeError::InvalidHandle;
    const std::optional<RegValue> value = deviceHive().value(open->second, valueName);
    if (!value)
        return CeError::FileNotFound;
    if (type)
        *type = value->type;
    const auto size = quint32(value->data.size());
    if (!dataSize)
        return CeError::Success;
    if (data && *dataSize < size) {
        *dataSize = size;
        return CeError::MoreData;
    }
    *dataSize = size;
    if (data && size)
        std::memcpy(data, value->data.constData(), size);
    return CeError::Success;
}

qint32 CeRegCloseKey(HCEKEY key)
{
    return openKeys.erase(key) ? CeError::Success : CeError::InvalidHandle;
}

CEHANDLE CeCreateFile(const QString &fileName, quint32 desiredAccess, quint32 shareMode, void *,
                      quint32 creationDisposition, quint32, CEHANDLE)
{
    if (initCount == 0)
        return failHandle(CeError::NotReady);
    if (creationDisposition != OPEN_EXISTING)
        return failHandle(CeError::InvalidParameter);
    const std::optional<QString> host = DeviceFolder::hostPath(fileName);
    if (!host)
        return failHandle(CeError::PathNotFound);
    if (!QFileInfo(*host).isFile())
        return failHandle(CeError::FileNotFound);

    const bool write = desiredAccess & GENERIC_WRITE;
    const int fd =
        ::open(QFile::encodeName(*host).constData(), (write ? O_RDWR : O_RDONLY) | O_CLOEXEC);
    if (fd < 0)
        return failHandle(errno == EACCES ? CeError::AccessDenied : CeError::FileNotFound);
    // No sharing at all asks for the file alone; any sharing lets other readers in.
    const int lock = shareMode == 0 ? LOCK_EX : LOCK_SH;
    if (::flock(fd, lock | LOCK_NB) != 0) {
        ::close(fd);
        return failHandle(CeError::SharingViolation);
    }
    const CEHANDLE handle = nextHandle++;
    openFiles.emplace(handle, fd);
    lastError = CeError::Success;
    return handle;
}

bool CeCloseHandle(CEHANDLE handle)
{
    const auto open = openFiles.find(handle);
    if (open == openFiles.end())
        return fail(CeError::InvalidHandle);
    ::close(open->second); // releases the lock
    openFiles.erase(open);
    return true;
}

bool CeDeleteFile(const QString &fileName)
{
    if (initCount == 0)
        return fail(CeError::NotReady);
    const std::optional<QString> host = DeviceFolder::hostPath(fileName);
    if (!host)
        return fail(CeError::PathNotFound);
    if (::unlink(QFile::encodeName(*host).constData()) != 0)
        return fail(errno == ENOENT ? CeError::FileNotFound : CeError::AccessDenied);
    return true;
}

qint32 CeGetLastError()
{
    return lastError;
}
