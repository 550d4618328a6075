#pragma once
// The desktop's remote API to the connected handheld: the calls the sync command makes, with the
// results it relies on (0 for success from the registry calls, an invalid handle for a file that
// is missing or held by another program). The handheld is the folder of device_folder.h; its
// registry is the .reg hive in that folder.
//
// "Held open by the handheld program" is an advisory lock (flock) on the device file: the
// handheld's program holds one while its database is open, and a file opened here without
// sharing takes an exclusive one, so each sees the other.

#include "platform/settings_key.h"

#include <QString>
#include <QtGlobal>

// The initialisation record: its size (12), an event handle the layer signals when the device is
// reached, and the result placed there. The stand-in connects at once and signals nothing.
struct RAPIINIT
{
    quint32 cbSize = sizeof(RAPIINIT);
    quint32 heRapiInit = 0;
    qint32 hrRapiInit = 0;
};
static_assert(sizeof(RAPIINIT) == 12, "the record has the size the callers pass");

using HCEKEY = qint32;
using CEHANDLE = qint32;

inline constexpr CEHANDLE INVALID_HANDLE_VALUE = -1;

namespace CeResult {
inline constexpr qint32 S_OK = 0;
inline constexpr qint32 E_INVALIDARG = qint32(0x80070057);
} // namespace CeResult

// The system error numbers the calls return (registry) or leave for CeGetLastError (files).
namespace CeError {
inline constexpr qint32 Success = 0;
inline constexpr qint32 FileNotFound = 2;
inline constexpr qint32 PathNotFound = 3;
inline constexpr qint32 AccessDenied = 5;
inline constexpr qint32 InvalidHandle = 6;
inline constexpr qint32 NotReady = 21;
inline constexpr qint32 SharingViolation = 32;
inline constexpr qint32 InvalidParameter = 87;
inline constexpr qint32 MoreData = 234;
} // namespace CeError

inline constexpr quint32 KEY_READ = 0x20019;
inline constexpr quint32 GENERIC_READ = 0x80000000u;
inline constexpr quint32 GENERIC_WRITE = 0x40000000u;
inline constexpr quint32 FILE_SHARE_READ = 0x1;
inline constexpr quint32 FILE_SHARE_WRITE = 0x2;
inline constexpr quint32 OPEN_EXISTING = 3;
inline constexpr quint32 FILE_ATTRIBUTE_NORMAL = 0x80;

// Start and end the connection layer; calls in between reach the device. Nested pairs count.
qint32 CeRapiInitEx(RAPIINIT *init);
qint32 CeRapiUninit();
bool CeRapiIsInitialized();

// The device's registry (HKEY_CURRENT_USER only). Values are read as the registry stores them:
// a text is UTF-16 with its terminating zero. With data null only the size is reported; a
// buffer smaller than the value gives MoreData and the size needed.
qint32 CeRegOpenKeyEx(RegRoot root, const QString &subKey, quint32 options, quint32 samDesired,
                      HCEKEY *result);
qint32 CeRegQueryValueEx(HCEKEY key, const QString &valueName, quint32 *reserved, quint32 *type,
                         quint8 *data, quint32 *dataSize);
qint32 CeRegCloseKey(HCEKEY key);

// Opens an existing device file (OPEN_EXISTING only). shareMode 0 asks for the file alone: the
// call fails with SharingViolation while another program holds it.
CEHANDLE CeCreateFile(const QString &fileName, quint32 desiredAccess, quint32 shareMode,
                      void *securityAttributes, quint32 creationDisposition,
                      quint32 flagsAndAttributes, CEHANDLE templateFile);
bool CeCloseHandle(CEHANDLE handle);
bool CeDeleteFile(const QString &fileName);
// The error of the last failed file call on this thread.
qint32 CeGetLastError();
