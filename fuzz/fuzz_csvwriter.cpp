// The CSV writer on arbitrary tables: a strict reader of the file format must
// give back every cell, as the save-cell handler left it and as
// Windows-1252 holds it.
//
// Input: the cells as UTF-8, split at TAB, filled into rows of two; row 0 is
// the header row.

#include "shared/Cp1252.h"
#include "shared/CsvWriter.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr int ColumnCount = 2;
constexpr char Delimiter = ';';

using Row = std::array<QByteArray, ColumnCount>;

[[noreturn]] void Fail(const char *what, qsizetype row, const QByteArray &csv)
{
    std::fprintf(stderr, "fuzz_csvwriter: %s (line %lld) in \"%s\"\n", what,
                 static_cast<long long>(row + 1), csv.toPercentEncoding(" ;\"").constData());
    std::abort();
}

// Needs quotes: the delimiter, a quote, or a line break, which would
// otherwise end the line early.
bool NeedsQuotes(const QByteArray &field)
{
    return field.contains(Delimiter) || field.contains('"') || field.contains('\r') ||
           field.contains('\n');
}

// The file format and nothing else: two fields a line, CR LF after every
// line, bare fields without delimiter, quote or line break, quoted fields
// with doubled quotes only where needed, "" for an empty field.
QList<Row> ReadStrictCsv(const QByteArray &csv)
{
    QList<Row> rows;
    qsizetype pos = 0;
    const qsizetype size = csv.size();
    while (pos < size) {
        const qsizetype line = rows.size();
        Row row;
        for (int column = 0; column < ColumnCount; ++column) {
            if (column > 0) {
                if (pos >= size || csv[pos] != Delimiter)
                    Fail("no delimiter after the first field", line, csv);
                ++pos;
            }
            QByteArray &field = row[column];
            if (pos < size && csv[pos] == '"') {
                ++pos;
                for (;;) {
                    if (pos >= size)
                        Fail("an unterminated quoted field", line, csv);
                    if (csv[pos] == '"') {
                        if (pos + 1 < size && csv[pos + 1] == '"') {
                            field.append('"');
                            pos += 2;
                            continue;
                        }
                        ++pos;
                        break;
                    }
                    field.append(csv[pos++]);
                }
                if (!field.isEmpty() && !NeedsQuotes(field))
                    Fail("a field quoted without need", line, csv);
            } else {
                const qsizetype start = pos;
                while (pos < size && csv[pos] != Delimiter && csv[pos] != '"' && csv[pos] != '\r' &&
                       csv[pos] != '\n')
                    ++pos;
                if (pos == start)
                    Fail("an empty field not written as \"\"", line, csv);
                if (pos < size && csv[pos] == '"')
                    Fail("a quote inside a bare field", line, csv);
                field = csv.mid(start, pos - start);
            }
        }
        if (csv.mid(pos, 2) != "\r\n")
            Fail("the line does not end in CR LF after two fields", line, csv);
        pos += 2;
        rows.append(row);
    }
    return rows;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    QList<QString> cells;
    for (const QByteArray &cell : input.split('\t'))
        cells.append(QString::fromUtf8(cell));
    const int rowCount = int((cells.size() + ColumnCount - 1) / ColumnCount);
    const auto cellText = [&cells](int column, int row) {
        const qsizetype index = qsizetype(row) * ColumnCount + column;
        return index < cells.size() ? cells[index] : QString();
    };

    // The window's handler under a decimal comma; it also records the order
    // in which the cells are handed to it.
    int calls = 0;
    QList<Row> expected(rowCount);
    const auto saveCell = [&](int column, int row, QString &value) {
        if (row * ColumnCount + column != calls++)
            Fail("a cell handed to the handler out of order", row, {});
        if (value != cellText(column, row))
            Fail("the handler was given another text than the cell's", row, {});
        if (row > 0)
            value.replace(QLatin1Char('.'), QLatin1Char(','));
        expected[row][column] = ToCp1252(value);
    };

    const QByteArray csv = BuildCsv(ColumnCount, rowCount, cellText, Delimiter, saveCell);
    if (calls != rowCount * ColumnCount)
        Fail("not every cell was handed to the handler", calls / ColumnCount, csv);

    const QList<Row> rows = ReadStrictCsv(csv);
    if (rows.size() != rowCount)
        Fail("the file has another number of lines than the table rows", rows.size(), csv);
    for (qsizetype row = 0; row < rowCount; ++row) {
        if (rows[row] != expected[row])
            Fail("a cell reads back differently", row, csv);
    }
    return 0;
}
