#include "PastedPoints.h"

#include <algorithm>
#include <string>

namespace {

struct PasteLine
{
    int Number;
    std::vector<std::string> Cells;
    bool ByBlanks;
};

bool HasDigit(std::string_view text)
{
    return std::ranges::any_of(text, [](char c) { return c >= '0' && c <= '9'; });
}

bool IsBlankText(std::string_view text)
{
    return text.find_first_not_of(" \t") == std::string_view::npos;
}

std::vector<std::string> Split(std::string_view line, char separator)
{
    std::vector<std::string> cells;
    for (std::size_t end; (end = line.find(separator)) != line.npos; line.remove_prefix(end + 1))
        cells.emplace_back(line.substr(0, end));
    cells.emplace_back(line);
    return cells;
}

// Runs of plain spaces part the cells; a word without a digit, a unit, stays
// with the number before it, a diameter sign with the number after it.
std::vector<std::string> SplitAtBlanks(std::string_view line)
{
    std::vector<std::string> cells;
    bool joinNext = false;
    for (const std::string &word : Split(line, ' ')) {
        if (word.empty())
            continue;
        if (!cells.empty() && (joinNext || (!HasDigit(word) && HasDigit(cells.back()))))
            cells.back() += ' ' + word;
        else
            cells.push_back(word);
        joinNext =
            !HasDigit(word) && (word == "\xc3\x98" || word == "\xc3\xb8" || word == "\xe2\x8c\x80");
    }
    return cells;
}

PasteLine SplitLine(int number, std::string_view line)
{
    if (line.find('\t') != line.npos)
        return {number, Split(line, '\t'), false};
    if (line.find(';') != line.npos)
        return {number, Split(line, ';'), false};
    if (ReadSpotAt(line, LengthUnit::Millimetre).HasDistance && HasDigit(line))
        return {number, {std::string(line)}, true};
    return {number, SplitAtBlanks(line), true};
}

// The length units a header names, in its order: "[mm]", "(m)", "in inch".
std::vector<std::string> HeaderUnits(std::string_view text)
{
    std::vector<std::string> units;
    const auto word = [&](std::size_t at) {
        const std::size_t end = std::min(text.find_first_of(" \t)]", at), text.size());
        return text.substr(at, end - at);
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool bracket = text[i] == '[' || text[i] == '(';
        const bool in = (text.substr(i, 3) == "in " || text.substr(i, 3) == "In ") &&
                        (i == 0 || text[i - 1] == ' ' || bracket);
        std::size_t at = i + (bracket ? 1 : in ? 3 : 0);
        if (bracket && (text.substr(at, 3) == "in " || text.substr(at, 3) == "In "))
            at += 3;
        if (!bracket && !in)
            continue;
        at = std::min(text.find_first_not_of(' ', at), text.size());
        const std::string_view unit = word(at);
        if (MillimetresPerUnit(unit)) {
            units.emplace_back(unit);
            i = at + unit.size();
        }
    }
    return units;
}

// A bare number in a column the header names a unit for is read in it.
std::string WithUnit(std::string cell, const std::string &unit)
{
    const std::size_t last = cell.find_last_not_of(" \t");
    if (!unit.empty() && last != cell.npos &&
        (HasDigit(cell.substr(last, 1)) || cell[last] == '.' || cell[last] == ','))
        cell += ' ' + unit;
    return cell;
}

} // namespace

PastedPoints ReadPastedPoints(std::string_view text, LengthUnit unit)
{
    PastedPoints result;
    std::vector<PasteLine> lines;
    std::vector<std::string> columnUnits;
    std::vector<std::string> numbers;
    for (int number = 1; !text.empty(); ++number) {
        const std::size_t end = std::min(text.find_first_of("\r\n"), text.size());
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(end);
        text.remove_prefix(text.starts_with("\r\n") ? 2 : std::min<std::size_t>(1, text.size()));
        if (IsBlankText(line))
            continue;
        PasteLine cells = SplitLine(number, line);
        if (!HasDigit(line)) {
            result.HeaderSkipped = true;
            std::vector<std::string> named;
            for (const std::string &cell :
                 cells.ByBlanks ? std::vector{std::string(line)} : cells.Cells) {
                const std::vector<std::string> units = HeaderUnits(cell);
                if (cells.ByBlanks)
                    named = units;
                else
                    named.push_back(units.empty() ? std::string() : units.front());
            }
            if (std::ranges::any_of(named, [](const std::string &u) { return !u.empty(); }))
                columnUnits = named;
            continue;
        }
        for (std::size_t i = 0; cells.Cells.size() >= 2 && i < cells.Cells.size(); ++i)
            cells.Cells[i] = WithUnit(cells.Cells[i], i < columnUnits.size() ? columnUnits[i] : "");
        numbers.insert(numbers.end(), cells.Cells.begin(), cells.Cells.end());
        lines.push_back(std::move(cells));
    }
    result.Mark = SettleDecimalMark(numbers);

    for (const PasteLine &line : lines) {
        FieldReading distance;
        FieldReading spot;
        if (line.Cells.size() >= 2) {
            distance = ReadPlannerField(line.Cells[0], FieldKind::Position, unit, result.Mark);
            spot = ReadPlannerField(line.Cells[1], FieldKind::Length, unit, result.Mark);
        } else {
            const SpotAtReading reading =
                ReadSpotAt(line.Cells.front(), unit, result.Mark, FieldKind::Position);
            if (!reading.HasDistance) {
                result.Skipped.push_back({line.Number, -1, {std::nullopt, FieldProblem::Empty}});
                continue;
            }
            distance = reading.Distance;
            spot = reading.Spot;
        }
        if (distance.Problem)
            result.Skipped.push_back({line.Number, 0, distance});
        else if (spot.Problem)
            result.Skipped.push_back({line.Number, 1, spot});
        else {
            result.Points.push_back({*distance.Value, *spot.Value});
            result.Lines.push_back(line.Number);
        }
    }
    return result;
}
