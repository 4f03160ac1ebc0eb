#pragma once

#include "Planner.h"
#include "PlannerUnit/PlannerTexts.h"

#include <QRectF>
#include <QWidget>

#include <optional>

class QPainter;

// Everything the chart shows; the same data draws the screen and the files.
struct ChartData
{
    PlannerInput Input;
    PlannerResults Results;
    TPlannerTexts Texts;
    std::optional<double> Cursor; // distance in mm
};

// Where the plot lies in an area, and the distances and spots it spans (mm).
struct ChartFrame
{
    QRectF Plot;
    double XMax = 0;
    double YMax = 0;
};

ChartFrame LayOutChart(const QRectF &area, const ChartData &data);

// Spot on the surface against distance: one curve per optics in its colour,
// the largest fitting spot, the working distance, each optics' fitting range
// along the distance axis and the cursor with its readout.
void DrawChart(QPainter &painter, const QRectF &area, const ChartData &data);

// The readout of the cursor: its distance and each optics' spot there.
QString CursorReadout(const ChartData &data);

// The chart on the screen; the mouse and the arrow keys move the cursor.
class TPlannerChart : public QWidget
{
    Q_OBJECT
public:
    explicit TPlannerChart(QWidget *parent = nullptr);

    void SetPlan(const PlannerInput &input, const PlannerResults &results);
    void SetTexts(const TPlannerTexts &texts);
    void SetCursor(std::optional<double> distance);
    const ChartData &Data() const { return FData; }

    QSize sizeHint() const override { return {640, 320}; }
    QSize minimumSizeHint() const override { return {320, 180}; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void UpdateDescription();

    ChartData FData;
};
