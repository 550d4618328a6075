#include "platform/settings_key.h"

QString regRootName(RegRoot root)
{
    return root == RegRoot::LocalMachine ? QStringLiteral("HKEY_LOCAL_MACHINE")
                                         : QStringLiteral("HKEY_CURRENT_USER");
}

QString regRootFile(RegRoot root)
{
    return RegHive::defaultFolder()
        + (root == RegRoot::LocalMachine ? QLatin1String("/HKLM.reg") : QLatin1String("/HKCU.reg"));
}

CSettingsKey::CSettingsKey(RegRoot root)
    : m_fileRoot(root)
{
    m_hive.emplace(regRootFile(root), regRootName(root));
}

CSettingsKey::CSettingsKey(RegRoot root, const QString &hiveFile)
    : m_fileRoot(root)
    , m_hiveFile(hiveFile)
{
    m_hive.emplace(hiveFile, regRootName(root));
}

CSettingsKey::~CSettingsKey()
{
    Close();
}

bool CSettingsKey::openIn(RegRoot root, const QString &path, bool create)
{
    Close();
    if (!m_hiveFile.isEmpty() && root != m_fileRoot)
        return false;
    RegHive hive(m_hiveFile.isEmpty() ? regRootFile(root) : m_hiveFile, regRootName(root));
    if (!(create ? hive.createKey(path) : hive.keyExists(path)))
        return false;
    m_hive.emplace(std::move(hive));
    m_path = path;
    return true;
}

bool CSettingsKey::Open(RegRoot root, const QString &path)
{
    return openIn(root, path, false);
}

bool CSettingsKey::Create(RegRoot root, const QString &path, quint32 options)
{
    if (options != 0) {
        Close();
        return false;
    }
    return openIn(root, path, true);
}

void CSettingsKey::Close()
{
    m_hive.reset();
    m_path.clear();
}

std::optional<RegValue> CSettingsKey::read(const QString &name) const
{
    if (!m_hive)
        return std::nullopt;
    return m_hive->value(m_path, name);
}

bool CSettingsKey::write(const QString &name, const RegValue &value)
{
    return m_hive && m_hive->setValue(m_path, name, value);
}

bool CSettingsKey::WriteString(const QString &name, const QString &text)
{
    return write(name, RegValue::fromString(text));
}

bool CSettingsKey::ReadString(const QString &name, QString &text) const
{
    const auto value = read(name);
    const auto string = value ? value->toString() : std::nullopt;
    if (!string)
        return false;
    text = *string;
    return true;
}

bool CSettingsKey::WriteNumber(const QString &name, qint32 number)
{
    return write(name, RegValue::fromDword(quint32(number)));
}

bool CSettingsKey::ReadNumber(const QString &name, qint32 &number) const
{
    const auto value = read(name);
    const auto dword = value ? value->toDword() : std::nullopt;
    if (!dword)
        return false;
    number = qint32(*dword);
    return true;
}

bool CSettingsKey::WriteBinary(const QString &name, const QByteArray &bytes)
{
    return write(name, RegValue::fromBinary(bytes));
}

bool CSettingsKey::ReadBinary(const QString &name, QByteArray &bytes) const
{
    const auto value = read(name);
    if (!value || value->type != REG_BINARY)
        return false;
    bytes = value->data;
    return true;
}

bool CSettingsKey::WriteWindowPlacement(const QString &name, const WindowPlacement &placement)
{
    return WriteBinary(name, placement.encode());
}

bool CSettingsKey::ReadWindowPlacement(const QString &name, WindowPlacement &placement) const
{
    QByteArray bytes;
    if (!ReadBinary(name, bytes))
        return false;
    const auto decoded = WindowPlacement::decode(bytes);
    if (!decoded)
        return false;
    placement = *decoded;
    return true;
}

bool CSettingsKey::DeleteValue(const QString &name)
{
    return m_hive && m_hive->deleteValue(m_path, name);
}
