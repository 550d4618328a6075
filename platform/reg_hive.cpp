#include "platform/reg_hive.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStringDecoder>
#include <QtEndian>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString kHeader = QStringLiteral("Windows Registry Editor Version 5.00");
const QString kOldHeader = QStringLiteral("REGEDIT4");
// regedit wraps hex data before this column; other tools expect lines of about that length.
constexpr qsizetype kHexLineLimit = 77;

QString escaped(const QString &text)
{
    QString out = text;
    out.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    out.replace(QLatin1Char('"'), QLatin1String("\\\""));
    return out;
}

bool hasLineBreak(const QString &text)
{
    return text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'));
}

// Sorting key of a full key path: case-folded like the registry compares names, with the
// separator below every printable character so that a key's subkeys follow it directly.
QString sortKey(const QString &fullPath)
{
    QString key = fullPath.toCaseFolded();
    key.replace(QLatin1Char('\\'), QChar(1));
    return key;
}

QString joinPath(const QString &root, const QString &path)
{
    return path.isEmpty() ? root : root + QLatin1Char('\\') + path;
}

int hexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return -1;
}

std::optional<quint32> parseHexNumber(QStringView text, int maxDigits)
{
    if (text.isEmpty() || text.size() > maxDigits)
        return std::nullopt;
    quint32 value = 0;
    for (QChar c : text) {
        const int digit = hexDigit(c);
        if (digit < 0)
            return std::nullopt;
        value = value * 16 + quint32(digit);
    }
    return value;
}

std::optional<QByteArray> parseHexBytes(QStringView text)
{
    QByteArray bytes;
    if (text.trimmed().isEmpty())
        return bytes;
    for (QStringView token : text.split(QLatin1Char(','))) {
        const auto byte = parseHexNumber(token.trimmed(), 2);
        if (!byte)
            return std::nullopt;
        bytes.append(char(*byte));
    }
    return bytes;
}

// Reads a quoted text starting at text[pos] == '"'; on success pos is just past the closing
// quote. Only \\ and \" are escapes; any other backslash is kept as written, as regedit does.
std::optional<QString> parseQuoted(QStringView text, qsizetype &pos)
{
    if (pos >= text.size() || text[pos] != QLatin1Char('"'))
        return std::nullopt;
    QString out;
    for (qsizetype i = pos + 1; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('"')) {
            pos = i + 1;
            return out;
        }
        if (c == QLatin1Char('\\') && i + 1 < text.size()
            && (text[i + 1] == QLatin1Char('\\') || text[i + 1] == QLatin1Char('"'))) {
            out.append(text[++i]);
            continue;
        }
        out.append(c);
    }
    return std::nullopt;
}

QString hexText(const QByteArray &bytes, const QString &prefix)
{
    QString out;
    QString line = prefix;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        QString piece = QStringLiteral("%1").arg(uchar(bytes[i]), 2, 16, QLatin1Char('0'));
        if (i + 1 < bytes.size())
            piece.append(QLatin1Char(','));
        if (line.size() + piece.size() > kHexLineLimit && line.size() > 2) {
            out += line + QLatin1String("\\\n");
            line = QStringLiteral("  ");
        }
        line += piece;
    }
    return out + line;
}

// Damage already reported, by file, so that reading the same broken file again stays quiet.
QHash<QString, size_t> &reportedDamage()
{
    static QHash<QString, size_t> reported;
    return reported;
}

void report(const QString &line)
{
    std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData());
    std::fflush(stderr);
}

