// The chart's layout and drawing, for the screen and both files.
#include "PlannerUnit/PlannerChart.h"

#include "PlannerUnit/PlannerFormat.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

constexpr double BarHeight = 5;
const QColor Ink(40, 40, 40);
const QColor Grid(225, 225, 232);

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

const TargetFit *FittingRange(const ChartData &data, std::size_t i)
{
    if (!data.Input.Optics[i].Optics || i >= data.Results.Rows.size())
        return nullptr;
    const PlannerRow &row = data.Results.Rows[i];
    return row.Range && row.Range->Any ? &*row.Range : nullptr;
}

// One lane below the distance axis for each optics with a fitting range.
int RangeLanes(const ChartData &data)
{
    int lanes = 0;
    for (std::size_t i = 0; i < data.Input.Optics.size(); ++i)
        lanes += FittingRange(data, i) != nullptr;
    return lanes;
}

// The span rounded up to a whole tick, in the chart's unit.
double RoundedSpan(double millimetres, LengthUnit unit)
{
    const double value = ToUnit(millimetres, unit);
    const double step = TickStep(value);
    return FromUnit(std::ceil(value / step - 1e-9) * step, unit);
}

// Pieces of text laid into lines no wider than the width.
template <typename Width>
std::vector<std::vector<int>> Wrap(int count, double width, double gap, Width widthOf)
{
    std::vector<std::vector<int>> lines;
    double used = 0;
    for (int i = 0; i < count; ++i) {
        const double w = widthOf(i);
        if (lines.empty() || (used > 0 && used + gap + w > width)) {
            lines.emplace_back();
            used = 0;
        }
        used += (used > 0 ? gap : 0) + w;
        lines.back().push_back(i);
    }
    return lines;
}

QStringList ReadoutPieces(const ChartData &data)
{
    if (!data.Cursor)
        return {};
    const LengthUnit unit = data.Input.Unit;
    const double x = *data.Cursor;
    QStringList pieces{data.Texts[PlannerText::AxisDistance] + u' ' +
                       FormatLengthWithUnit(x, unit) + u':'};
    QStringList fitting;
    for (std::size_t i = 0; i < data.Input.Optics.size(); ++i) {
        const PlannerOptics &entry = data.Input.Optics[i];
        if (!entry.Optics)
            continue;
        const QString name = QString::fromStdString(entry.Name);
        pieces << name + u' ' + FormatLength(SpotOnSurface(*entry.Optics, x, TiltOf(data)), unit);
        if (const TargetFit *range = FittingRange(data, i);
            range && x >= range->Near && x <= range->Far)
            fitting << name;
    }
    // Without optics to show, "fits: none" would be an answer where there
    // is none.
    if (data.Results.LargestFittingSpot && pieces.size() > 1)
        pieces << data.Texts[PlannerText::FitsHere] + u':' + u' ' +
                      (fitting.isEmpty() ? data.Texts[PlannerText::None]
                                         : fitting.join(QStringLiteral(", ")));
    return pieces;
}

// Maps millimetres to the plot and back.
struct Scale
{
    const ChartFrame &Frame;

    double X(double distance) const
    {
        return Frame.Plot.left() + distance / Frame.XMax * Frame.Plot.width();
    }
    double Y(double spot) const
    {
        return Frame.Plot.bottom() - spot / Frame.YMax * Frame.Plot.height();
    }
};

// Liang-Barsky: the part of the segment inside the rectangle, if any. The
// painter's clip would do it too, but a far curve's coordinates can be too
// large for it to stay exact.
bool ClipSegment(const QRectF &box, QPointF &a, QPointF &b)
{
    const QPointF d = b - a;
    double enter = 0;
    double leave = 1;
    const double p[] = {-d.x(), d.x(), -d.y(), d.y()};
    const double q[] = {a.x() - box.left(), box.right() - a.x(), a.y() - box.top(),
                        box.bottom() - a.y()};
    for (int k = 0; k < 4; ++k) {
        if (p[k] == 0) {
            if (q[k] < 0)
                return false;
            continue;
        }
        const double t = q[k] / p[k];
        if (p[k] < 0)
            enter = std::max(enter, t);
        else
            leave = std::min(leave, t);
    }
    if (enter > leave)
        return false;
    const QPointF start = a;
    a = start + d * enter;
    b = start + d * leave;
    return true;
}

