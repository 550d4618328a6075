#pragma once
// Text prepared for a search that ignores letter case and accents, so that "cafe" finds "Café"
// and "CAFÉ". Both sides of a search are folded the same way; a match is then a plain substring
// test on the folded bytes (UTF-8, so a folded word never matches half of a character).

#include <QByteArray>
#include <QList>
#include <QStringView>

namespace SearchText {

// text in lower case, with the accents of Latin, Greek and Cyrillic letters left out (also when
// typed as combining marks of their own), as UTF-8. The marks of other scripts are vowels and
// signs of their words and stay. Letters that carry their stroke or ligature in the letter
// itself are spelt out (ø o, æ ae, ß ss).
QByteArray fold(QStringView text);
// The same, appended to out.
void appendFolded(QByteArray &out, QStringView text);
// The same for UTF-8 text as SQLite gives it: ASCII is folded byte by byte, so reading a large
// inventory's texts costs no conversion to UTF-16.
void appendFoldedUtf8(QByteArray &out, const char *utf8, qsizetype size);

// The words of a typed search, folded: blanks separate them, repeats are dropped, and blank
// input has none.
QList<QByteArray> words(QStringView typed);

} // namespace SearchText