// Creates the missing folders of the path, private to the user as settings should be. Folders
// that already exist keep their modes.
bool makeFolders(const QString &folder)
{
    const QByteArray path = QFile::encodeName(QDir::cleanPath(QDir(folder).absolutePath()));
    for (qsizetype i = 1; i <= path.size(); ++i) {
        if (i < path.size() && path[i] != '/')
            continue;
        const QByteArray prefix = path.left(i);
        if (::mkdir(prefix.constData(), 0700) != 0 && errno != EEXIST)
            return false;
    }
    struct stat info;
    return ::stat(path.constData(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool writeAll(int fd, const QByteArray &bytes)
{
    const char *data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, size_t(left));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += written;
        left -= written;
    }
    return true;
}

void syncFolder(const QByteArray &folder)
{
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

RegValue RegValue::fromString(const QString &text)
{
    QByteArray bytes(text.size() * 2 + 2, '\0');
    for (qsizetype i = 0; i < text.size(); ++i)
        qToLittleEndian<quint16>(text[i].unicode(), bytes.data() + 2 * i);
    return { REG_SZ, bytes };
}

RegValue RegValue::fromDword(quint32 number)
{
    QByteArray bytes(4, '\0');
    qToLittleEndian<quint32>(number, bytes.data());
    return { REG_DWORD, bytes };
}

RegValue RegValue::fromBinary(const QByteArray &bytes)
{
    return { REG_BINARY, bytes };
}

std::optional<QString> RegValue::toString() const
{
    if (type != REG_SZ)
        return std::nullopt;
    // The registry does not enforce the terminating zero; the text ends at the first one.
    QString text;
    for (qsizetype i = 0; i + 1 < data.size(); i += 2) {
        const char16_t unit = qFromLittleEndian<quint16>(data.constData() + i);
        if (unit == 0)
            break;
        text.append(QChar(unit));
    }
    return text;
}

std::optional<quint32> RegValue::toDword() const
{
    if (type != REG_DWORD || data.size() != 4)
        return std::nullopt;
    return qFromLittleEndian<quint32>(data.constData());
}

namespace reg_hive_detail {

struct Key
{
    QString path; // full path, root name included, in the case it was first written
    QList<QPair<QString, RegValue>> values;

    qsizetype indexOf(const QString &name) const
    {
        for (qsizetype i = 0; i < values.size(); ++i) {
            if (values[i].first.compare(name, Qt::CaseInsensitive) == 0)
                return i;
        }
        return -1;
    }
};

struct Contents
{
    std::map<QString, Key> keys; // by sortKey()
    bool damaged = false; // the file exists but could not be used

    Key *find(const QString &fullPath)
    {
        const auto it = keys.find(sortKey(fullPath));
        return it == keys.end() ? nullptr : &it->second;
    }

    const Key *find(const QString &fullPath) const
    {
        const auto it = keys.find(sortKey(fullPath));
        return it == keys.end() ? nullptr : &it->second;
    }

    Key &ensure(const QString &fullPath)
    {
        Key &key = keys[sortKey(fullPath)];
        if (key.path.isEmpty())
            key.path = fullPath;
        return key;
    }

    void removeTree(const QString &fullPath)
    {
        const QString prefix = sortKey(fullPath);
        for (auto it = keys.begin(); it != keys.end();) {
            if (it->first == prefix || it->first.startsWith(prefix + QChar(1)))
                it = keys.erase(it);
            else
                ++it;
        }
    }
};

} // namespace reg_hive_detail

namespace {

bool isValidFullPath(QStringView path)
{
    if (path.isEmpty() || hasLineBreak(path.toString()))
        return false;
    for (QStringView part : path.split(QLatin1Char('\\'))) {
        if (part.isEmpty())
            return false;
    }
    return true;
}

struct ParseError
{
    int line = 0;
    QString reason;
};

using reg_hive_detail::Contents;
using reg_hive_detail::Key;

// Parses a whole file; on failure nothing of it is used (the caller treats the hive as empty).
std::optional<ParseError> parseHive(const QString &text, Contents &out)
{
    const QList<QStringView> lines = QStringView(text).split(QLatin1Char('\n'));
    qsizetype i = 0;
    auto nextLine = [&]() {
        QStringView line = lines[i++];
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        return line.trimmed();
    };

    while (i < lines.size() && nextLine().isEmpty()) { }
    const QStringView header = lines.isEmpty() ? QStringView() : lines[i - 1].trimmed();
    if (header != kHeader && header != kOldHeader)
        return ParseError { int(i), QStringLiteral("not a registry file") };

    Key *current = nullptr;
    while (i < lines.size()) {
        const int lineNumber = int(i + 1);
        QString line = nextLine().toString();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')))
            continue;
        auto fail = [&](const char *reason) {
            return ParseError { lineNumber, QString::fromLatin1(reason) };
        };

        if (line.startsWith(QLatin1Char('['))) {
            if (!line.endsWith(QLatin1Char(']')))
                return fail("unclosed key name");
            const bool remove = line.startsWith(QLatin1String("[-"));
            const QString path = line.mid(remove ? 2 : 1, line.size() - (remove ? 3 : 2));
            if (!isValidFullPath(path))
                return fail("bad key name");
            if (remove) {
                out.removeTree(path);
                current = nullptr;
            } else {
                current = &out.ensure(path);
            }
            continue;
        }

        if (!current)
            return fail("value outside a key");
        qsizetype pos = 0;
        QString name;
        if (line.startsWith(QLatin1Char('@'))) {
            pos = 1;
        } else {
            const auto quoted = parseQuoted(line, pos);
            if (!quoted)
                return fail("bad value name");
            name = *quoted;
        }
        if (pos >= line.size() || line[pos] != QLatin1Char('='))
            return fail("missing '='");
        QString data = line.mid(pos + 1).trimmed();

        RegValue value;
        if (data == QLatin1String("-")) {
            const qsizetype index = current->indexOf(name);
            if (index >= 0)
                current->values.removeAt(index);
            continue;
        } else if (data.startsWith(QLatin1Char('"'))) {
            qsizetype end = 0;
            const auto text = parseQuoted(data, end);
            if (!text || end != data.size())
                return fail("bad text value");
            value = RegValue::fromString(*text);
        } else if (data.startsWith(QLatin1String("dword:"), Qt::CaseInsensitive)) {
            const auto number = parseHexNumber(QStringView(data).mid(6), 8);
            if (!number)
                return fail("bad dword value");
            value = RegValue::fromDword(*number);
        } else if (data.startsWith(QLatin1String("hex"), Qt::CaseInsensitive)) {
            while (data.endsWith(QLatin1Char('\\'))) {
                data.chop(1);
                if (i >= lines.size())
                    return fail("hex data cut short");
                data += nextLine();
            }
            const qsizetype colon = data.indexOf(QLatin1Char(':'));
            if (colon < 0)
                return fail("bad hex value");
            const QStringView kind = QStringView(data).left(colon);
            quint32 type = REG_BINARY;
            if (kind.size() > 3) {
                if (!kind.sliced(3).startsWith(QLatin1Char('('))
                    || !kind.endsWith(QLatin1Char(')')))
                    return fail("bad hex type");
                const auto number = parseHexNumber(kind.sliced(4, kind.size() - 5), 8);
                if (!number)
                    return fail("bad hex type");
                type = *number;
            }
            const auto bytes = parseHexBytes(QStringView(data).sliced(colon + 1));
            if (!bytes)
                return fail("bad hex bytes");
            value = { type, *bytes };
        } else {
            return fail("unknown value kind");
        }

        const qsizetype index = current->indexOf(name);
        if (index >= 0)
            current->values[index].second = value;
        else
            current->values.append({ name, value });
    }
    return std::nullopt;
}

// A text value goes out in its readable form when it reads back the same; otherwise (line breaks,
// missing terminator, stray bytes) byte for byte as hex(1).
QString valueText(const QString &nameField, const RegValue &value)
{
    const QString prefix = nameField + QLatin1Char('=');
    if (value.type == REG_SZ) {
        const auto text = value.toString();
        if (text && !hasLineBreak(*text) && text->isValidUtf16()
            && RegValue::fromString(*text) == value)
            return prefix + QLatin1Char('"') + escaped(*text) + QLatin1Char('"');
    }
    if (value.type == REG_DWORD && value.data.size() == 4)
        return prefix + QStringLiteral("dword:%1").arg(*value.toDword(), 8, 16, QLatin1Char('0'));
    if (value.type == REG_BINARY)
        return hexText(value.data, prefix + QLatin1String("hex:"));
    return hexText(value.data, prefix + QStringLiteral("hex(%1):").arg(value.type, 0, 16));
}

} // namespace

RegHive::RegHive(QString filePath, QString rootName)
    : m_filePath(std::move(filePath))
    , m_rootName(std::move(rootName))
{
}

QString RegHive::defaultFolder()
{
    const QString explicitFolder = qEnvironmentVariable("DOMELIO_REGISTRY_DIR");
    if (!explicitFolder.isEmpty())
        return explicitFolder;
    // XDG: a relative XDG_CONFIG_HOME is invalid and must be ignored.
    const QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (!config.isEmpty() && QDir::isAbsolutePath(config))
        return config + QLatin1String("/domelio");
    return QDir::homePath() + QLatin1String("/.config/domelio");
}

bool RegHive::isValidKeyPath(const QString &path)
{
    return path.isEmpty() || isValidFullPath(path);
}

RegHive::Contents RegHive::load() const
{
    Contents contents;
    QFile file(m_filePath);
    if (!file.exists())
        return contents;

    QString problem;
    QByteArray bytes;
    if (!file.open(QIODevice::ReadOnly)) {
        problem = file.errorString();
    } else {
        bytes = file.readAll();
        if (file.error() != QFileDevice::NoError)
            problem = file.errorString();
    }

    if (problem.isEmpty() && !bytes.isEmpty()) {
        // regedit itself writes UTF-16 with a byte-order mark; we write UTF-8.
        QString text;
        if (bytes.startsWith("\xff\xfe")) {
            QStringDecoder decoder(QStringDecoder::Utf16LE);
            text = decoder(bytes.mid(2));
            if (decoder.hasError())
                problem = QStringLiteral("not valid UTF-16");
        } else {
            QStringDecoder decoder(QStringDecoder::Utf8);
            text = decoder(bytes.startsWith("\xef\xbb\xbf") ? bytes.mid(3) : bytes);
            if (decoder.hasError())
                problem = QStringLiteral("not valid UTF-8");
        }
        if (problem.isEmpty()) {
            if (const auto error = parseHive(text, contents))
                problem = QStringLiteral("line %1: %2").arg(error->line).arg(error->reason);
        }
    }
    // An empty file (for instance left by a crash of another writer) holds nothing to keep.

    if (problem.isEmpty()) {
        reportedDamage().remove(m_filePath);
    } else {
        contents = Contents();
        contents.damaged = true;
        const size_t fingerprint = qHash(bytes) ^ qHash(problem);
        const auto known = reportedDamage().constFind(m_filePath);
        if (known == reportedDamage().cend() || *known != fingerprint) {
            reportedDamage().insert(m_filePath, fingerprint);
            report(QStringLiteral("Domelio: cannot use the settings file %1 (%2); using empty "
                                  "settings, the file will be kept as %1.damaged")
                       .arg(QDir::toNativeSeparators(m_filePath), problem));
        }
    }
    return contents;
}

bool RegHive::preserveDamagedFile() const
{
    const QByteArray original = QFile::encodeName(m_filePath);
    struct stat info;
    if (::lstat(original.constData(), &info) != 0)
        return errno == ENOENT; // gone meanwhile: nothing left to keep

    // A hard link keeps even a file we may not read; a copy serves where links are refused.
    const QString target = m_filePath + QLatin1String(".damaged");
    const QString part = target + QLatin1String(".part");
    const QByteArray partName = QFile::encodeName(part);
    ::unlink(partName.constData());
    if (::link(original.constData(), partName.constData()) != 0 && !QFile::copy(m_filePath, part))
        return false;
    ::chmod(partName.constData(), 0600);
    return ::rename(partName.constData(), QFile::encodeName(target).constData()) == 0;
}

bool RegHive::store(const Contents &contents)
{
    QString text = kHeader + QLatin1String("\n\n");
    for (const auto &[sortName, key] : contents.keys) {
        text += QLatin1Char('[') + key.path + QLatin1String("]\n");
        for (const auto &[name, value] : key.values) {
            const QString nameField = name.isEmpty()
                ? QStringLiteral("@")
                : QLatin1Char('"') + escaped(name) + QLatin1Char('"');
            text += valueText(nameField, value) + QLatin1Char('\n');
        }
        text += QLatin1Char('\n');
    }
    const QByteArray bytes = text.toUtf8();

    const QFileInfo info(m_filePath);
    const QString folder = info.absolutePath();
    auto failed = [this](const char *what) {
        report(QStringLiteral("Domelio: cannot save the settings file %1 (%2: %3)")
                   .arg(QDir::toNativeSeparators(m_filePath), QString::fromLatin1(what),
                        QString::fromLocal8Bit(std::strerror(errno))));
        return false;
    };
    if (!makeFolders(folder))
        return failed("creating its folder");

    // Write beside the target and rename over it, so a crash or a full disk leaves either the old
    // file or the new one, never a truncated mix.
    QByteArray tempName = QFile::encodeName(folder + QLatin1String("/.") + info.fileName()
                                            + QLatin1String(".XXXXXX"));
    const int fd = ::mkostemp(tempName.data(), O_CLOEXEC); // mode 0600
    if (fd < 0)
        return failed("creating a temporary file");
    const bool written = writeAll(fd, bytes) && ::fsync(fd) == 0;
    const int savedErrno = errno;
    if (::close(fd) != 0 || !written) {
        ::unlink(tempName.constData());
        errno = written ? errno : savedErrno;
        return failed("writing");
    }
    if (contents.damaged && !preserveDamagedFile()) {
        ::unlink(tempName.constData());
        return failed("keeping the damaged file");
    }
    if (::rename(tempName.constData(), QFile::encodeName(m_filePath).constData()) != 0) {
        const int renameErrno = errno;
        ::unlink(tempName.constData());
        errno = renameErrno;
        return failed("replacing it");
    }
    syncFolder(QFile::encodeName(folder));
    return true;
}

bool RegHive::keyExists(const QString &path) const
{
    if (path.isEmpty())
        return true; // the root always exists, as in the registry
    if (!isValidKeyPath(path))
        return false;
    const Contents contents = load();
    const QString wanted = sortKey(joinPath(m_rootName, path));
    const auto it = contents.keys.lower_bound(wanted);
    return it != contents.keys.end()
        && (it->first == wanted || it->first.startsWith(wanted + QChar(1)));
}

bool RegHive::createKey(const QString &path)
{
    if (!isValidKeyPath(path))
        return false;
    Contents contents = load();
    // The root itself gets a section only when asked for; parents below it are written out as
    // regedit does.
    QString fullPath = m_rootName;
    bool added = false;
    if (path.isEmpty()) {
        added = !contents.find(fullPath);
        contents.ensure(fullPath);
    }
    for (const QString &part : path.split(QLatin1Char('\\'), Qt::SkipEmptyParts)) {
        fullPath += QLatin1Char('\\') + part;
        added = added || !contents.find(fullPath);
        contents.ensure(fullPath);
    }
    return !added || store(contents);
}

std::optional<RegValue> RegHive::value(const QString &path, const QString &name) const
{
    if (!isValidKeyPath(path))
        return std::nullopt;
    const Contents contents = load();
    const Key *key = contents.find(joinPath(m_rootName, path));
    if (!key)
        return std::nullopt;
    const qsizetype index = key->indexOf(name);
    if (index < 0)
        return std::nullopt;
    return key->values[index].second;
}

bool RegHive::setValue(const QString &path, const QString &name, const RegValue &value)
{
    if (!isValidKeyPath(path) || hasLineBreak(name))
        return false;
    Contents contents = load();
    Key &key = contents.ensure(joinPath(m_rootName, path));
    const qsizetype index = key.indexOf(name);
    // Rewriting an unchanged value would cost a synced write at every start for nothing.
    if (index >= 0 && key.values[index].second == value && !contents.damaged)
        return true;
    if (index >= 0)
        key.values[index].second = value;
    else
        key.values.append({ name, value });
    return store(contents);
}

bool RegHive::deleteValue(const QString &path, const QString &name)
{
    if (!isValidKeyPath(path))
        return false;
    Contents contents = load();
    Key *key = contents.find(joinPath(m_rootName, path));
    const qsizetype index = key ? key->indexOf(name) : -1;
    if (index < 0)
        return true;
    key->values.removeAt(index);
    return store(contents);
}