void DrawAxes(QPainter &painter, const QRectF &area, const ChartFrame &frame, const ChartData &data,
              double barsBottom)
{
    const QFontMetricsF metrics(painter.font());
    const LengthUnit unit = data.Input.Unit;
    const Scale scale{frame};
    const QRectF &plot = frame.Plot;
    const double xStep = TickStep(ToUnit(frame.XMax, unit) / 1.0001);
    const double yStep = TickStep(ToUnit(frame.YMax, unit) / 1.0001);
    for (double v = 0; v <= ToUnit(frame.XMax, unit) * 1.0001; v += xStep) {
        const double x = scale.X(FromUnit(v, unit));
        painter.setPen(QPen(Grid, 0));
        painter.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
        painter.setPen(Ink);
        const QString text = TickText(v, xStep);
        const double width = metrics.horizontalAdvance(text);
        // The last label stays inside the area.
        const double left = std::min(x - width / 2, area.right() - width - 2);
        painter.drawText(QPointF(left, barsBottom + metrics.ascent() + 2), text);
    }
    for (double v = 0; v <= ToUnit(frame.YMax, unit) * 1.0001; v += yStep) {
        const double y = scale.Y(FromUnit(v, unit));
        painter.setPen(QPen(Grid, 0));
        painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
        painter.setPen(Ink);
        const QString text = TickText(v, yStep);
        painter.drawText(QPointF(plot.left() - metrics.horizontalAdvance(text) - 5,
                                 y + metrics.ascent() / 2 - 1),
                         text);
    }
    painter.setPen(QPen(Ink, 0));
    painter.drawRect(plot);

    // Axis titles: the distance below, the spot above the value axis.
    const QString xTitle =
        data.Texts[PlannerText::AxisDistance] + QStringLiteral(" [") + UnitName(unit) + u']';
    painter.drawText(QPointF(plot.center().x() - metrics.horizontalAdvance(xTitle) / 2,
                             barsBottom + metrics.height() + metrics.ascent() + 2),
                     xTitle);
    const QString yTitle =
        data.Texts[PlannerText::AxisSpot] + QStringLiteral(" [") + UnitName(unit) + u']';
    // Along the value axis, so it takes no line above the plot.
    painter.save();
    painter.translate(area.left() + 4 + metrics.ascent(),
                      plot.center().y() + metrics.horizontalAdvance(yTitle) / 2);
    painter.rotate(-90);
    painter.drawText(QPointF(0, 0), yTitle);
    painter.restore();
}

void DrawLegend(QPainter &painter, const QRectF &area, const ChartFrame &frame,
                const ChartData &data)
{
    const QFontMetricsF metrics(painter.font());
    double y = area.top() + 4 + metrics.ascent();
    for (const std::vector<int> &line : frame.LegendLines) {
        double x = area.left() + 6;
        for (const int i : line) {
            const PlannerOptics &entry = data.Input.Optics[std::size_t(i)];
            const QString name = QString::fromStdString(entry.Name);
            painter.fillRect(QRectF(x, y - metrics.ascent() / 2 - 1.5, 14, 3), ColourOf(entry));
            painter.setPen(entry.Optics ? Ink : QColor(150, 150, 150));
            painter.drawText(QPointF(x + 18, y), name);
            x += 18 + metrics.horizontalAdvance(name) + 14;
        }
        y += frame.LineHeight;
    }
}

// A solid line two logical pixels wide, smoothed, as separate segments: the
// raster engine draws a wide pen's single lines with a fast rasterizer but
// strokes a polyline through a general path, several times as slow, which
// eight curves would turn into most of a repaint. A dot fills each join.
// Thin lines side by side would be faster still, but show stripes.
void DrawSolidLine(QPainter &painter, const QColor &colour, const QPointF *points, int count)
{
    constexpr double width = 2;
    QLineF segments[2];
    int pieces = 0;
    for (int i = 1; i < count && pieces < 2; ++i)
        segments[pieces++] = QLineF(points[i - 1], points[i]);
    painter.setPen(QPen(colour, width, Qt::SolidLine, Qt::FlatCap));
    painter.drawLines(segments, pieces);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    for (int i = 1; i + 1 < count; ++i)
        painter.drawEllipse(points[i], width / 2, width / 2);
    painter.setBrush(Qt::NoBrush);
}

