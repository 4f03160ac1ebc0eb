#pragma once

#include "Planner.h"
#include "PlannerUnit/PlannerTexts.h"

#include <QFontMetricsF>
#include <QRectF>
#include <QStringList>
#include <QWidget>

#include <optional>
#include <vector>

class QPainter;

// A figure a data sheet prints, marked over the beams; millimetres.
struct ChartMark
{
    double Distance;
    double Spot;
};

// Everything the chart shows; the same data draws the screen and the files.
struct ChartData
{
    PlannerInput Input;
    PlannerResults Results;
    TPlannerTexts Texts;
    std::optional<double> Cursor;       // distance in mm
    std::optional<double> DistanceZoom; // the distance axis' end chosen with the wheel, mm
    // How to use the chart, where the readout goes while there is no
    // cursor; the screen's only, never in a file.
    QString Hint;
    std::vector<ChartMark> Marks;
};

// Where the plot and its texts lie in an area, and the distances and spots
// it spans (mm).
struct ChartFrame
{
    QRectF Plot;
    double XMax = 0;
    double YMax = 0;
    // The legend's lines, each the optics it names; the readout's lines.
    std::vector<std::vector<int>> LegendLines;
    QStringList ReadoutLines;
    double LineHeight = 0;
    double LaneHeight = 0; // one fitting range bar below the distance axis
};

// The distance axis' end that shows what matters: the working distance and
// every fitting range, with room beyond.
double NaturalDistanceSpan(const ChartData &data);

ChartFrame LayOutChart(const QRectF &area, const ChartData &data, const QFontMetricsF &metrics);

// Spot on the surface against distance: one curve per optics in its colour,
// the largest fitting spot, the working distance, each optics' fitting range
// along the distance axis and the cursor with its readout.
void DrawChart(QPainter &painter, const QRectF &area, const ChartData &data);

// The readout of the cursor: its distance, each optics' spot there and which
// optics fit there.
QString CursorReadout(const ChartData &data);

// The optics whose fitting range bar lies at a point, or -1.
int RangeBarAt(const ChartFrame &frame, const ChartData &data, const QPointF &point);
// A range bar's tooltip: the optics and its range, or that it has none.
QString RangeBarText(const ChartData &data, int optics);

// The chart on the screen; the mouse and the arrow keys move the cursor, the
// wheel zooms the distance axis and a double-click resets it.
class TPlannerChart : public QWidget
{
    Q_OBJECT
public:
    explicit TPlannerChart(QWidget *parent = nullptr);

    void SetPlan(const PlannerInput &input, const PlannerResults &results);
    void SetTexts(const TPlannerTexts &texts);
    void SetCursor(std::optional<double> distance);
    void SetMarks(std::vector<ChartMark> marks);
    // 1 is the natural span; a larger factor shows more distance.
    void ZoomDistance(double factor);
    void ResetZoom();
    const ChartData &Data() const { return FData; }
    ChartFrame Frame() const;

    QSize sizeHint() const override { return {640, 320}; }
    QSize minimumSizeHint() const override { return {320, 180}; }

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void KeepCursorOnAxis();
    void UpdateDescription();

    ChartData FData;
};
