#pragma once

#include "Planner.h"
#include "PlannerUnit/PlannerTexts.h"

#include <QByteArray>
#include <QList>
#include <QString>

// The inputs a result was computed for, in the order target, working
// distance, margin, tilt, unit. Value has "." as the point and is empty where
// the field holds no valid value; Unit is the value's unit, if any.
struct InputLine
{
    QString Label;
    QString Value;
    QString Unit;
};
QList<InputLine> InputLines(const PlannerInput &input, const TPlannerTexts &texts);

// The lines as the head of a CSV file, so a file found later says what it
// answers: one line per input, label (with its unit) and value, then an
// empty line; the program's CSV conventions, decimalSeparator in numbers.
QByteArray InputLinesCsv(const PlannerInput &input, const TPlannerTexts &texts,
                         char decimalSeparator);
