// The CSV reader: RFC 4180 cells, line ends, row numbers, what it refuses, how it guesses the
// encoding and the separator, and reading a file that changes under it.
#include "exchange/csv_reader.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using Import::CsvReader;
using Import::Encoding;
using Import::Format;

struct ReadRow
{
    qint64 row;
    QStringList cells;
};

std::vector<ReadRow> readAll(const QByteArray &bytes, char separator = ',',
                             Encoding encoding = Encoding::Utf8, QString *error = nullptr)
{
    Format format;
    format.separator = separator;
    format.encoding = encoding;
    CsvReader reader(bytes, format);
    std::vector<ReadRow> rows;
    while (reader.next())
        rows.push_back({ reader.row(), reader.cells() });
    if (error)
        *error = reader.error();
    return rows;
}

QStringList cellsOf(const QByteArray &bytes, char separator = ',')
{
    const auto rows = readAll(bytes, separator);
    return rows.empty() ? QStringList() : rows.front().cells;
}

TEST(CsvReader, ReadsCellsAsSpreadsheetsWriteThem)
{
    const struct
    {
        const char *text;
        QStringList cells;
    } cases[] = {
        { "a,b,c", { "a", "b", "c" } },
        { "\"a,b\",c", { "a,b", "c" } },
        { "\"say \"\"hi\"\"\",x", { "say \"hi\"", "x" } },
        { "\"two\r\nlines\",x", { "two\r\nlines", "x" } },
        { "a,,c,", { "a", "", "c", "" } },
        { "\"\",\"\"", { "", "" } },
        // Lenient where spreadsheets are: a quote inside an unquoted cell is a character, text
        // after a closing quote joins the cell.
        { "5\" plate,x", { "5\" plate", "x" } },
        { "\"quoted\" tail,x", { "quoted tail", "x" } },
        { " spaced , kept ", { " spaced ", " kept " } },
    };
    for (const auto &c : cases)
        EXPECT_EQ(cellsOf(c.text), c.cells) << c.text;
    EXPECT_EQ(cellsOf("a;\"b;c\";d", ';'), (QStringList { "a", "b;c", "d" }));
    EXPECT_EQ(cellsOf("a\t\"b\tc\"", '\t'), (QStringList { "a", "b\tc" }));
}

TEST(CsvReader, CountsRowsAsASpreadsheetDoesWhateverTheLineEnds)
{
    // CR LF, LF and a lone CR end rows alike; a blank line is a row of one empty cell; a
    // cell with line breaks is one row; the last line end starts no row.
    const QByteArray text = "a\r\nb\nc\rd\r\n\r\n\"multi\nline\",x\r\ne\r\n";
    const auto rows = readAll(text);
    ASSERT_EQ(rows.size(), 7u);
    const QStringList firsts = { "a", "b", "c", "d", "", "multi\nline", "e" };
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].row, qint64(i + 1));
        EXPECT_EQ(rows[i].cells.front(), firsts[int(i)]);
    }
    EXPECT_EQ(readAll("last,row").size(), 1u) << "no line end after the last row";

    // Reading a row again from where it started.
    Format format;
    CsvReader reader(text, format);
    qint64 offset = -1;
    while (reader.next()) {
        if (reader.row() == 6)
            offset = reader.offset();
    }
    reader.seek(offset, 6);
    ASSERT_TRUE(reader.next());
    EXPECT_EQ(reader.row(), 6);
    EXPECT_EQ(reader.cells(), (QStringList { "multi\nline", "x" }));
}

TEST(CsvReader, RefusesAnUnclosedQuoteAndARowOverAMegabyteNamingTheRow)
{
    QString error;
    auto rows = readAll("a,b\r\nc,\"never closed\r\nmore\r\n", ',', Encoding::Utf8, &error);
    EXPECT_EQ(rows.size(), 1u);
    EXPECT_EQ(error,
              QStringLiteral("Row 2 opens a quoted cell that is never closed. Please "
                             "check the quotes in that row."));

    // Many short lines inside one quoted cell still make one row too long.
    QByteArray big = "ok\r\n\"";
    while (big.size() <= Import::kMaxRowBytes + 10)
        big += "a fairly short line\n";
    big += "\",x\r\n";
    rows = readAll(big, ',', Encoding::Utf8, &error);
    EXPECT_EQ(rows.size(), 1u);
    EXPECT_TRUE(error.startsWith(QStringLiteral("Row 2 is longer than a megabyte")))
        << error.toStdString();
}

TEST(CsvReader, DecodesWindows1252IncludingTheCharactersLatin1LacksAndUtf8AsUtf8)
{
    // 0x80 is the euro sign, 0x93/0x94 curly quotes, 0xE9 é; 0x81 is undefined and stays C1.
    const QByteArray windows = "Caf\xE9 \x80 5,\x93quoted\x94 \x81";
    const auto rows = readAll(windows, ',', Encoding::Windows1252);
    EXPECT_EQ(rows[0].cells.join(u'|'), QString::fromUtf8("Café € 5|“quoted” \u0081"));
    EXPECT_EQ(readAll("Caf\xC3\xA9", ',', Encoding::Utf8)[0].cells[0], QString::fromUtf8("Café"));
}

