#pragma once
// What the fuzzer does with one input, shared by the libFuzzer harness and the test that replays
// the seed corpus and every crash input kept: the bytes go through the reader and the row
// converter as an import would take them. The first byte chooses what the dialog would let a
// user choose (locale, separator, encoding, headers, fields); the rest is the file.

#include "exchange/csv_reader.h"
#include "exchange/import_rows.h"

#include <QLocale>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

inline void importFuzzOne(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return;
    const std::uint8_t choice = data[0];
    const QByteArray bytes(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    static const QLocale locales[] = { QLocale(QLocale::English, QLocale::UnitedStates),
                                       QLocale(QLocale::German, QLocale::Germany),
                                       QLocale(QLocale::French, QLocale::France),
                                       QLocale(QLocale::German, QLocale::Switzerland) };
    const QLocale &locale = locales[choice & 3];

    const Import::Detection found = Import::detect(bytes);
    Import::Format format = found.format;
    if (choice & 0x04)
        format.separator = Import::kSeparators[(choice >> 3) % 3];
    if (choice & 0x20)
        format.encoding = format.encoding == Import::Encoding::Utf8 ? Import::Encoding::Windows1252
                                                                    : Import::Encoding::Utf8;
    format.headers = choice & 0x40;

    Import::CsvReader reader(bytes, format, found.separatorLine);
    Import::Values values(locale);
    std::vector<Import::Field> fields;
    std::optional<Import::RowConverter> converter;
    Import::Row row;
    std::vector<Import::Problem> problems;
    qint64 firstOffset = -1;
    qint64 firstRow = 0;
    for (int rows = 0; reader.next() && rows < 100000; ++rows) {
        const QStringList &cells = reader.cells();
        Import::isExportTitle(cells);
        Import::isExportClosing(cells);
        if (fields.empty()) {
            firstOffset = reader.offset();
            firstRow = reader.row();
            Import::looksLikeHeaders(cells, values);
            if (format.headers) {
                fields = Import::fieldsForHeaders(cells);
            } else {
                // Without headers, the columns take every field in turn.
                for (int i = 0; i < cells.size(); ++i)
                    fields.push_back(Import::Field((i + (choice >> 7)) % Import::kFieldCount));
            }
            converter.emplace(fields, locale);
            if (format.headers)
                continue;
        }
        problems.clear();
        converter->convert(cells, row, problems);
        for (const QString &cell : cells) {
            values.amount(cell);
            values.date(cell);
        }
    }
    // Back to the first row, as the skipped rows' list reads rows again.
    if (firstOffset >= 0) {
        reader.seek(firstOffset, firstRow);
        reader.next();
    }
}
