#include "PlannerUnit/OpticsFile.h"

#include "PlannerUnit/PlannerFormat.h"
#include "shared/Cp1252.h"
#include "shared/CsvWriter.h"

#include <QRegularExpression>
#include <QStringDecoder>

namespace {

constexpr int NameCell = 0;
constexpr int ColourCell = 4;
constexpr int CellCount = 5;
const char *const DataNames[] = {"M90", "a", "D"};

QString ColourName(QRgb colour)
{
    return u'#' + QStringLiteral("%1").arg(colour & 0xffffff, 6, 16, QChar(u'0')).toUpper();
}

QString Decode(const QByteArray &bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes.mid(3));
    if (bytes.startsWith("\xFF\xFE"))
        return QStringDecoder(QStringDecoder::Utf16LE)(bytes.mid(2));
    if (bytes.startsWith("\xFE\xFF"))
        return QStringDecoder(QStringDecoder::Utf16BE)(bytes.mid(2));
    // Text that is valid UTF-8 is almost never meant as Windows-1252; pure
    // ASCII reads the same either way.
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8(bytes);
    return utf8.hasError() ? FromCp1252(bytes) : text;
}

struct Record
{
    int Line;
    QStringList Cells;
};

QChar Delimiter(const QString &firstLine)
{
    int counts[3] = {};
    const QChar candidates[3] = {u'\t', u';', u','};
    bool quoted = false;
    for (const QChar c : firstLine) {
        if (c == u'"')
            quoted = !quoted;
        for (int i = 0; i < 3 && !quoted; ++i)
            counts[i] += c == candidates[i];
    }
    for (int i = 0; i < 3; ++i)
        if (counts[i] > 0)
            return candidates[i];
    return u';';
}

// Cells of each record with their quotes undone; a quoted cell may hold the
// delimiter, doubled quotes and line breaks. Line is where the record starts.
std::vector<Record> SplitRecords(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    const QChar delimiter = Delimiter(text.section(u'\n', 0, 0));
    std::vector<Record> records;
    Record record{1, {}};
    QString cell;
    bool quoted = false;
    int line = 1;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == u'"' && i + 1 < text.size() && text[i + 1] == u'"') {
                cell += c;
                ++i;
            } else if (c == u'"') {
                quoted = false;
            } else {
                cell += c;
                line += c == u'\n';
            }
        } else if (c == u'"') {
            quoted = true;
        } else if (c == delimiter) {
            record.Cells.append(cell);
            cell.clear();
        } else if (c == u'\n') {
            record.Cells.append(cell);
            records.push_back(record);
            cell.clear();
            record = Record{++line, {}};
        } else {
            cell += c;
        }
    }
    if (!cell.isEmpty() || !record.Cells.isEmpty()) {
        record.Cells.append(cell);
        records.push_back(record);
    }
    return records;
}

// mm or inch, from a header cell; neither or both give none.
std::optional<LengthUnit> UnitOfHeader(const QString &header)
{
    static const QRegularExpression mm(QStringLiteral("\\bmm\\b"),
                                       QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression inch(QStringLiteral("\\binch(es)?\\b"),
                                         QRegularExpression::CaseInsensitiveOption);
    const bool isMm = header.contains(mm);
    const bool isInch = header.contains(inch);
    if (isMm == isInch)
        return std::nullopt;
    return isMm ? LengthUnit::Millimetre : LengthUnit::Inch;
}

bool IsBlank(const QStringList &cells)
{
    return std::all_of(cells.begin(), cells.end(),
                       [](const QString &cell) { return cell.trimmed().isEmpty(); });
}

// The row, or the reasons it is not taken.
std::optional<OpticsFileRow> ReadRow(const QStringList &cells,
                                     const std::array<LengthUnit, 3> &units, DecimalMark mark,
                                     const TPlannerTexts &texts, QStringList &reasons)
{
    if (cells.size() <= 3) {
        reasons.append(texts[PlannerText::ImportFewCells]);
        return std::nullopt;
    }
    OpticsFileRow row;
    row.Name = cells[NameCell].trimmed();
    if (row.Name.isEmpty())
        reasons.append(texts[PlannerText::ImportNoName]);
    for (int i = 0; i < 3; ++i) {
        const LengthUnit unit = units[std::size_t(i)];
        const FieldReading reading =
            ReadPlannerField(cells[i + 1].toStdString(), FieldKind::Length, unit, mark);
        // The table's own rules: a row taken shows in the table unmarked.
        if (reading.Problem)
            reasons.append(QLatin1String(DataNames[i]) + QStringLiteral(": ") +
                           FieldProblemText(texts, reading, unit));
        else
            row.Data[std::size_t(i)] = float(*reading.Value);
    }
    static const QRegularExpression colour(QStringLiteral("^#[0-9A-Fa-f]{6}$"));
    const QString colourCell = cells.size() > ColourCell ? cells[ColourCell].trimmed() : QString();
    if (colourCell.contains(colour))
        row.Colour = colourCell.mid(1).toUInt(nullptr, 16);
    else if (!colourCell.isEmpty())
        reasons.append(texts[PlannerText::ImportBadColour]);
    if (!reasons.isEmpty())
        return std::nullopt;
    return row;
}

} // namespace

