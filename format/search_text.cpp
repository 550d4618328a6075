#include "format/search_text.h"

#include <QChar>
#include <QString>

namespace {

// Letters whose stroke or ligature is part of the letter itself (Unicode gives them no
// decomposition), spelt the way a person types them without the mark.
const char *spelledOut(char32_t c)
{
    switch (c) {
    case U'ß':
    case U'ẞ':
        return "ss";
    case U'æ':
    case U'Æ':
        return "ae";
    case U'œ':
    case U'Œ':
        return "oe";
    case U'ø':
    case U'Ø':
        return "o";
    case U'đ':
    case U'Đ':
    case U'ð':
    case U'Ð':
        return "d";
    case U'ł':
    case U'Ł':
        return "l";
    case U'þ':
    case U'Þ':
        return "th";
    case U'ı':
        return "i";
    default:
        return nullptr;
    }
}

void appendUtf8(QByteArray &out, char32_t c)
{
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

void foldCodePoint(QByteArray &out, char32_t c, int depth);

void foldText(QByteArray &out, QStringView text, int depth)
{
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t u = text[i].unicode();
        if (u < 0x80) {
            // The common case, kept out of the table look-ups below.
            out += char(u >= 'A' && u <= 'Z' ? u + ('a' - 'A') : u);
            continue;
        }
        char32_t c = u;
        if (QChar::isHighSurrogate(u) && i + 1 < n && QChar::isLowSurrogate(text[i + 1].unicode()))
            c = QChar::surrogateToUcs4(u, text[++i].unicode());
        foldCodePoint(out, c, depth);
    }
}

void foldCodePoint(QByteArray &out, char32_t c, int depth)
{
    if (c < 0x80) {
        out += char(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c);
        return;
    }
    if (const char *spelled = spelledOut(c)) {
        out += spelled;
        return;
    }
    switch (QChar::category(c)) {
    case QChar::Mark_NonSpacing:
    case QChar::Mark_SpacingCombining:
    case QChar::Mark_Enclosing:
        return; // the accent of a decomposed letter, or one typed on its own
    default:
        break;
    }
    // A decomposition ends in base letters within a few steps; the depth only guards the loop.
    if (depth < 4) {
        switch (QChar::decompositionTag(c)) {
        case QChar::Canonical: // é = e + acute accent
        case QChar::Compat: // the ligature ﬁ = f i
        case QChar::Font:
        case QChar::Wide:
        case QChar::Narrow:
        case QChar::NoBreak:
            foldText(out, QChar::decomposition(c), depth + 1);
            return;
        default:
            break;
        }
    }
    const char32_t folded = QChar::toCaseFolded(c);
    if (folded != c && depth < 4)
        foldCodePoint(out, folded, depth + 1);
    else
        appendUtf8(out, c);
}

} // namespace

namespace SearchText {

QByteArray fold(QStringView text)
{
    QByteArray out;
    out.reserve(text.size());
    foldText(out, text, 0);
    return out;
}

void appendFolded(QByteArray &out, QStringView text)
{
    foldText(out, text, 0);
}

void appendFoldedUtf8(QByteArray &out, const char *utf8, qsizetype size)
{
    qsizetype i = 0;
    while (i < size) {
        const auto byte = static_cast<unsigned char>(utf8[i]);
        if (byte < 0x80) {
            out += char(byte >= 'A' && byte <= 'Z' ? byte + ('a' - 'A') : byte);
            ++i;
            continue;
        }
        // A run of other characters goes through the full rules.
        qsizetype end = i + 1;
        while (end < size && static_cast<unsigned char>(utf8[end]) >= 0x80)
            ++end;
        foldText(out, QString::fromUtf8(utf8 + i, end - i), 0);
        i = end;
    }
}

QList<QByteArray> words(QStringView typed)
{
    QList<QByteArray> found;
    qsizetype start = -1;
    for (qsizetype i = 0; i <= typed.size(); ++i) {
        const bool blank = i == typed.size() || typed[i].isSpace();
        if (!blank && start < 0)
            start = i;
        if (blank && start >= 0) {
            QByteArray word = fold(typed.sliced(start, i - start));
            if (!word.isEmpty() && !found.contains(word))
                found.append(std::move(word));
            start = -1;
        }
    }
    return found;
}

} // namespace SearchText
