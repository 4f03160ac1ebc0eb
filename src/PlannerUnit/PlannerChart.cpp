#include "PlannerUnit/PlannerChart.h"

#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

#include <algorithm>
#include <cmath>

TPlannerChart::TPlannerChart(QWidget *parent) : QWidget(parent)
{
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

ChartFrame TPlannerChart::Frame() const
{
    return LayOutChart(rect(), FData, QFontMetricsF(font()));
}

void TPlannerChart::SetPlan(const PlannerInput &input, const PlannerResults &results)
{
    FData.Input = input;
    FData.Results = results;
    KeepCursorOnAxis();
    UpdateDescription();
    update();
}

void TPlannerChart::SetTexts(const TPlannerTexts &texts)
{
    FData.Texts = texts;
    FData.Hint =
        texts[PlannerText::ChartHint] + QStringLiteral("; ") + texts[PlannerText::ZoomHint];
    UpdateDescription();
    update();
}

void TPlannerChart::SetCursor(std::optional<double> distance)
{
    FData.Cursor = distance;
    KeepCursorOnAxis();
    UpdateDescription();
    update();
}

void TPlannerChart::SetMarks(std::vector<ChartMark> marks)
{
    FData.Marks = std::move(marks);
    update();
}

void TPlannerChart::ZoomDistance(double factor)
{
    const double natural = NaturalDistanceSpan(FData);
    const double span = FData.DistanceZoom.value_or(natural) * factor;
    // From a thousandth to a thousand times what matters.
    FData.DistanceZoom = std::clamp(span, natural / 1000, natural * 1000);
    KeepCursorOnAxis();
    UpdateDescription();
    update();
}

void TPlannerChart::ResetZoom()
{
    FData.DistanceZoom.reset();
    KeepCursorOnAxis();
    UpdateDescription();
    update();
}

// A cursor beyond the axis' end, after the optics or the zoom changed,
// moves to the end rather than reading out a distance no one sees.
void TPlannerChart::KeepCursorOnAxis()
{
    if (!FData.Cursor)
        return;
    const double span = FData.DistanceZoom.value_or(NaturalDistanceSpan(FData));
    FData.Cursor = std::clamp(*FData.Cursor, 0.0, span);
}

// Screen readers read the cursor's values through the description.
void TPlannerChart::UpdateDescription()
{
    setAccessibleDescription(FData.Cursor ? CursorReadout(FData)
                                          : FData.Texts[PlannerText::ChartHint]);
}

bool TPlannerChart::event(QEvent *event)
{
    if (event->type() == QEvent::ToolTip) {
        const auto *help = static_cast<QHelpEvent *>(event);
        // Elsewhere the chart's own tooltip tells how to zoom.
        if (const int optics = RangeBarAt(Frame(), FData, help->pos()); optics >= 0) {
            QToolTip::showText(help->globalPos(), RangeBarText(FData, optics), this);
            return true;
        }
    }
    return QWidget::event(event);
}

void TPlannerChart::paintEvent(QPaintEvent * /*event*/)
{
    QPainter painter(this);
    DrawChart(painter, rect(), FData);
    if (hasFocus()) {
        QPen pen(palette().color(QPalette::Highlight), 2);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
    }
}

void TPlannerChart::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    update();
}

void TPlannerChart::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    update();
}

void TPlannerChart::mouseMoveEvent(QMouseEvent *event)
{
    const ChartFrame frame = Frame();
    const double x = event->position().x();
    if (x < frame.Plot.left() || x > frame.Plot.right())
        return;
    SetCursor((x - frame.Plot.left()) / frame.Plot.width() * frame.XMax);
}

void TPlannerChart::mouseDoubleClickEvent(QMouseEvent * /*event*/)
{
    ResetZoom();
}

void TPlannerChart::wheelEvent(QWheelEvent *event)
{
    // One notch of a wheel is 120; each zooms in or out by a quarter.
    const double notches = event->angleDelta().y() / 120.0;
    if (notches != 0)
        ZoomDistance(std::pow(1.25, -notches));
    event->accept();
}

void TPlannerChart::keyPressEvent(QKeyEvent *event)
{
    const double span = Frame().XMax;
    const double start = FData.Cursor.value_or(FData.Input.Distance.value_or(span / 2));
    double step = 0;
    switch (event->key()) {
    case Qt::Key_Left:
        step = -span / 100;
        break;
    case Qt::Key_Right:
        step = span / 100;
        break;
    case Qt::Key_PageDown:
        step = -span / 10;
        break;
    case Qt::Key_PageUp:
        step = span / 10;
        break;
    case Qt::Key_Home:
        SetCursor(0);
        return;
    case Qt::Key_End:
        SetCursor(span);
        return;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    SetCursor(std::clamp(FData.Cursor ? start + step : start, 0.0, span));
}
