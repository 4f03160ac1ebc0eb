#include "PlannerUnit/PlannerChart.h"

#include "PlannerUnit/PlannerFormat.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace {

constexpr double BarHeight = 4;
constexpr double BarGap = 2;

double TiltOf(const ChartData &data)
{
    return data.Input.Tilt.value_or(0);
}

// 1, 2 or 5 times a power of ten, about a fifth of the span.
double TickStep(double span)
{
    const double raw = span / 5;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (const double factor : {1.0, 2.0, 5.0}) {
        if (factor * power >= raw)
            return factor * power;
    }
    return 10 * power;
}

QString TickText(double value, double step)
{
    const int decimals = step >= 1 ? 0 : int(std::ceil(-std::log10(step) - 1e-9));
    return QString::number(value, 'f', decimals);
}

QColor ColourOf(const PlannerOptics &optics)
{
    return QColor::fromRgb(optics.Colour);
}

int ValidOptics(const ChartData &data)
{
    return int(std::count_if(data.Input.Optics.begin(), data.Input.Optics.end(),
                             [](const PlannerOptics &o) { return o.Optics.has_value(); }));
}

// A two-pixel curve as two smoothed one-pixel lines side by side: Qt's
// smoothed wide pens take about ten times as long, which eight curves turn
// into most of a repaint.
void DrawWideLine(QPainter &painter, const QPointF *points, int count)
{
    for (int i = 1; i < count; ++i) {
        const QPointF along = points[i] - points[i - 1];
        const double length = std::hypot(along.x(), along.y());
        if (length <= 0)
            continue;
        const QPointF normal(-along.y() / length * 0.5, along.x() / length * 0.5);
        painter.drawLine(points[i - 1] + normal, points[i] + normal);
        painter.drawLine(points[i - 1] - normal, points[i] - normal);
    }
}

} // namespace

ChartFrame LayOutChart(const QRectF &area, const ChartData &data)
{
    ChartFrame frame;
    // Beyond the farthest distance of interest: the working distance, every
    // focus and every range's far end.
    double far = data.Input.Distance.value_or(0);
    for (std::size_t i = 0; i < data.Input.Optics.size(); ++i) {
        const std::optional<SpotOptics> &optics = data.Input.Optics[i].Optics;
        if (!optics)
            continue;
        far = std::max(far, double(optics->A));
        const PlannerRow &row = data.Results.Rows[i];
        if (row.Range && row.Range->Any)
            far = std::max(far, row.Range->Far);
    }
    if (!(far > 0) || !std::isfinite(far))
        far = 1000;
    const double unitFar = ToUnit(far * 1.2, data.Input.Unit);
    const double xStep = TickStep(unitFar);
    frame.XMax = FromUnit(std::ceil(unitFar / xStep) * xStep, data.Input.Unit);

    double top = data.Results.LargestFittingSpot.value_or(0);
    for (const PlannerOptics &entry : data.Input.Optics) {
        if (entry.Optics)
            top = std::max({top, SpotOnSurface(*entry.Optics, 0, TiltOf(data)),
                            SpotOnSurface(*entry.Optics, frame.XMax, TiltOf(data))});
    }
    if (!(top > 0) || !std::isfinite(top))
        top = 10;
    const double unitTop = ToUnit(top * 1.1, data.Input.Unit);
    const double yStep = TickStep(unitTop);
    frame.YMax = FromUnit(std::ceil(unitTop / yStep) * yStep, data.Input.Unit);

    // Three lines above the plot: the legend, the cursor readout and the
    // spot axis' title.
    const double line = 17;
    const double bars = ValidOptics(data) * (BarHeight + BarGap) + BarGap;
    frame.Plot = QRectF(area.left() + 56, area.top() + 3.3 * line, 0, 0);
    frame.Plot.setRight(area.right() - 16);
    frame.Plot.setBottom(area.bottom() - bars - 2.4 * line);
    return frame;
}

QString CursorReadout(const ChartData &data)
{
    if (!data.Cursor)
        return {};
    const LengthUnit unit = data.Input.Unit;
    QString text = data.Texts[PlannerText::AxisDistance] + QStringLiteral(" ") +
                   FormatLength(*data.Cursor, unit) + u' ' + UnitName(unit) + u':';
    for (const PlannerOptics &entry : data.Input.Optics) {
        if (entry.Optics)
            text += QStringLiteral("  ") + QString::fromStdString(entry.Name) + u' ' +
                    FormatLength(SpotOnSurface(*entry.Optics, *data.Cursor, TiltOf(data)), unit);
    }
    return text;
}

