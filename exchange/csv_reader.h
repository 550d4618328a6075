#pragma once
// Reading comma-separated text as spreadsheet programs write it (RFC 4180): cells in double
// quotes may hold separators, line breaks and doubled quotes; lines end in CR LF, LF or CR. The
// whole file is read into memory first (an inventory is a few megabytes), so that what the
// preview showed is exactly what is imported, however the file changes on disk meanwhile.
//
// Lenient where spreadsheets are: a quote inside an unquoted cell is kept as a character, and
// text after a closing quote joins the cell. A quoted cell that never closes and a row longer
// than a megabyte are refused, naming the row.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <functional>

namespace Import {

enum class Encoding { Utf8, Windows1252 };

struct Format
{
    Encoding encoding = Encoding::Utf8;
    bool byteOrderMark = false; // the text starts with UTF-8's mark, skipped whatever is chosen
    char separator = ',';
    bool headers = true; // the first row (after the program's own title lines) names the columns
};

// Longer rows are refused: no inventory has them, and a binary file read as text can.
constexpr qsizetype kMaxRowBytes = 1024 * 1024;
// Larger files are refused before they are read into memory.
constexpr qint64 kMaxFileBytes = qint64(256) * 1024 * 1024;

// Reads the whole file at path into bytes. False, with a sentence for the user in *error, when
// it cannot be read, is larger than kMaxFileBytes, or changed while it was read (its size or
// time of change moved, or fewer or more bytes came than it had). progress is called as the
// bytes come; false from it stops the reading (then *error is empty).
bool readFile(const QString &path, QByteArray &bytes, QString *error,
              const std::function<bool(qint64 done, qint64 total)> &progress = {});

// What a first look at the bytes says: the encoding (a byte-order mark, else valid UTF-8, else
// Windows-1252) and the separator (comma, semicolon or tab: the one that splits the first rows
// most evenly into more than one column; Excel's "sep=" first line when there is one). Whether
// the first row holds headers is left as it is: that needs the field names (import_rows.h).
struct Detection
{
    Format format;
    bool separatorLine = false; // the text starts with a "sep=" line, not a row
    QString error; // why the bytes are no text to import: empty, binary, UTF-16, a row too long
};
Detection detect(const QByteArray &bytes);

// The separators the user may choose, in the order the dialog lists them.
constexpr char kSeparators[] = { ',', ';', '\t' };

// One cell's bytes as text.
QString decode(const char *data, qsizetype size, Encoding encoding);

class CsvReader
{
public:
    // The reader shares bytes (no copy is made). separatorLine: skip a leading "sep=" line.
    CsvReader(const QByteArray &bytes, const Format &format, bool separatorLine = false);

    // Reads the next row; false at the end of the text or on an error (then error() says which).
    bool next();
    const QStringList &cells() const { return m_cells; }
    // Whether every cell of the row is empty (a blank line reads as one empty cell).
    bool blank() const;
    // The row's number as a spreadsheet numbers it: rows count from 1, a blank line is a row.
    qint64 row() const { return m_row; }
    // Where the row starts in the bytes, and where the reading has got to.
    qint64 offset() const { return m_start; }
    qint64 position() const { return m_pos; }
    qint64 size() const { return m_end; }
    // Goes back to a row start that offset() and row() gave, to read that row again.
    void seek(qint64 offset, qint64 row);

    QString error() const { return m_error; }

private:
    bool fail(const QString &text);

    QByteArray m_bytes;
    const char *m_data = nullptr;
    qint64 m_begin = 0;
    qint64 m_end = 0;
    qint64 m_pos = 0;
    qint64 m_start = 0;
    qint64 m_row = 0;
    Format m_format;
    QStringList m_cells;
    QByteArray m_cell;
    QString m_error;
};

} // namespace Import
