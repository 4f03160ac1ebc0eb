#include "Artwork.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPolygonF>

#include <cmath>

using namespace BeamGeometry;

namespace {

// The converging picture sits this far down in the diagram.
constexpr qreal Top = 40;
constexpr qreal LabelBaseline = 18;
constexpr qreal ArrowLength = 7;
constexpr qreal ArrowHalfWidth = 2.4;

QFont LabelFont(int pixelSize)
{
    QFont font("Arial");
    font.setPixelSize(pixelSize);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

// Tip at `tip`, pointing along (dx, dy), a unit axis direction.
void Arrowhead(QPainter &p, QPointF tip, qreal dx, qreal dy)
{
    const QPointF back(tip.x() - dx * ArrowLength, tip.y() - dy * ArrowLength);
    const QPointF side(-dy * ArrowHalfWidth, dx * ArrowHalfWidth);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    p.drawPolygon(QPolygonF{tip, back + side, back - side});
}

void Line(QPainter &p, QPointF a, QPointF b)
{
    p.setPen(QPen(Qt::black, 1.0, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(a, b);
}

// Text with a lowered small subscript, centred on x, on the given baseline.
void Label(QPainter &p, qreal centreX, qreal baseline, const QString &text, const QString &sub)
{
    const QFont big = LabelFont(15);
    const QFont small = LabelFont(11);
    const qreal w1 = QFontMetricsF(big).horizontalAdvance(text);
    const qreal w2 = QFontMetricsF(small).horizontalAdvance(sub);
    const qreal left = std::round(centreX - (w1 + w2) / 2);
    p.setPen(Qt::black);
    p.setFont(big);
    p.drawText(QPointF(left, baseline), text);
    p.setFont(small);
    p.drawText(QPointF(left + w1 + 0.5, baseline + 4), sub);
}

qreal EdgeAbove(int column)
{
    return Top + AxisY - BeamHalf(Beam::Converging, column + 0.5) - 0.5;
}

qreal EdgeBelow(int column)
{
    return Top + AxisY + BeamHalf(Beam::Converging, column + 0.5) + 0.5;
}

// A diameter marked by two arrows pointing at the beam's edges from outside;
// the upper leader comes from the label, the lower one ends at `lowerEnd`.
void DiameterMark(QPainter &p, int column, const QString &text, const QString &sub, qreal lowerEnd)
{
    const qreal x = column + 0.5;
    Label(p, x, LabelBaseline, text, sub);
    const qreal above = EdgeAbove(column);
    Line(p, QPointF(x, LabelBaseline + 6), QPointF(x, above - ArrowLength + 1));
    Arrowhead(p, QPointF(x, above), 0, 1);
    const qreal below = EdgeBelow(column);
    Line(p, QPointF(x, below + ArrowLength - 1), QPointF(x, lowerEnd));
    Arrowhead(p, QPointF(x, below), 0, -1);
}

// A distance from the housing's extension line to `column`, arrows inside.
void DimensionLine(QPainter &p, int column, qreal y, const QString &text, const QString &sub)
{
    const qreal x0 = HousingFrontColumn + 1; // right side of the extension line
    const qreal x1 = column;                 // left side of the end's extension line
    Line(p, QPointF(x0 + ArrowLength - 1, y), QPointF(x1 - ArrowLength + 1, y));
    Arrowhead(p, QPointF(x0, y), -1, 0);
    Arrowhead(p, QPointF(x1, y), 1, 0);
    Label(p, (HousingFrontColumn + column + 1) / 2.0, y - 7, text, sub);
}

} // namespace

QImage DrawDiagram()
{
    QImage canvas(Width, 187, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::white);
    QPainter p;
    BeginPainting(p, canvas, 1);
    p.drawImage(QPointF(0, Top), DrawBeamPicture(Beam::Converging, 1));

    const qreal lineN = 153.5;
    const qreal line0 = 178.5;
    const QString m90 = QStringLiteral("M90");

    DiameterMark(p, 290, QStringLiteral("D"), QString(), EdgeBelow(290) + 14);
    DiameterMark(p, 394, m90, QStringLiteral("n"), lineN + 4);
    DiameterMark(p, 481, m90, QStringLiteral("0"), line0 + 4);
    DiameterMark(p, 602, m90, QStringLiteral("n"), EdgeBelow(602) + 14);

    // Extension line continuing the housing's front face: distances are
    // measured from there, not from the lens.
    Line(p, QPointF(HousingFrontColumn + 0.5, Top + AxisY + 37),
         QPointF(HousingFrontColumn + 0.5, line0 + 4));
    DimensionLine(p, 394, lineN, QStringLiteral("a"), QStringLiteral("n"));
    DimensionLine(p, 481, line0, QStringLiteral("a"), QStringLiteral("0"));
    p.end();
    return ToIndexed8(canvas);
}
