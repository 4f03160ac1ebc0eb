#pragma once

#include "PlannerUnit/InputLines.h"
#include "PlannerUnit/PlannerChart.h"

#include <QColor>
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

class QAbstractItemModel;
class QPainter;
class QPrinter;

// One printed page of a decision: what was asked, how the optics compare and
// the chart.
struct DecisionSheetData
{
    QString Title;
    QDate Date;
    QString InputsHeading;
    QList<InputLine> Inputs;
    QString ComparisonHeading;
    QString Summary; // the answer in one line
    QStringList Headers;
    QList<QStringList> Rows;
    QList<QColor> Swatches;   // per row, the optics' colour
    QList<QColor> Highlights; // per row, the table's background; invalid for none
    QList<bool> Bold;         // per row
    QString ChartHeading;
    ChartData Chart;
};

// The page from the planner's chart data and its comparison table as the
// screen shows it, so the best row is marked the same way.
DecisionSheetData GatherDecisionSheet(const ChartData &chart, const QAbstractItemModel &comparison,
                                      const QDate &date);

// Draws the page into page, in units of 1/96 inch.
void DrawDecisionSheet(QPainter &painter, const QRectF &page, const DecisionSheetData &data);

// The chart as the files get it, without the cursor and the hint: a
// picture of size (1/96 inch) with scale times the pixels.
QImage ChartPicture(const ChartData &data, QSize size, const QFont &font, int scale);

// One portrait page, A4 unless the printer has US Letter, through a part file
// for PDF; a failed job throws and leaves a fresh copy of the printer.
void PrintDecisionSheet(std::unique_ptr<QPrinter> &printer, const DecisionSheetData &data);