QByteArray OpticsCsv(const std::vector<OpticsFileRow> &rows, LengthUnit unit,
                     const TPlannerTexts &texts, char decimalSeparator)
{
    const QString separator = FromCp1252(QByteArray(1, decimalSeparator));
    const QString unitText = QStringLiteral(" [") + UnitName(unit) + u']';
    const auto cell = [&](int column, int row) -> QString {
        if (row == 0) {
            if (column == NameCell)
                return texts[PlannerText::Name];
            if (column == ColourCell)
                return texts[PlannerText::Colour];
            return QLatin1String(DataNames[column - 1]) + unitText;
        }
        const OpticsFileRow &r = rows[std::size_t(row - 1)];
        if (column == NameCell)
            return r.Name;
        if (column == ColourCell)
            return r.Colour ? ColourName(*r.Colour) : QString();
        const std::optional<float> &value = r.Data[std::size_t(column - 1)];
        if (!value)
            return QString();
        // A fourth decimal keeps the file readable without doubt.
        QString text = Unambiguous(ExactLengthText(*value, unit));
        return text.replace(u'.', separator);
    };
    return BuildCsv(CellCount, int(rows.size()) + 1, cell, ';', nullptr);
}

OpticsImport ReadOpticsCsv(const QByteArray &bytes, int room, const TPlannerTexts &texts)
{
    OpticsImport result;
    const std::vector<Record> records = SplitRecords(Decode(bytes));
    std::size_t first = 0;
    while (first < records.size() && IsBlank(records[first].Cells))
        ++first;
    if (first == records.size()) {
        result.FileProblem = texts[PlannerText::ImportEmpty];
        return result;
    }

    // A file whose unit is not named could be off by 25.4 in every length.
    std::array<LengthUnit, 3> units{};
    const QStringList &header = records[first].Cells;
    for (int i = 0; i < 3; ++i) {
        const std::optional<LengthUnit> unit =
            i + 1 < header.size() ? UnitOfHeader(header[i + 1]) : std::nullopt;
        if (!unit) {
            result.FileProblem = texts[PlannerText::ImportNoUnit];
            return result;
        }
        units[std::size_t(i)] = *unit;
    }

    // One file writes its decimals one way: "12,5" in one cell makes "1.250"
    // in another 1250.
    std::vector<std::string> lengths;
    for (std::size_t r = first + 1; r < records.size(); ++r) {
        for (qsizetype i = 1; i <= 3 && i < records[r].Cells.size(); ++i)
            lengths.push_back(records[r].Cells[i].toStdString());
    }
    result.Mark = SettleDecimalMark(lengths);

    for (std::size_t r = first + 1; r < records.size(); ++r) {
        const Record &record = records[r];
        if (IsBlank(record.Cells))
            continue;
        QStringList reasons;
        const std::optional<OpticsFileRow> row =
            ReadRow(record.Cells, units, result.Mark, texts, reasons);
        if (!row)
            result.Problems.append(texts[PlannerText::ImportLine].arg(
                QString::number(record.Line), reasons.join(QStringLiteral("; "))));
        else if (int(result.Rows.size()) < room)
            result.Rows.push_back(*row);
        else
            ++result.NotFitting;
    }
    if (result.Rows.empty() && result.Problems.isEmpty() && result.NotFitting == 0)
        result.FileProblem = texts[PlannerText::ImportEmpty];
    return result;
}

QString ImportMessage(const OpticsImport &import, const TPlannerTexts &texts)
{
    if (!import.FileProblem.isEmpty())
        return import.FileProblem;
    QStringList lines;
    if (!import.Problems.isEmpty())
        lines << texts[PlannerText::ImportNotRead] << import.Problems;
    if (import.NotFitting > 0) {
        if (!lines.isEmpty())
            lines << QString();
        lines << texts[PlannerText::ImportNoRoom].arg(import.NotFitting).arg(MaxPlannerOptics);
    }
    if (import.Mark != DecimalMark::Unsettled) {
        if (!lines.isEmpty())
            lines << QString();
        lines << texts[import.Mark == DecimalMark::Comma ? PlannerText::ImportMarkComma
                                                         : PlannerText::ImportMarkPoint];
    }
    return lines.join(u'\n');
}
