#pragma once
// The synchronisation service's table-copy filter, as its callers see it: a shared library in the
// service's folder that exports DESKTOPTODEVICE and DEVICETODESKTOP, both taking the desktop data
// file, the table list, two flags and the device database path, and returning a result code.

#include <cstdint>

extern "C" {
// desktopFile and deviceFile are texts in the local 8-bit encoding; deviceFile is a device
// path ("\My Documents\Domelio.cdb"). tableList names each table followed by "..".
// sync must be 0 (no merging); overwrite 1 lets the copy replace the target's tables.
using DeviceFilterCopy = std::int32_t (*)(const char *desktopFile, const char *tableList,
                                          std::int32_t sync, std::int32_t overwrite,
                                          const char *deviceFile);
}

namespace DeviceFilter {

// The library's file in the service's folder, and its two entry points.
inline constexpr const char *kLibraryFile = "adofiltr.so";
inline constexpr const char *kDesktopToDevice = "DESKTOPTODEVICE";
inline constexpr const char *kDeviceToDesktop = "DEVICETODESKTOP";

// What a copy reports. Anything but Ok means the target was left as it was.
enum Result : std::int32_t {
    Ok = 0,
    BadArguments = 1, // a null text, a malformed table list, an unknown flag
    PathRefused = 2, // the device path leads out of the device folder
    SourceMissing = 3, // the file to copy from is not there
    SourceDamaged = 4, // not a database, or its integrity check fails
    SourceForeign = 5, // a listed table or one of the target's columns is missing
    TargetUnusable = 6, // the target cannot be opened or written
    DeviceInUse = 7, // the handheld program holds the device database open
    CopyFailed = 8, // the copy itself failed (disk full, locked, ...) and was rolled back
};

} // namespace DeviceFilter
