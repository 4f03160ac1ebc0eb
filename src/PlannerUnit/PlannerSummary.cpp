#include "PlannerUnit/PlannerSummary.h"

#include "PlannerUnit/PlannerFormat.h"

QString PlannerSummary(const PlannerInput &input, const PlannerResults &results,
                       const TPlannerTexts &texts)
{
    if (!input.Target || !input.Distance || !input.Margin || !input.Tilt)
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
