#include "Artwork.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>

namespace {

const QColor Ink(34, 40, 54);
const QColor Grey(104, 110, 124);
const QColor OrangeLight(255, 170, 60);
const QColor OrangeDark(226, 84, 0);

QFont WordFont(qreal pixelSize)
{
    QFont font("Arial");
    font.setPixelSize(int(std::lround(pixelSize)));
    font.setBold(true);
    font.setLetterSpacing(QFont::PercentageSpacing, 104);
    return font;
}

QFont TaglineFont(qreal pixelSize)
{
    QFont font("Arial");
    font.setPixelSize(int(std::lround(pixelSize)));
    font.setLetterSpacing(QFont::PercentageSpacing, 118);
    return font;
}

} // namespace

// The maker's mark: a lens focusing an infrared beam onto a measuring spot,
// white on an orange tile. Drawn in a 100 x 100 design grid mapped onto box.
void PaintEmblem(QPainter &p, const QRectF &box)
{
    p.save();
    p.translate(box.topLeft());
    p.scale(box.width() / 100.0, box.height() / 100.0);

    QPainterPath tile;
    tile.addRoundedRect(QRectF(0, 0, 100, 100), 22, 22);
    QLinearGradient warm(0, 0, 100, 100);
    warm.setColorAt(0, OrangeLight);
    warm.setColorAt(1, OrangeDark);
    p.fillPath(tile, warm);
    // Soft sheen on the upper half.
    QLinearGradient sheen(0, 0, 0, 60);
    sheen.setColorAt(0, QColor(255, 255, 255, 70));
    sheen.setColorAt(1, QColor(255, 255, 255, 0));
    p.fillPath(tile, sheen);

    // Beam: a cone from the lens converging on the spot, ending at its ring.
    const QPointF spot(76, 50);
    const qreal ring = 11;
    QPainterPath cone;
    cone.moveTo(30, 25);
    cone.lineTo(spot);
    cone.lineTo(30, 75);
    cone.closeSubpath();
    QPainterPath ringArea;
    ringArea.addEllipse(spot, ring + 1.6, ring + 1.6);
    cone = cone.subtracted(ringArea);
    QLinearGradient coneShade(30, 0, 72, 0);
    coneShade.setColorAt(0, QColor(255, 255, 255, 130));
    coneShade.setColorAt(1, QColor(255, 255, 255, 50));
    p.fillPath(cone, coneShade);
    p.setPen(QPen(Qt::white, 3.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    for (const QPointF from : {QPointF(30, 25), QPointF(30, 75)}) {
        const QPointF d = spot - from;
        const qreal len = std::hypot(d.x(), d.y());
        p.drawLine(from, spot - d * ((ring + 1.6) / len));
    }

    // Lens: a biconvex disc seen edge-on.
    QPainterPath lens;
    lens.moveTo(26, 18);
    lens.quadTo(38, 50, 26, 82);
    lens.quadTo(14, 50, 26, 18);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPath(lens);

    // Measuring spot with its target ring.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::white, 3.2));
    p.drawEllipse(spot, ring, ring);
    QRadialGradient glow(spot, 7);
    glow.setColorAt(0, QColor(255, 255, 240));
    glow.setColorAt(0.6, QColor(255, 246, 200));
    glow.setColorAt(1, QColor(255, 230, 160));
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawEllipse(spot, 5.5, 5.5);
    p.restore();
}

QImage DrawLogo(QSize logicalSize, int scale)
{
    QImage canvas = NewCanvas(logicalSize, scale);
    QPainter p;
    BeginPainting(p, canvas, scale);

    const qreal h = logicalSize.height();
    const qreal emblem = h * 0.78;
    const qreal gap = h * 0.16;
    qreal wordSize = h * 0.56;
    const QString word = QStringLiteral("TAVREL");
    const QString tagline = QStringLiteral("INFRARED THERMOMETRY");
    // Shrink the wordmark until emblem and word fit the width with a margin.
    while (emblem + gap + QFontMetricsF(WordFont(wordSize)).tightBoundingRect(word).width() >
           logicalSize.width() - h * 0.12) {
        wordSize -= 0.5;
    }
    const QFont wordFont = WordFont(wordSize);
    const QRectF wordBox = QFontMetricsF(wordFont).tightBoundingRect(word);
    const qreal total = emblem + gap + wordBox.width();
    const qreal left = (logicalSize.width() - total) / 2;
    const qreal top = (h - emblem) / 2;

    PaintEmblem(p, QRectF(left, top, emblem, emblem));

    // Cap height of the word lines up with the emblem's upper part, the
    // tagline with its lower edge.
    const qreal wordLeft = left + emblem + gap - wordBox.left();
    const qreal baseline = top + emblem * 0.62;
    p.setFont(wordFont);
    p.setPen(Ink);
    p.drawText(QPointF(wordLeft, baseline), word);

    qreal tagSize = h * 0.16;
    while (QFontMetricsF(TaglineFont(tagSize)).horizontalAdvance(tagline) > wordBox.width() &&
           tagSize > 4) {
        tagSize -= 0.25;
    }
    const QFont tagFont = TaglineFont(tagSize);
    const qreal tagWidth = QFontMetricsF(tagFont).tightBoundingRect(tagline).width();
    p.setFont(tagFont);
    p.setPen(Grey);
    p.drawText(
        QPointF(left + emblem + gap + (wordBox.width() - tagWidth) / 2, top + emblem - h * 0.02),
        tagline);

    // Thin orange rule between word and tagline.
    const qreal ruleY = baseline + h * 0.07;
    QLinearGradient rule(left + emblem + gap, 0, left + total, 0);
    rule.setColorAt(0, OrangeDark);
    rule.setColorAt(1, OrangeLight);
    p.fillRect(QRectF(left + emblem + gap, ruleY, wordBox.width(), std::max(1.0, h * 0.025)), rule);
    p.end();
    return canvas;
}

QImage DrawAppIcon(int size)
{
    QImage canvas = NewCanvas(QSize(size, size), 1);
    QPainter p;
    BeginPainting(p, canvas, 1);
    const qreal margin = size * 0.06;
    const QRectF box(margin, margin, size - 2 * margin, size - 2 * margin);
    // Soft shadow under the tile.
    for (int i = 6; i >= 1; --i) {
        QPainterPath shade;
        const qreal grow = i * size / 256.0;
        shade.addRoundedRect(box.adjusted(-grow, -grow + size * 0.02, grow, grow + size * 0.02),
                             box.width() * 0.22 + grow, box.width() * 0.22 + grow);
        p.fillPath(shade, QColor(0, 0, 0, 10));
    }
    PaintEmblem(p, box);
    p.end();
    return canvas;
}