// The beam is straight on each side of the focus: three points per optics.
void DrawCurves(QPainter &painter, const ChartFrame &frame, const ChartData &data)
{
    const Scale scale{frame};
    const double tilt = TiltOf(data);
    for (const PlannerOptics &entry : data.Input.Optics) {
        if (!entry.Optics)
            continue;
        const SpotOptics &o = *entry.Optics;
        const double xs[] = {0, std::min(double(o.A), frame.XMax), frame.XMax};
        QPointF line[3];
        int count = 0;
        const QColor colour = ColourOf(entry);
        for (int k = 0; k < 2; ++k) {
            QPointF a(scale.X(xs[k]), scale.Y(SpotOnSurface(o, xs[k], tilt)));
            QPointF b(scale.X(xs[k + 1]), scale.Y(SpotOnSurface(o, xs[k + 1], tilt)));
            if (!ClipSegment(frame.Plot, a, b))
                continue;
            if (count > 0 && line[count - 1] != a) {
                DrawSolidLine(painter, colour, line, count);
                count = 0;
            }
            if (count == 0)
                line[count++] = a;
            line[count++] = b;
        }
        if (count > 1)
            DrawSolidLine(painter, colour, line, count);
    }
}

// Printed figures as open rings, so a beam through them still shows.
void DrawMarks(QPainter &painter, const ChartFrame &frame, const ChartData &data)
{
    const Scale scale{frame};
    painter.setPen(QPen(Ink, 1.5));
    painter.setBrush(Qt::NoBrush);
    for (const ChartMark &mark : data.Marks)
        painter.drawEllipse(QPointF(scale.X(mark.Distance), scale.Y(mark.Spot)), 4, 4);
}

// The largest fitting spot and the working distance, dashed, with labels.
void DrawLines(QPainter &painter, const ChartFrame &frame, const ChartData &data)
{
    const QFontMetricsF metrics(painter.font());
    const LengthUnit unit = data.Input.Unit;
    const Scale scale{frame};
    const QRectF &plot = frame.Plot;
    QPen dashed(QColor(90, 90, 90), 1.2, Qt::DashLine);
    dashed.setCosmetic(true);
    const std::optional<double> &spot = data.Results.LargestFittingSpot;
    const bool spotShown = spot && *spot <= frame.YMax;
    const std::optional<double> &distance = data.Input.Distance;
    const bool distanceShown = distance && *distance <= frame.XMax;
    painter.setPen(dashed);
    if (spotShown)
        painter.drawLine(QPointF(plot.left(), scale.Y(*spot)),
                         QPointF(plot.right(), scale.Y(*spot)));
    if (distanceShown)
        painter.drawLine(QPointF(scale.X(*distance), plot.top()),
                         QPointF(scale.X(*distance), plot.bottom()));
    painter.setPen(QColor(70, 70, 70));
    if (spotShown && scale.Y(*spot) > plot.top() + metrics.height()) {
        const QString text =
            data.Texts[PlannerText::LargestSpot] + u' ' + FormatLengthWithUnit(*spot, unit);
        painter.drawText(
            QPointF(plot.right() - metrics.horizontalAdvance(text) - 6, scale.Y(*spot) - 4), text);
    }
    if (distanceShown) {
        const QString text =
            data.Texts[PlannerText::Distance] + u' ' + FormatLengthWithUnit(*distance, unit);
        const double left =
            std::min(scale.X(*distance) + 4, plot.right() - metrics.horizontalAdvance(text) - 4);
        painter.drawText(QPointF(left, plot.top() + metrics.ascent() + 3), text);
    }
}

