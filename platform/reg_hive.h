#pragma once
// A registry hive kept as one text file in the Windows ".reg" export format, so that a user can
// read it, a Windows tool can import it, and the program keeps the registry's typed values.
//
// The hive holds no state between calls: every operation reads the file afresh and every change
// writes the whole file back at once (atomically), so two keys on the same file never see stale
// data. The files are a few kilobytes; the program is single-user.
//
// Damaged files: a file that cannot be read or parsed is treated as an empty hive and reported
// on stderr (once per file and content for the whole process, as every read loads it again). Before
// the first write replaces it, the damaged file is kept beside it as
// "<file>.damaged", so the user's other settings are never silently lost.

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

namespace reg_hive_detail {
struct Contents;
}

// Value types, numbered as the registry numbers them ("hex(N):" in a .reg file).
enum RegType : quint32 {
    REG_NONE = 0,
    REG_SZ = 1,
    REG_EXPAND_SZ = 2,
    REG_BINARY = 3,
    REG_DWORD = 4,
    REG_MULTI_SZ = 7,
    REG_QWORD = 11,
};

// A value as the registry stores it: a type and raw bytes. Strings are UTF-16LE with their
// terminating zero, numbers little-endian; unknown types are kept byte for byte.
struct RegValue
{
    quint32 type = REG_NONE;
    QByteArray data;

    static RegValue fromString(const QString &text);
    static RegValue fromDword(quint32 number);
    static RegValue fromBinary(const QByteArray &bytes);

    // Typed views; empty when the type (or, for a number, the size) does not match.
    std::optional<QString> toString() const;
    std::optional<quint32> toDword() const;

    bool operator==(const RegValue &other) const = default;
};

class RegHive
{
public:
    // rootName is the section prefix in the file, e.g. "HKEY_CURRENT_USER".
    RegHive(QString filePath, QString rootName);

    const QString &filePath() const { return m_filePath; }
    const QString &rootName() const { return m_rootName; }

    // Key paths are relative to the root, separated by backslashes, compared without regard to
    // letter case; the empty path is the root key itself. A key exists when it has a section
    // of its own or any key below it has one.
    bool keyExists(const QString &path) const;
    // Creates the key and its missing parents. True when the key exists afterwards.
    bool createKey(const QString &path);

    std::optional<RegValue> value(const QString &path, const QString &name) const;
    // Stores the value (creating the key when another program removed it meanwhile).
    bool setValue(const QString &path, const QString &name, const RegValue &value);
    // True when the value is gone afterwards (also when it never existed).
    bool deleteValue(const QString &path, const QString &name);

    // Folder of the user's hives: $DOMELIO_REGISTRY_DIR, else $XDG_CONFIG_HOME/domelio, else
    // ~/.config/domelio. Read each time, so a changed environment takes effect at once.
    static QString defaultFolder();

    // Key paths are checked before use: no empty components, no line breaks (a .reg file has no
    // way to write them).
    static bool isValidKeyPath(const QString &path);

private:
    using Contents = reg_hive_detail::Contents;

    Contents load() const;
    bool store(const Contents &contents);
    bool preserveDamagedFile() const;

    QString m_filePath;
    QString m_rootName;
};
