#pragma once

#include "PlannerField.h"

#include <QString>

#include <array>

// The planner's texts, from the language file's section of the current
// language. Where a key is missing or empty (a language file older than the
// planner) the built-in text of that language stands in, so an older file
// still gives a complete window.
enum class PlannerText
{
    Title,
    Menu,
    MenuItem,
    OpticsBox,
    Name,
    Colour,
    Add,
    Duplicate,
    Remove,
    ChooseColour,
    CalculatorRow,
    NewOptics,
    OpticsHint,
    TargetBox,
    Target,
    Distance,
    Margin,
    Tilt,
    Unit,
    MarginNote,
    TiltNote,
    Comparison,
    HeadOptics,
    HeadSpot,
    HeadSurface,
    HeadRatio,
    HeadRatioFocus,
    HeadRatioFar,
    HeadFits,
    HeadFigure,
    HeadRange,
    HeadFrom,
    HeadTo,
    HeadBest,
    Best,
    Yes,
    No,
    None,
    Chart,
    AxisDistance,
    AxisSpot,
    LargestSpot,
    ChartHint,
    ExportCsv,
    SavePng,
    SaveSvg,
    ErrNumber,
    ErrPositive,
    ErrTilt,
    ErrEmpty,
    ErrRange,
    SummaryFits,
    SummaryNearest,
    SummaryNowhere,
    SummaryIncomplete,
    SummaryNoOptics,
    CursorAt,
    FitsHere,
    ZoomHint,
    DataSheet,
    DataSheetTitle,
    FormRatios,
    FormFocusSpot,
    FormPoints,
    FocusDistance,
    RatioAtFocus,
    RatioFarField,
    SpotAtFocus,
    Deviation,
    LargestDeviation,
    PastePoints,
    ResultBox,
    ErrDNotPositive,
    ErrFewPoints,
    ErrOneSide,
    ErrNegative,
    ErrAmbiguous,
    ErrNoLength,
    ErrRatio,
    ImportButton,
    ExportButton,
    PrintButton,
    ImportNotRead,
    ImportLine,
    ImportNoRoom,
    ImportNoUnit,
    ImportEmpty,
    ImportFewCells,
    ImportNoName,
    ImportBadColour,
    ImportMarkPoint,
    ImportMarkComma,
    SheetTitle,
    SheetInputs,
    DsUnit,
    FarDistance,
    FarFieldNote,
    Missing,
    ErrFarSmaller,
    ErrFarBeyond,
    ErrTwoFoci,
    ErrNotSingle,
    Determined,
    PrintedFocus,
    KeepFocus,
    BothDeviations,
    DeterminedShort,
    FreeFocus,
    KeptFocus,
    PrintedFigures,
    PasteLeftOut,
    PasteNotTaken,
    PasteNoSpot,
    ListFull,
    Count
};

class TPlannerTexts
{
public:
    // The built-in texts of that language; English for a language without
    // built-ins.
    explicit TPlannerTexts(const QString &language = QStringLiteral("English"));

    // Reads every key from the language file, by default the Lang.ini beside
    // the executable.
    static TPlannerTexts Load(const QString &language, const QString &fileName = {});

    const QString &operator[](PlannerText id) const { return FTexts[std::size_t(id)]; }
    bool German() const { return FGerman; }

private:
    std::array<QString, std::size_t(PlannerText::Count)> FTexts;
    bool FGerman = false;
};

// The key of a text in the language file.
QString PlannerTextKey(PlannerText id);

// Why a field holds no value, in the texts' language; a range names its
// limits in unit.
QString FieldProblemText(const TPlannerTexts &texts, FieldProblem problem, LengthUnit unit);
// The same for a reading, which names both readings of an ambiguous number.
QString FieldProblemText(const TPlannerTexts &texts, const FieldReading &reading, LengthUnit unit);
