#include "platform/reg_text.h"

#include <QStringList>
#include <QtEndian>

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

} // namespace

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


QString formatHive(const Contents &contents)
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
    return text;
}

} // namespace reg_hive_detail