// One lane per optics below the distance axis: its fitting range as a bar,
// with the range's ends beside it where there is room.
void DrawRanges(QPainter &painter, const ChartFrame &frame, const ChartData &data)
{
    QFont small = painter.font();
    small.setPointSizeF(small.pointSizeF() * 0.8);
    painter.save();
    painter.setFont(small);
    const QFontMetricsF metrics(small);
    const Scale scale{frame};
    const QRectF &plot = frame.Plot;
    double lane = plot.bottom() + 2;
    for (std::size_t i = 0; i < data.Input.Optics.size(); ++i) {
        const TargetFit *range = FittingRange(data, i);
        if (!range)
            continue;
        if (range->Near <= frame.XMax) {
            const double left = scale.X(range->Near);
            const double right = std::min(scale.X(range->Far), plot.right());
            const double middle = lane + frame.LaneHeight / 2;
            // A single fitting point still shows.
            const double width = std::max(right - left, 2.0);
            painter.fillRect(QRectF(left, middle - BarHeight / 2, width, BarHeight),
                             ColourOf(data.Input.Optics[i]));
            const RangeTexts ends = FormatRange(*range, data.Input.Unit);
            const QString text = ends.Near + QStringLiteral(" \u2013 ") + ends.Far;
            const double textWidth = metrics.horizontalAdvance(text);
            const double baseline = middle + metrics.ascent() / 2 - 1;
            painter.setPen(Ink);
            if (left + width + 4 + textWidth <= plot.right())
                painter.drawText(QPointF(left + width + 4, baseline), text);
            else if (left - 4 - textWidth >= plot.left())
                painter.drawText(QPointF(left - 4 - textWidth, baseline), text);
        }
        lane += frame.LaneHeight;
    }
    painter.restore();
}

void DrawCursor(QPainter &painter, const QRectF &area, const ChartFrame &frame,
                const ChartData &data)
{
    const QFontMetricsF metrics(painter.font());
    double y = area.top() + 4 + metrics.ascent() + frame.LegendLines.size() * frame.LineHeight;
    if (!data.Cursor) {
        painter.setPen(QColor(110, 110, 120));
        painter.drawText(QPointF(area.left() + 6, y),
                         metrics.elidedText(data.Hint, Qt::ElideRight, area.width() - 12));
        return;
    }
    const Scale scale{frame};
    const QRectF &plot = frame.Plot;
    const double x = scale.X(*data.Cursor);
    painter.save();
    painter.setClipRect(plot);
    painter.setPen(QPen(QColor(0, 0, 0, 120), 0));
    painter.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
    for (const PlannerOptics &entry : data.Input.Optics) {
        if (!entry.Optics)
            continue;
        painter.setBrush(ColourOf(entry));
        painter.drawEllipse(
            QPointF(x, scale.Y(SpotOnSurface(*entry.Optics, *data.Cursor, TiltOf(data)))), 3, 3);
    }
    painter.restore();
    // The readout below the legend.
    painter.setPen(Ink);
    for (const QString &line : frame.ReadoutLines) {
        painter.drawText(QPointF(area.left() + 6, y), line);
        y += frame.LineHeight;
    }
}

} // namespace

double NaturalDistanceSpan(const ChartData &data)
{
    // The working distance and every fitting range's far end, half again.
    double far = data.Input.Distance.value_or(0);
    bool anyRange = false;
    double focus = 0;
    for (std::size_t i = 0; i < data.Input.Optics.size(); ++i) {
        const std::optional<SpotOptics> &optics = data.Input.Optics[i].Optics;
        if (!optics)
            continue;
        focus = std::max(focus, double(optics->A));
        if (const TargetFit *range = FittingRange(data, i)) {
            far = std::max(far, range->Far);
            anyRange = true;
        }
    }
    // Without a target the foci and the printed figures are what there is
    // to see.
    if (!anyRange && !data.Input.Distance) {
        far = focus;
        for (const ChartMark &mark : data.Marks)
            far = std::max(far, mark.Distance / 1.2);
    }
    if (!(far > 0) || !std::isfinite(far))
        far = 1000;
    return RoundedSpan(far * 1.5, data.Input.Unit);
}