TEST(CsvDetect, FindsTheEncodingAndTheSeparator)
{
    struct Case
    {
        const char *name;
        QByteArray bytes;
        Encoding encoding;
        bool bom;
        char separator;
    };
    const Case cases[] = {
        { "the export's own file",
          "\xEF\xBB\xBF\"Home Inventory Report for X\"\r\n\r\n\"Category\","
          "\"Asset\",\"Current Value\"\r\n\"Art\",\"Vase, blue\",\"$1,250.00\"\r\n"
          "\r\n\"Created by Domelio on Monday\"",
          Encoding::Utf8, true, ',' },
        { "UTF-8 without a mark", "Name,Room\nCafé table,Kitchen\n", Encoding::Utf8, false, ',' },
        { "Windows-1252", "Name;Price\nCaf\xE9 table;1.250,00 \x80\n", Encoding::Windows1252, false,
          ';' },
        // Decimal commas in every row do not make commas the separator.
        { "semicolons with decimal commas",
          "Name;Price;Value\nSofa;1250,00;900,50\nLamp;12,50;10,00\nRug;99,00;80,00\n",
          Encoding::Utf8, false, ';' },
        { "tabs", "Name\tPrice, paid\nSofa\t1,250\nLamp\t12\n", Encoding::Utf8, false, '\t' },
        { "Excel's sep= line", "sep=;\r\nName,Price;Value\r\nSofa,1;2\r\n", Encoding::Utf8, false,
          ';' },
        { "one column", "Name\nSofa\nLamp\n", Encoding::Utf8, false, ',' },
    };
    for (const Case &c : cases) {
        const Import::Detection found = Import::detect(c.bytes);
        EXPECT_TRUE(found.error.isEmpty()) << c.name << ": " << found.error.toStdString();
        EXPECT_EQ(found.format.encoding, c.encoding) << c.name;
        EXPECT_EQ(found.format.byteOrderMark, c.bom) << c.name;
        EXPECT_EQ(found.format.separator, c.separator) << c.name;
    }
    const Import::Detection excel = Import::detect("sep=;\r\nName,Price;Value\r\n");
    EXPECT_TRUE(excel.separatorLine);
    Format format = excel.format;
    CsvReader reader("sep=;\r\nName,Price;Value\r\n", format, true);
    ASSERT_TRUE(reader.next());
    EXPECT_EQ(reader.row(), 2) << "the sep= line is a row of the spreadsheet, not of the data";
    EXPECT_EQ(reader.cells(), (QStringList { "Name,Price", "Value" }));
}

TEST(CsvDetect, RefusesWhatIsNoTextToImportWithAClearReason)
{
    QByteArray png("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16);
    QByteArray longLine = "Name\r\n" + QByteArray(Import::kMaxRowBytes + 1, 'x') + "\r\n";
    const struct
    {
        QByteArray bytes;
        const char *reason;
    } cases[] = {
        { QByteArray(), "The file is empty" },
        { "\xEF\xBB\xBF \r\n\r\n\t", "The file is empty" },
        { png, "The file is not a text file" },
        { QByteArray("\x01\x02\x03\x04\x05 text with many controls \x06\x07\x08", 34),
          "The file is not a text file" },
        { QByteArray("\xFF\xFEN\0a\0m\0e\0", 10), "The file is saved as UTF-16" },
        { longLine, "Line 2 of the file is longer than a megabyte" },
    };
    for (const auto &c : cases) {
        const QString error = Import::detect(c.bytes).error;
        EXPECT_TRUE(error.startsWith(QLatin1String(c.reason))) << error.toStdString();
    }
    EXPECT_TRUE(
        Import::detect("Name\r\n" + QByteArray(Import::kMaxRowBytes - 2, 'x')).error.isEmpty())
        << "a line of exactly a megabyte is still read";
}

TEST(CsvReadFile, ReadsTheWholeFileAndRefusesOneThatChangesWhileRead)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("inventory.csv"));
    QByteArray content;
    for (int i = 0; i < 60000; ++i)
        content += "Asset " + QByteArray::number(i) + ",Kitchen,12.50\r\n";
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    QByteArray bytes;
    QString error;
    int reports = 0;
    ASSERT_TRUE(Import::readFile(path, bytes, &error, [&](qint64 done, qint64 total) {
        EXPECT_LE(done, total);
        ++reports;
        return true;
    })) << error.toStdString();
    EXPECT_EQ(bytes, content);
    EXPECT_GT(reports, 0) << "a file of megabytes reports its progress";

    // Another program appends while the file is read.
    bool appended = false;
    EXPECT_FALSE(Import::readFile(path, bytes, &error, [&](qint64, qint64) {
        if (!appended) {
            QFile file(path);
            EXPECT_TRUE(file.open(QIODevice::Append));
            file.write("Late asset,Garage,1\r\n");
            appended = true;
        }
        return true;
    }));
    EXPECT_EQ(error,
              QStringLiteral("\"inventory.csv\" changed while it was read. Please close "
                             "the program that is writing it, then import it again."));
    EXPECT_TRUE(bytes.isEmpty());

    // Stopped by the progress window's Cancel: nothing, and no message of its own.
    EXPECT_FALSE(Import::readFile(path, bytes, &error, [](qint64, qint64) { return false; }));
    EXPECT_TRUE(error.isEmpty());

    EXPECT_FALSE(Import::readFile(dir.filePath(QStringLiteral("missing.csv")), bytes, &error));
    EXPECT_TRUE(error.startsWith(QStringLiteral("\"missing.csv\" could not be opened")))
        << error.toStdString();
    EXPECT_FALSE(Import::readFile(dir.path(), bytes, &error));
}

} // namespace
