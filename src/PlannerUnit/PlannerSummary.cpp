#include "PlannerUnit/PlannerSummary.h"

#include "PlannerUnit/PlannerFormat.h"

#include <algorithm>

QString PlannerSummary(const PlannerInput &input, const PlannerResults &results,
                       const TPlannerTexts &texts)
{
    // Without data to compare there is no answer, only what is missing: the
    // optics first, then the target's fields where they are missing too.
    const bool anyOptics = std::any_of(input.Optics.begin(), input.Optics.end(),
                                       [](const PlannerOptics &o) { return o.Optics.has_value(); });
    const bool complete = input.Target && input.Distance && input.Margin && input.Tilt;
    if (!anyOptics)
        return complete ? texts[PlannerText::SummaryNoOptics]
                        : texts[PlannerText::SummaryNoOptics] + u' ' +
                              texts[PlannerText::SummaryIncomplete];
    if (!complete)
        return texts[PlannerText::SummaryIncomplete];
    const LengthUnit unit = input.Unit;
    // The target and the distance as a person would type them.
    const QString target = FormatTypedLength(*input.Target, unit) + u' ' + UnitName(unit);
    const QString distance = FormatTypedLength(*input.Distance, unit) + u' ' + UnitName(unit);
    const auto name = [&](int row) {
        return QString::fromStdString(input.Optics[std::size_t(row)].Name);
    };
    const auto range = [&](int row) {
        return FormatRange(*results.Rows[std::size_t(row)].Range, unit);
    };
    if (results.Best >= 0) {
        const RangeTexts ends = range(results.Best);
        return texts[PlannerText::SummaryFits].arg(
            target, distance, name(results.Best),
            FormatFigure(*results.Rows[std::size_t(results.Best)].Figure), ends.Near,
            ends.Far + u' ' + UnitName(unit));
    }
    if (results.Nearest >= 0) {
        const RangeTexts ends = range(results.Nearest);
        return texts[PlannerText::SummaryNearest].arg(target, distance, name(results.Nearest),
                                                      ends.Near, ends.Far + u' ' + UnitName(unit));
    }
    return texts[PlannerText::SummaryNowhere].arg(target, distance);
}