ChartFrame LayOutChart(const QRectF &area, const ChartData &data, const QFontMetricsF &metrics)
{
    ChartFrame frame;
    frame.XMax = data.DistanceZoom ? *data.DistanceZoom : NaturalDistanceSpan(data);

    double top = 0;
    if (data.Results.LargestFittingSpot) {
        top = 3 * *data.Results.LargestFittingSpot;
    } else {
        for (const PlannerOptics &entry : data.Input.Optics) {
            if (entry.Optics)
                top = std::max({top, SpotOnSurface(*entry.Optics, 0, TiltOf(data)),
                                SpotOnSurface(*entry.Optics, frame.XMax, TiltOf(data))});
        }
        for (const ChartMark &mark : data.Marks)
            top = std::max(top, mark.Spot);
        top *= 1.1;
    }
    if (!(top > 0) || !std::isfinite(top))
        top = 10;
    frame.YMax = RoundedSpan(top, data.Input.Unit);

    frame.LineHeight = metrics.height() + 2;
    const double width = area.width() - 12;
    frame.LegendLines = Wrap(int(data.Input.Optics.size()), width, 14, [&](int i) {
        return 18 + metrics.horizontalAdvance(
                        QString::fromStdString(data.Input.Optics[std::size_t(i)].Name));
    });
    const QStringList pieces = ReadoutPieces(data);
    for (const std::vector<int> &line : Wrap(int(pieces.size()), width, 0, [&](int i) {
             return metrics.horizontalAdvance(QStringLiteral("  ") + pieces[i]);
         })) {
        QStringList parts;
        for (const int i : line)
            parts << pieces[i];
        frame.ReadoutLines << parts.join(QStringLiteral("  "));
    }
    // Room for the readout is kept while there is none, so the plot does not
    // jump when the cursor appears.
    const int readoutLines = std::max<int>(1, frame.ReadoutLines.size());
    const double above = (frame.LegendLines.size() + readoutLines) * frame.LineHeight + 10;
    frame.LaneHeight = std::max(BarHeight + 2, metrics.height() * 0.8);
    const double bars = RangeLanes(data) * frame.LaneHeight + 2;
    frame.Plot = QRectF(area.left() + 60 + metrics.height(), area.top() + above, 0, 0);
    frame.Plot.setRight(area.right() - 16);
    frame.Plot.setBottom(area.bottom() - bars - 2 * frame.LineHeight - 4);
    return frame;
}

QString CursorReadout(const ChartData &data)
{
    return ReadoutPieces(data).join(QStringLiteral("  "));
}

int RangeBarAt(const ChartFrame &frame, const ChartData &data, const QPointF &point)
{
    if (point.x() < frame.Plot.left() || point.x() > frame.Plot.right() ||
        point.y() < frame.Plot.bottom())
        return -1;
    const int lane = int((point.y() - frame.Plot.bottom() - 2) / frame.LaneHeight);
    int seen = 0;
    for (std::size_t i = 0; i < data.Input.Optics.size(); ++i) {
        if (FittingRange(data, i) && seen++ == lane)
            return int(i);
    }
    return -1;
}

QString RangeBarText(const ChartData &data, int optics)
{
    const std::size_t i = std::size_t(optics);
    QString text = QString::fromStdString(data.Input.Optics[i].Name) + QStringLiteral(": ");
    const std::optional<TargetFit> &range = data.Results.Rows[i].Range;
    if (!range)
        return text + QStringLiteral("\u2013");
    if (!range->Any)
        return text + data.Texts[PlannerText::None];
    const RangeTexts ends = FormatRange(*range, data.Input.Unit);
    return text + ends.Near + QStringLiteral(" \u2013 ") + ends.Far + u' ' +
           UnitName(data.Input.Unit);
}

void DrawChart(QPainter &painter, const QRectF &area, const ChartData &data)
{
    const ChartFrame frame = LayOutChart(area, data, QFontMetricsF(painter.font()));
    if (frame.Plot.width() < 10 || frame.Plot.height() < 10)
        return;
    painter.save();
    // Smoothing only where it shows, on the slanted curves: the straight
    // lines lie on the pixel grid anyway, and smoothing everything would
    // double the time of a repaint.
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(area, Qt::white);
    const double barsBottom = frame.Plot.bottom() + RangeLanes(data) * frame.LaneHeight + 2;
    DrawAxes(painter, area, frame, data, barsBottom);
    DrawLegend(painter, area, frame, data);
    painter.save();
    painter.setClipRect(frame.Plot);
    painter.setRenderHint(QPainter::Antialiasing);
    DrawCurves(painter, frame, data);
    DrawMarks(painter, frame, data);
    painter.restore();
    DrawLines(painter, frame, data);
    DrawRanges(painter, frame, data);
    DrawCursor(painter, area, frame, data);
    painter.restore();
}
