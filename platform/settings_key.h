#pragma once
// The program's settings key: the registry-key wrapper the application object owns, kept on top
// of the .reg hive files (see reg_hive.h). Values are typed; a value of another type than the
// one asked for reads as absent, and the target is then left as it was.

#include "platform/reg_hive.h"
#include "platform/window_placement.h"

#include <QByteArray>
#include <QString>

#include <optional>

enum class RegRoot { CurrentUser, LocalMachine };
inline constexpr RegRoot HKEY_CURRENT_USER = RegRoot::CurrentUser;
inline constexpr RegRoot HKEY_LOCAL_MACHINE = RegRoot::LocalMachine;

// "HKEY_CURRENT_USER" / "HKEY_LOCAL_MACHINE", as the hive files name their sections.
QString regRootName(RegRoot root);
// The root's hive file in RegHive::defaultFolder(): HKCU.reg or HKLM.reg.
QString regRootFile(RegRoot root);

class CSettingsKey
{
public:
    // The key starts as the root itself; Open or Create moves it to a key below the root.
    explicit CSettingsKey(RegRoot root = HKEY_CURRENT_USER);
    // A key kept in the given hive file instead of the user's (a device's registry, a test).
    // That file holds the given root only: Open and Create with another root fail.
    CSettingsKey(RegRoot root, const QString &hiveFile);
    virtual ~CSettingsKey();

    CSettingsKey(const CSettingsKey &) = delete;
    CSettingsKey &operator=(const CSettingsKey &) = delete;

    // Opens an existing key; fails (leaving the key closed) when it does not exist.
    bool Open(RegRoot root, const QString &path);
    // Opens the key, creating it and its parents when missing. options is kept for the
    // registry's signature and must be 0.
    bool Create(RegRoot root, const QString &path, quint32 options = 0);
    // After Close every read and write fails until the next Open or Create.
    void Close();

    bool isOpen() const { return m_hive.has_value(); }
    // The open key's path below its root ("" for the root itself).
    QString path() const { return m_path; }

    bool WriteString(const QString &name, const QString &text);
    bool ReadString(const QString &name, QString &text) const;
    // REG_DWORD: 32 bits, stored as the registry stores them (a negative number keeps its bits).
    bool WriteNumber(const QString &name, qint32 number);
    bool ReadNumber(const QString &name, qint32 &number) const;
    bool WriteBinary(const QString &name, const QByteArray &bytes);
    bool ReadBinary(const QString &name, QByteArray &bytes) const;
    // The 40-byte REG_BINARY placement record; a value that does not decode reads as absent.
    bool WriteWindowPlacement(const QString &name, const WindowPlacement &placement);
    bool ReadWindowPlacement(const QString &name, WindowPlacement &placement) const;

    // Removes a value; true when it is gone afterwards.
    bool DeleteValue(const QString &name);

private:
    bool openIn(RegRoot root, const QString &path, bool create);
    std::optional<RegValue> read(const QString &name) const;
    bool write(const QString &name, const RegValue &value);

    RegRoot m_fileRoot;
    QString m_hiveFile; // empty: the root's file in the user's registry folder
    std::optional<RegHive> m_hive;
    QString m_path;
};
