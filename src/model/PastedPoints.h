#pragma once

#include "DataSheetOptics.h"
#include "PlannerField.h"

#include <string_view>
#include <vector>

// A spot-size diagram pasted from a spreadsheet or a data sheet: one point a
// line, distance then spot, split by a tab or ";", or by runs of blanks
// where a line has neither; or one "8 mm @ 610 mm" cell. A header line (no
// number in it) is skipped and its units, "[mm]", "(m)" or "in inch", hold
// for its columns; a unit in a cell wins. The block settles its decimal
// mark as a file does.

// A line that was not taken, and why: Column 0 is the distance, 1 the spot;
// -1 is the line as a whole, with the problem Empty: it gives no spot.
struct PasteSkip
{
    int Line; // from 1
    int Column;
    FieldReading Reading;
};

struct PastedPoints
{
    std::vector<SpotPoint> Points; // every point taken, in millimetres
    std::vector<int> Lines;        // the line each point came from
    std::vector<PasteSkip> Skipped;
    bool HeaderSkipped = false;
    DecimalMark Mark = DecimalMark::Unsettled;
};

// Reads every line; the caller decides how many points it takes. unit holds
// for numbers whose cell and column name none.
PastedPoints ReadPastedPoints(std::string_view text, LengthUnit unit);
