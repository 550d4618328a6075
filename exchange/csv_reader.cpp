#include "exchange/csv_reader.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <algorithm>
#include <cstring>
#include <sys/stat.h>

namespace Import {
namespace {

constexpr qint64 kReadChunk = 1024 * 1024;
// How much of the text the separator is judged on.
constexpr int kSampleRows = 50;

// Windows-1252's characters for the bytes 0x80 to 0x9F, where it differs from Latin-1. The
// five bytes it leaves undefined keep their C1 control code, as Windows itself reads them.
constexpr char16_t kWindows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

bool validUtf8(const char *data, qsizetype size)
{
    const auto *p = reinterpret_cast<const unsigned char *>(data);
    const auto *end = p + size;
    while (p < end) {
        // Plain ASCII eight bytes at a time: most of an inventory.
        while (end - p >= 8) {
            quint64 word;
            std::memcpy(&word, p, 8);
            if (word & 0x8080808080808080ull)
                break;
            p += 8;
        }
        if (p == end)
            break;
        const unsigned char c = *p;
        if (c < 0x80) {
            ++p;
            continue;
        }
        int more;
        char32_t code;
        if ((c & 0xE0) == 0xC0) {
            more = 1;
            code = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            more = 2;
            code = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            more = 3;
            code = c & 0x07;
        } else {
            return false;
        }
        if (end - p <= more)
            return false;
        for (int i = 1; i <= more; ++i) {
            if ((p[i] & 0xC0) != 0x80)
                return false;
            code = (code << 6) | (p[i] & 0x3F);
        }
        // Overlong forms, surrogates and values past Unicode are not UTF-8.
        static constexpr char32_t kLeast[] = { 0, 0x80, 0x800, 0x10000 };
        if (code < kLeast[more] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        p += more + 1;
    }
    return true;
}

// Whether the bytes look like something other than text: a zero byte, or many control
// characters (text has tabs and line ends, a picture or a program has every byte value).
bool binary(const char *data, qsizetype size)
{
    if (std::memchr(data, '\0', size_t(size)))
        return true;
    const qsizetype sample = std::min<qsizetype>(size, 64 * 1024);
    qsizetype controls = 0;
    for (qsizetype i = 0; i < sample; ++i) {
        const auto c = static_cast<unsigned char>(data[i]);
        if (c < 0x20 && c != '\t' && c != '\n' && c != '\r' && c != '\f')
            ++controls;
    }
    return controls * 100 > sample;
}

// The number of the first line longer than the limit, or 0.
qint64 overlongLine(const char *data, qsizetype size)
{
    qint64 line = 1;
    const char *p = data;
    const char *end = data + size;
    while (p < end) {
        const char *stop = p;
        const qsizetype window = std::min<qsizetype>(end - p, kMaxRowBytes + 1);
        const void *nl = std::memchr(p, '\n', size_t(window));
        const void *cr = std::memchr(p, '\r', size_t(window));
        if (!nl && !cr)
            return window > kMaxRowBytes ? line : 0;
        stop = static_cast<const char *>(nl && cr ? std::min(nl, cr) : (nl ? nl : cr));
        if (stop - p > kMaxRowBytes)
            return line;
        p = stop + 1;
        if (*stop == '\r' && p < end && *p == '\n')
            ++p;
        ++line;
    }
    return 0;
}

QString sizeText(qint64 bytes)
{
    return QStringLiteral("%1 MiB").arg(double(bytes) / (1024.0 * 1024.0), 0, 'f', 1);
}

} // namespace

bool readFile(const QString &path, QByteArray &bytes, QString *error,
              const std::function<bool(qint64 done, qint64 total)> &progress)
{
    auto failed = [&](const QString &text) {
        if (error)
            *error = text;
        bytes.clear();
        return false;
    };
    const QString name = QFileInfo(path).fileName();
    // Unbuffered: the bytes go straight into the array, one copy of megabytes rather than two.
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return failed(
            QStringLiteral("\"%1\" could not be opened: %2.").arg(name, file.errorString()));
    struct stat before;
    if (::fstat(file.handle(), &before) != 0 || !S_ISREG(before.st_mode))
        return failed(QStringLiteral("\"%1\" is not a file that can be imported.").arg(name));
    if (before.st_size > kMaxFileBytes)
        return failed(QStringLiteral("\"%1\" is %2, larger than any inventory file (at most %3). "
                                     "Please make sure it is the file you meant.")
                          .arg(name, sizeText(before.st_size), sizeText(kMaxFileBytes)));
    const qint64 expected = before.st_size;
    // Room for one byte more than the file had: a file that grew meanwhile shows it.
    bytes.resize(expected + 1);
    qint64 done = 0;
    qint64 sinceReport = 0;
    for (;;) {
        const qint64 got =
            file.read(bytes.data() + done, std::min<qint64>(kReadChunk, bytes.size() - done));
        if (got < 0)
            return failed(
                QStringLiteral("\"%1\" could not be read: %2.").arg(name, file.errorString()));
        done += got;
        if (got == 0 || done == bytes.size())
            break;
        sinceReport += got;
        if (progress && sinceReport >= kReadChunk) {
            sinceReport = 0;
            if (!progress(done, expected)) {
                bytes.clear();
                if (error)
                    error->clear();
                return false;
            }
        }
    }
    bytes.resize(std::min(done, expected));
    struct stat after;
    const bool same = ::fstat(file.handle(), &after) == 0 && after.st_size == before.st_size
        && after.st_mtim.tv_sec == before.st_mtim.tv_sec
        && after.st_mtim.tv_nsec == before.st_mtim.tv_nsec && done == expected;
    if (!same)
        return failed(QStringLiteral("\"%1\" changed while it was read. Please close the program "
                                     "that is writing it, then import it again.")
                          .arg(name));
    return true;
}

QString decode(const char *data, qsizetype size, Encoding encoding)
{
    if (encoding == Encoding::Utf8)
        return QString::fromUtf8(data, size);
    QString text(size, Qt::Uninitialized);
    QChar *out = text.data();
    for (qsizetype i = 0; i < size; ++i) {
        const auto c = static_cast<unsigned char>(data[i]);
        out[i] = (c >= 0x80 && c < 0xA0) ? QChar(kWindows1252High[c - 0x80]) : QChar(c);
    }
    return text;
}

Detection detect(const QByteArray &bytes)
{
    Detection found;
    const char *data = bytes.constData();
    const qsizetype size = bytes.size();
    const bool bom = size >= 3 && std::memcmp(data, "\xEF\xBB\xBF", 3) == 0;
    const qsizetype textStart = bom ? 3 : 0;
    if (size >= 2
        && ((uchar(data[0]) == 0xFF && uchar(data[1]) == 0xFE)
            || (uchar(data[0]) == 0xFE && uchar(data[1]) == 0xFF))) {
        found.error = QStringLiteral("The file is saved as UTF-16 (\"Unicode text\"). Please save "
                                     "it as CSV (comma delimited or UTF-8) and import that file.");
        return found;
    }
    bool empty = true;
    for (qsizetype i = textStart; i < size && empty; ++i)
        empty = std::strchr(" \t\r\n\f", data[i]) != nullptr;
    if (empty) {
        found.error = QStringLiteral("The file is empty: it holds no rows to import.");
        return found;
    }
    if (binary(data + textStart, size - textStart)) {
        found.error = QStringLiteral("The file is not a text file. Please choose a CSV or text "
                                     "file; a spreadsheet must first be saved as CSV.");
        return found;
    }
    if (const qint64 line = overlongLine(data + textStart, size - textStart)) {
        found.error = QStringLiteral("Line %1 of the file is longer than a megabyte; no inventory "
                                     "has such lines. Please make sure it is the file you meant.")
                          .arg(line);
        return found;
    }
    found.format.byteOrderMark = bom;
    found.format.encoding = bom || validUtf8(data, size) ? Encoding::Utf8 : Encoding::Windows1252;

    // Excel's own hint: a first line "sep=;" names the separator.
    const QByteArray head = bytes.mid(textStart, 6).toLower();
    if (head.startsWith("sep=") && head.size() >= 5 && std::strchr(",;\t", head[4])
        && (head.size() == 5 || head[5] == '\r' || head[5] == '\n')) {
        found.format.separator = head[4];
        found.separatorLine = true;
        return found;
    }

    // The separator that splits the first rows into the same number of columns most often,
    // more than one; among equals the one giving more columns, then the order listed.
    int bestScore = -1;
    int bestColumns = 0;
    for (char separator : kSeparators) {
        Format trial = found.format;
        trial.separator = separator;
        CsvReader reader(bytes, trial);
        QHash<int, int> counts;
        for (int rows = 0; rows < kSampleRows && reader.next();) {
            if (reader.blank())
                continue;
            ++counts[int(reader.cells().size())];
            ++rows;
        }
        int columns = 1;
        int score = 0;
        for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
            if (it.key() > 1
                && (it.value() > score || (it.value() == score && it.key() > columns))) {
                score = it.value();
                columns = it.key();
            }
        }
        if (score > bestScore || (score == bestScore && columns > bestColumns)) {
            bestScore = score;
            bestColumns = columns;
            found.format.separator = separator;
        }
    }
    if (bestScore <= 0)
        found.format.separator = ',';
    return found;
}

CsvReader::CsvReader(const QByteArray &bytes, const Format &format, bool separatorLine)
    : m_bytes(bytes)
    , m_data(m_bytes.constData())
    , m_end(m_bytes.size())
    , m_format(format)
{
    if (m_end >= 3 && std::memcmp(m_data, "\xEF\xBB\xBF", 3) == 0)
        m_begin = 3;
    m_pos = m_begin;
    if (separatorLine) {
        while (m_pos < m_end && m_data[m_pos] != '\n' && m_data[m_pos] != '\r')
            ++m_pos;
        if (m_pos < m_end && m_data[m_pos] == '\r')
            ++m_pos;
        if (m_pos < m_end && m_data[m_pos] == '\n')
            ++m_pos;
        m_row = 1;
    }
}

bool CsvReader::fail(const QString &text)
{
    m_error = text;
    m_pos = m_end;
    m_cells.clear();
    return false;
}

void CsvReader::seek(qint64 offset, qint64 row)
{
    m_pos = std::clamp(offset, m_begin, m_end);
    m_row = row - 1;
    m_error.clear();
}

bool CsvReader::blank() const
{
    return std::all_of(m_cells.cbegin(), m_cells.cend(),
                       [](const QString &cell) { return cell.isEmpty(); });
}

bool CsvReader::next()
{
    m_cells.clear();
    if (m_pos >= m_end || !m_error.isEmpty())
        return false;
    m_start = m_pos;
    ++m_row;
    const char separator = m_format.separator;
    const char *data = m_data;
    qint64 p = m_pos;
    for (;;) {
        // One cell. A quoted one is read in place unless it holds a doubled quote; then its
        // pieces gather in m_cell (resize keeps that buffer, clear would give it back).
        const bool quoted = p < m_end && data[p] == '"';
        qint64 quotedFrom = -1;
        qint64 quotedTo = -1;
        bool gathered = false;
        if (quoted) {
            ++p;
            quotedFrom = p;
            for (;;) {
                const void *quote = std::memchr(data + p, '"', size_t(m_end - p));
                if (!quote)
                    return fail(QStringLiteral("Row %1 opens a quoted cell that is never closed. "
                                               "Please check the quotes in that row.")
                                    .arg(m_row));
                const qint64 at = static_cast<const char *>(quote) - data;
                if (at + 1 < m_end && data[at + 1] == '"') {
                    if (!gathered)
                        m_cell.resize(0);
                    gathered = true;
                    m_cell.append(data + p, at - p + 1);
                    p = at + 2;
                    continue;
                }
                if (gathered)
                    m_cell.append(data + p, at - p);
                quotedTo = at;
                p = at + 1;
                break;
            }
        }
        // Unquoted text, or what follows a closing quote, up to the separator or the line end.
        const qint64 from = p;
        while (p < m_end) {
            const char c = data[p];
            if (c == separator || c == '\n' || c == '\r')
                break;
            ++p;
        }
        if (p - m_start > kMaxRowBytes)
            return fail(QStringLiteral("Row %1 is longer than a megabyte; no inventory has such "
                                       "rows. Please make sure it is the file you meant.")
                            .arg(m_row));
        if (!quoted) {
            m_cells.append(decode(data + from, p - from, m_format.encoding));
        } else if (!gathered && p == from) {
            m_cells.append(decode(data + quotedFrom, quotedTo - quotedFrom, m_format.encoding));
        } else {
            if (!gathered) {
                m_cell.resize(0);
                m_cell.append(data + quotedFrom, quotedTo - quotedFrom);
            }
            m_cell.append(data + from, p - from);
            m_cells.append(decode(m_cell.constData(), m_cell.size(), m_format.encoding));
        }
        if (p < m_end && data[p] == separator) {
            ++p;
            continue;
        }
        break;
    }
    if (p < m_end && data[p] == '\r')
        ++p;
    if (p < m_end && data[p] == '\n')
        ++p;
    m_pos = p;
    return true;
}

} // namespace Import
