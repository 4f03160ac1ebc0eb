#include "PastedPoints.h"

#include <algorithm>
#include <string>

// TODO: blanks, units in the header and cells, "@" cells, the block's mark.
PastedPoints ReadPastedPoints(std::string_view text, LengthUnit unit)
{
    PastedPoints result;
    int line = 0;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        std::string row(text.substr(0, end));
        text.remove_prefix(std::min(end + 1, text.size()));
        ++line;
        std::erase(row, '\r');
        if (row.empty())
            continue;
        const char separator = row.find('\t') != std::string::npos ? '\t' : ';';
        const std::size_t split = row.find(separator);
        if (split == std::string::npos) {
            result.Skipped.push_back({line, -1, {std::nullopt, FieldProblem::Empty}});
            continue;
        }
        const std::string_view view(row);
        const FieldReading distance =
            ReadPlannerField(view.substr(0, split), FieldKind::Position, unit);
        const FieldReading spot = ReadPlannerField(view.substr(split + 1), FieldKind::Length, unit);
        if (!ParsePlannerNumber(view.substr(0, split)) &&
            !ParsePlannerNumber(view.substr(split + 1)))
            result.HeaderSkipped = true;
        else if (distance.Problem)
            result.Skipped.push_back({line, 0, distance});
        else if (spot.Problem)
            result.Skipped.push_back({line, 1, spot});
        else {
            result.Points.push_back({*distance.Value, *spot.Value});
            result.Lines.push_back(line);
        }
    }
    return result;
}