void DrawChart(QPainter &painter, const QRectF &area, const ChartData &data)
{
    const ChartFrame frame = LayOutChart(area, data);
    const QRectF plot = frame.Plot;
    if (plot.width() < 10 || plot.height() < 10)
        return;
    const LengthUnit unit = data.Input.Unit;
    const auto px = [&](double x) { return plot.left() + x / frame.XMax * plot.width(); };
    const auto py = [&](double s) { return plot.bottom() - s / frame.YMax * plot.height(); };
    const QFontMetricsF metrics(painter.font());
    const QColor ink(40, 40, 40);
    const QColor grid(225, 225, 232);

    painter.save();
    // Smoothing only where it shows, on the slanted curves: the straight
    // lines lie on the pixel grid anyway, and smoothing everything would
    // double the time of a repaint.
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(area, Qt::white);

    // Grid and tick labels in the chosen unit.
    const double xStep = TickStep(ToUnit(frame.XMax, unit) / 1.0001);
    const double yStep = TickStep(ToUnit(frame.YMax, unit) / 1.0001);
    const double barsBottom = plot.bottom() + ValidOptics(data) * (BarHeight + BarGap) + BarGap;
    painter.setPen(QPen(grid, 0));
    for (double v = 0; v <= ToUnit(frame.XMax, unit) * 1.0001; v += xStep) {
        const double x = px(FromUnit(v, unit));
        painter.setPen(QPen(grid, 0));
        painter.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
        painter.setPen(ink);
        const QString text = TickText(v, xStep);
        painter.drawText(
            QPointF(x - metrics.horizontalAdvance(text) / 2, barsBottom + metrics.ascent() + 2),
            text);
    }
    for (double v = 0; v <= ToUnit(frame.YMax, unit) * 1.0001; v += yStep) {
        const double y = py(FromUnit(v, unit));
        painter.setPen(QPen(grid, 0));
        painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
        painter.setPen(ink);
        const QString text = TickText(v, yStep);
        painter.drawText(QPointF(plot.left() - metrics.horizontalAdvance(text) - 5,
                                 y + metrics.ascent() / 2 - 1),
                         text);
    }
    painter.setPen(QPen(ink, 0));
    painter.drawRect(plot);

    // Axis titles: the distance below, the spot above the value axis.
    const QString xTitle =
        data.Texts[PlannerText::AxisDistance] + QStringLiteral(" [") + UnitName(unit) + u']';
    painter.drawText(QPointF(plot.center().x() - metrics.horizontalAdvance(xTitle) / 2,
                             barsBottom + metrics.height() + metrics.ascent() + 2),
                     xTitle);
    const QString yTitle =
        data.Texts[PlannerText::AxisSpot] + QStringLiteral(" [") + UnitName(unit) + u']';
    painter.drawText(QPointF(area.left() + 6, plot.top() - 6), yTitle);

    // Legend on the first line.
    double legendX = area.left() + 6;
    const double legendY = area.top() + 4 + metrics.ascent();
    for (const PlannerOptics &entry : data.Input.Optics) {
        const QString name = QString::fromStdString(entry.Name);
        painter.fillRect(QRectF(legendX, legendY - metrics.ascent() / 2 - 1.5, 14, 3),
                         ColourOf(entry));
        painter.setPen(entry.Optics ? ink : QColor(150, 150, 150));
        painter.drawText(QPointF(legendX + 18, legendY), name);
        legendX += 18 + metrics.horizontalAdvance(name) + 14;
    }

    painter.save();
    painter.setClipRect(plot);
    // The largest fitting spot and the working distance.
    QPen dashed(QColor(90, 90, 90), 1.2, Qt::DashLine);
    dashed.setCosmetic(true);
    painter.setPen(dashed);
    if (data.Results.LargestFittingSpot) {
        const double y = py(*data.Results.LargestFittingSpot);
        painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
    }
    if (data.Input.Distance) {
        const double x = px(*data.Input.Distance);
        painter.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
    }
    // Each beam is straight on both sides of its focus, so three points draw it.
    painter.setRenderHint(QPainter::Antialiasing);
    for (const PlannerOptics &entry : data.Input.Optics) {
        if (!entry.Optics)
            continue;
        const SpotOptics &o = *entry.Optics;
        painter.setPen(QPen(ColourOf(entry), 0));
        const double tilt = TiltOf(data);
        const QPointF points[] = {{px(0), py(SpotOnSurface(o, 0, tilt))},
                                  {px(o.A), py(SpotOnSurface(o, o.A, tilt))},
                                  {px(frame.XMax), py(SpotOnSurface(o, frame.XMax, tilt))}};
        DrawWideLine(painter, points, 3);
    }
    if (data.Cursor) {
        painter.setPen(QPen(QColor(0, 0, 0, 120), 0));
        const double x = px(*data.Cursor);
        painter.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
        for (const PlannerOptics &entry : data.Input.Optics) {
            if (!entry.Optics)
                continue;
            painter.setBrush(ColourOf(entry));
            painter.drawEllipse(
                QPointF(x, py(SpotOnSurface(*entry.Optics, *data.Cursor, TiltOf(data)))), 3, 3);
        }
        painter.setBrush(Qt::NoBrush);
    }
    painter.restore();
    painter.setRenderHint(QPainter::Antialiasing, false);

    // Labels of the two lines, inside the plot.
    painter.setPen(QColor(70, 70, 70));
    if (data.Results.LargestFittingSpot) {
        const double y = py(*data.Results.LargestFittingSpot);
        const QString text = data.Texts[PlannerText::LargestSpot] + u' ' +
                             FormatLength(*data.Results.LargestFittingSpot, unit) + u' ' +
                             UnitName(unit);
        if (y > plot.top() + metrics.height())
            painter.drawText(QPointF(plot.right() - metrics.horizontalAdvance(text) - 6, y - 4),
                             text);
    }
    if (data.Input.Distance && *data.Input.Distance < frame.XMax) {
        const double x = px(*data.Input.Distance);
        const QString text = data.Texts[PlannerText::Distance] + u' ' +
                             FormatLength(*data.Input.Distance, unit) + u' ' + UnitName(unit);
        const double left = std::min(x + 4, plot.right() - metrics.horizontalAdvance(text) - 4);
        painter.drawText(QPointF(left, plot.top() + metrics.ascent() + 3), text);
    }

    // Fitting ranges as bars below the distance axis, one lane per optics.
    double lane = plot.bottom() + BarGap;
    for (std::size_t i = 0; i < data.Input.Optics.size(); ++i) {
        if (!data.Input.Optics[i].Optics)
            continue;
        const PlannerRow &row = data.Results.Rows[i];
        if (row.Range && row.Range->Any) {
            const double left = px(row.Range->Near);
            const double right = std::min(px(row.Range->Far), plot.right());
            // A single fitting point still shows.
            painter.fillRect(QRectF(left, lane, std::max(right - left, 2.0), BarHeight),
                             ColourOf(data.Input.Optics[i]));
        }
        lane += BarHeight + BarGap;
    }

    // The cursor readout on the second line.
    if (data.Cursor) {
        painter.setPen(ink);
        painter.drawText(QPointF(area.left() + 6, legendY + metrics.height()), CursorReadout(data));
    }
    painter.restore();
}

