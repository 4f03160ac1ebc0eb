#include "Artwork.h"

#include <QPainter>

QImage NewCanvas(QSize logicalSize, int scale)
{
    QImage canvas(logicalSize * scale, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::transparent);
    return canvas;
}

void BeginPainting(QPainter &painter, QImage &canvas, int scale)
{
    painter.begin(&canvas);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing |
                           QPainter::SmoothPixmapTransform);
    painter.scale(scale, scale);
}

QColor Mix(const QColor &a, const QColor &b, qreal t)
{
    return QColor::fromRgbF(float(a.redF() + (b.redF() - a.redF()) * t),
                            float(a.greenF() + (b.greenF() - a.greenF()) * t),
                            float(a.blueF() + (b.blueF() - a.blueF()) * t),
                            float(a.alphaF() + (b.alphaF() - a.alphaF()) * t));
}

QLinearGradient CylinderShade(qreal y0, qreal y1, const QColor &base, qreal gloss)
{
    const QColor white(255, 255, 255);
    const QColor black(0, 0, 0);
    QLinearGradient g(0, y0, 0, y1);
    g.setColorAt(0.00, Mix(base, black, 0.30));
    g.setColorAt(0.10, Mix(base, white, 0.25 * gloss));
    g.setColorAt(0.26, Mix(base, white, 0.75 * gloss));
    g.setColorAt(0.42, Mix(base, white, 0.15 * gloss));
    g.setColorAt(0.70, Mix(base, black, 0.12));
    g.setColorAt(0.90, Mix(base, black, 0.30));
    g.setColorAt(1.00, Mix(base, black, 0.50));
    return g;
}
