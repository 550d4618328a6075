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

// Whether the combining marks after a letter of this script only decorate it (the accents of
// Latin, Greek and Cyrillic letters, the breve of й), so that a search goes without them. In
// other scripts a mark is a vowel or a sign of the word (Thai ี and ู, the Devanagari ि and ी),
// and "ปี" must not find "ปู". A mark after no letter (typed on its own, after a digit) is a
// decoration too.
bool marksDecorate(char32_t base)
{
    switch (QChar::script(base)) {
    case QChar::Script_Latin:
    case QChar::Script_Greek:
    case QChar::Script_Cyrillic:
    case QChar::Script_Common:
    case QChar::Script_Inherited:
    case QChar::Script_Unknown:
        return true;
    default:
        return false;
    }
}

// What folding has seen so far: whether marks that come now decorate the letter before them.
struct Fold
{
    bool marksDecorate = true;
};

void foldCodePoint(QByteArray &out, char32_t c, int depth, Fold &fold);

void foldText(QByteArray &out, QStringView text, int depth, Fold &fold)
{
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t u = text[i].unicode();
        if (u < 0x80) {
            // The common case, kept out of the table look-ups below.
            out += char(u >= 'A' && u <= 'Z' ? u + ('a' - 'A') : u);
            fold.marksDecorate = true;
            continue;
        }
        char32_t c = u;
        if (QChar::isHighSurrogate(u) && i + 1 < n && QChar::isLowSurrogate(text[i + 1].unicode()))
            c = QChar::surrogateToUcs4(u, text[++i].unicode());
        foldCodePoint(out, c, depth, fold);
    }
}

void foldCodePoint(QByteArray &out, char32_t c, int depth, Fold &fold)
{
    if (c < 0x80) {
        out += char(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c);
        fold.marksDecorate = true;
        return;
    }
    if (const char *spelled = spelledOut(c)) {
        out += spelled;
        fold.marksDecorate = true;
        return;
    }
    switch (QChar::category(c)) {
    case QChar::Mark_NonSpacing:
    case QChar::Mark_SpacingCombining:
    case QChar::Mark_Enclosing:
        // The accent of a decomposed letter, or one typed on its own; a letter of its own word
        // in the scripts whose marks are so.
        if (!fold.marksDecorate)
            appendUtf8(out, c);
        return;
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
            foldText(out, QChar::decomposition(c), depth + 1, fold);
            return;
        default:
            break;
        }
    }
    const char32_t folded = QChar::toCaseFolded(c);
    if (folded != c && depth < 4) {
        foldCodePoint(out, folded, depth + 1, fold);
    } else {
        appendUtf8(out, c);
        fold.marksDecorate = marksDecorate(c);
    }
}

} // namespace

namespace SearchText {

QByteArray fold(QStringView text)
{
    QByteArray out;
    out.reserve(text.size());
    Fold state;
    foldText(out, text, 0, state);
    return out;
}

void appendFolded(QByteArray &out, QStringView text)
{
    Fold state;
    foldText(out, text, 0, state);
}

void appendFoldedUtf8(QByteArray &out, const char *utf8, qsizetype size)
{
    Fold state;
    qsizetype i = 0;
    while (i < size) {
        const auto byte = static_cast<unsigned char>(utf8[i]);
        if (byte < 0x80) {
            out += char(byte >= 'A' && byte <= 'Z' ? byte + ('a' - 'A') : byte);
            ++i;
            continue;
        }
        // A run of other characters goes through the full rules, knowing the letter before it
        // (an ASCII one: "Cafe" and a combining accent).
        state.marksDecorate = true;
        qsizetype end = i + 1;
        while (end < size && static_cast<unsigned char>(utf8[end]) >= 0x80)
            ++end;
        foldText(out, QString::fromUtf8(utf8 + i, end - i), 0, state);
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
