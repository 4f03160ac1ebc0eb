#pragma once

#include "Planner.h"

#include <QString>

#include <algorithm>
#include <cmath>

// How the planner shows its numbers: always "." as the point (the CSV file
// swaps in the regional separator), lengths in the chosen unit.

inline QString UnitName(LengthUnit unit)
{
    return unit == LengthUnit::Inch ? QStringLiteral("inch") : QStringLiteral("mm");
}

// A tenth of a millimetre or a thousandth of an inch, at least three
// significant digits.
inline QString FormatLength(double millimetres, LengthUnit unit)
{
    const double value = ToUnit(millimetres, unit);
    return QString::number(value, 'f', LengthDecimals(value, unit));
}

inline QString FormatLengthWithUnit(double millimetres, LengthUnit unit)
{
    return FormatLength(millimetres, unit) + u' ' + UnitName(unit);
}

// The value with the given significant digits before its trailing zeros
// are dropped, never in exponent form.
inline QString FixedSignificant(double value, int digits)
{
    const int decimals = std::max(0, digits - 1 - int(std::floor(std::log10(std::fabs(value)))));
    QString text = QString::number(value, 'f', decimals);
    if (text.contains(u'.')) {
        while (text.endsWith(u'0'))
            text.chop(1);
        if (text.endsWith(u'.'))
            text.chop(1);
    }
    return text;
}

// A length as the user would type it: six significant digits, no trailing
// zeros, never in exponent form.
inline QString FormatTypedLength(double millimetres, LengthUnit unit)
{
    const double value = ToUnit(millimetres, unit);
    QString text = QString::number(value, 'g', 6);
    if (!text.contains(u'e'))
        return text;
    return FixedSignificant(value, 6);
}

// A number text that the planner's fields read back without doubt: three
// decimals alone ("19.685") could be thousands, so a fourth digit is added.
inline QString Unambiguous(QString text)
{
    const qsizetype point = text.indexOf(u'.');
    const qsizetype digits = point - (text.startsWith(u'-') ? 1 : 0);
    if (point >= 0 && text.size() - point == 4 && digits <= 3 && !text.contains(u'e') &&
        text[point - digits] != u'0')
        text += u'0';
    return text;
}

// A length as a field shows it for editing.
inline QString FormatEditableLength(double millimetres, LengthUnit unit)
{
    return Unambiguous(FormatTypedLength(millimetres, unit));
}

// The shortest text that reads back as the same float length: 0.1 stays
// "0.1" rather than "0.100000001".
inline QString ExactLengthText(float millimetres, LengthUnit unit)
{
    QString text;
    for (int digits = 6; digits <= 9; ++digits) {
        text = QString::number(ToUnit(millimetres, unit), 'g', digits);
        if (float(FromUnit(text.toDouble(), unit)) == millimetres)
            break;
    }
    return text;
}

// A fitting range's ends as RangeAsShown gives them, which "best" compares.
struct RangeTexts
{
    QString Near;
    QString Far;
};

inline RangeTexts FormatRange(const TargetFit &range, LengthUnit unit)
{
    const ShownRange shown = RangeAsShown(range.Near, range.Far, unit);
    return {QString::number(shown.Near, 'f', shown.Decimals),
            QString::number(shown.Far, 'f', shown.Decimals)};
}

inline QString FormatRatio(double ratio)
{
    return QString::number(ratio, 'f', 1);
}

// Rounded down, so that a target that does not fit never shows 1.00.
inline QString FormatFigure(double figure)
{
    return QString::number(RoundDown(figure, 2), 'f', 2);
}
