#pragma once
// Where the connected handheld lives on this machine. The stand-in for a device is a folder:
// its settings hive (registry/HKCU.reg) and its files, with device paths such as
// "\My Documents\Domelio.cdb" mapped below it. Nothing that names a device path may reach a
// file outside that folder.

#include <QString>

#include <optional>

namespace DeviceFolder {

// $DOMELIO_DEVICE_DIR, else $XDG_DATA_HOME/domelio/device, else ~/.local/share/domelio/device.
// Read each time, so a changed environment (a test, another device) takes effect at once.
QString root();
// The device's HKEY_CURRENT_USER hive file.
QString hiveFile();
// Whether a device is attached: its folder exists.
bool isConnected();

// The host file for a device path, or nothing when the path is refused: not absolute on the
// device (it must start with a backslash), empty components, "." or "..", a drive or host path
// (':' or '/'), a control character, or a link that leads out of the device folder. The file
// itself need not exist; its folder must, as on the device.
std::optional<QString> hostPath(const QString &devicePath);

} // namespace DeviceFolder