TPlannerChart::TPlannerChart(QWidget *parent) : QWidget(parent)
{
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TPlannerChart::SetPlan(const PlannerInput &input, const PlannerResults &results)
{
    FData.Input = input;
    FData.Results = results;
    UpdateDescription();
    update();
}

void TPlannerChart::SetTexts(const TPlannerTexts &texts)
{
    FData.Texts = texts;
    UpdateDescription();
    update();
}

void TPlannerChart::SetCursor(std::optional<double> distance)
{
    FData.Cursor = distance;
    UpdateDescription();
    update();
}

// Screen readers read the cursor's values through the description.
void TPlannerChart::UpdateDescription()
{
    setAccessibleDescription(FData.Cursor ? CursorReadout(FData)
                                          : FData.Texts[PlannerText::ChartHint]);
}

void TPlannerChart::paintEvent(QPaintEvent * /*event*/)
{
    QPainter painter(this);
    DrawChart(painter, rect(), FData);
}

void TPlannerChart::mouseMoveEvent(QMouseEvent *event)
{
    const ChartFrame frame = LayOutChart(rect(), FData);
    const double x = event->position().x();
    if (x < frame.Plot.left() || x > frame.Plot.right())
        return;
    SetCursor((x - frame.Plot.left()) / frame.Plot.width() * frame.XMax);
}

void TPlannerChart::keyPressEvent(QKeyEvent *event)
{
    const double span = LayOutChart(rect(), FData).XMax;
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
