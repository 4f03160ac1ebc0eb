#pragma once

#include "Planner.h"
#include "PlannerUnit/PlannerTexts.h"

#include <QByteArray>
#include <QRgb>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>
#include <vector>

// The planner's optics list as a file to share: one row per optics with
// name, M90, a, D and colour.

struct OpticsFileRow
{
    QString Name;
    std::array<std::optional<float>, 3> Data; // M90, a, D in mm; empty where not valid
    std::optional<QRgb> Colour;               // 0xRRGGBB; empty: the list picks one
};

// The program's CSV conventions: ";" between cells, decimalSeparator in the
// numbers, Windows-1252, CR LF; the lengths in unit, named in the header,
// and the colour as #RRGGBB.
QByteArray OpticsCsv(const std::vector<OpticsFileRow> &rows, LengthUnit unit,
                     const TPlannerTexts &texts, char decimalSeparator);

struct OpticsImport
{
    std::vector<OpticsFileRow> Rows; // the good rows that fit, complete
    QStringList Problems;            // one per bad row, with its line number
    int NotFitting = 0;              // good rows beyond the room left
    QString FileProblem;             // the whole file was refused
    // How the file's lengths write their decimals, settled over all of them.
    DecimalMark Mark = DecimalMark::Unsettled;
};

// What a spreadsheet saves: ";", "," or a tab between cells, "." or "," as
// the decimal point, Windows-1252, UTF-8 or UTF-16 with a byte-order mark,
// mm or inch named in the header, quoted cells. room is how many optics the
// list still takes.
OpticsImport ReadOpticsCsv(const QByteArray &bytes, int room, const TPlannerTexts &texts);

// The message after an import: the rows not taken and the decimal mark the
// file settled; empty when every row was taken and no mark was settled.
QString ImportMessage(const OpticsImport &import, const TPlannerTexts &texts);
