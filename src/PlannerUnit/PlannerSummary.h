#pragma once

#include "Planner.h"
#include "PlannerUnit/PlannerTexts.h"

#include <QString>

// The answer in one line: which optics fits best and where, or that none
// fits and which one comes nearest; the ends rounded inward as in the table.
// Where no optics holds valid data or a target field is empty, what is
// missing instead.
QString PlannerSummary(const PlannerInput &input, const PlannerResults &results,
                       const TPlannerTexts &texts);
