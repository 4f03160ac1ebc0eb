#include "Artwork.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRadialGradient>

#include <cmath>
#include <utility>

// The icons are laid out on a 16 x 16 grid: strokes of one pixel sit on
// half-pixel positions and fills on whole ones, so they stay crisp at 1x and
// at 2x.

namespace {

const QColor Frame(84, 92, 110);
const QColor Paper(255, 255, 255);

QLinearGradient Vertical(qreal y0, qreal y1, const QColor &top, const QColor &bottom)
{
    QLinearGradient g(0, y0, 0, y1);
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    return g;
}

void Calculator(QPainter &p)
{
    QPainterPath body;
    body.addRoundedRect(QRectF(2.5, 0.5, 11, 15), 1.5, 1.5);
    p.fillPath(body, Vertical(0, 16, QColor(112, 124, 150), QColor(58, 66, 86)));
    p.strokePath(body, QPen(QColor(38, 44, 58), 1));
    p.fillRect(QRectF(4, 2, 8, 3), Vertical(2, 5, QColor(178, 214, 168), QColor(214, 238, 204)));
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col) {
            const QRectF key(4 + 3 * col, 6 + 3 * row, 2, 2);
            const bool equals = row == 2 && col == 2;
            p.fillRect(key, equals ? QColor(255, 136, 16) : QColor(236, 238, 244));
        }
    }
}

void Printer(QPainter &p)
{
    p.setPen(QPen(QColor(120, 124, 134), 1));
    p.setBrush(Paper);
    p.drawRect(QRectF(4.5, 0.5, 7, 6));

    QPainterPath body;
    body.addRoundedRect(QRectF(0.5, 5.5, 15, 7), 1.5, 1.5);
    p.fillPath(body, Vertical(5, 13, QColor(232, 234, 238), QColor(150, 156, 166)));
    p.strokePath(body, QPen(QColor(70, 76, 88), 1));
    p.fillRect(QRectF(3, 9, 10, 1), QColor(60, 64, 74));
    p.fillRect(QRectF(12, 7, 2, 1), QColor(40, 190, 60));

    p.setPen(QPen(QColor(120, 124, 134), 1));
    p.setBrush(Paper);
    p.drawRect(QRectF(3.5, 10.5, 9, 5));
    p.fillRect(QRectF(5, 12, 6, 1), QColor(150, 160, 180));
    p.fillRect(QRectF(5, 14, 4, 1), QColor(150, 160, 180));
}

void Document(QPainter &p)
{
    QPainterPath page;
    page.moveTo(1.5, 0.5);
    page.lineTo(8.5, 0.5);
    page.lineTo(11.5, 3.5);
    page.lineTo(11.5, 15.5);
    page.lineTo(1.5, 15.5);
    page.closeSubpath();
    p.fillPath(page, Vertical(0, 16, Paper, QColor(232, 236, 242)));
    p.strokePath(page, QPen(Frame, 1));
    QPainterPath fold;
    fold.moveTo(8.5, 0.5);
    fold.lineTo(8.5, 3.5);
    fold.lineTo(11.5, 3.5);
    p.strokePath(fold, QPen(Frame, 1));
    // Two columns of figures, as in the exported file.
    for (int y = 5; y <= 9; y += 2) {
        p.fillRect(QRectF(3, y, 3, 1), QColor(150, 160, 182));
        p.fillRect(QRectF(7, y, 3, 1), QColor(150, 160, 182));
    }

    QPolygonF arrow;
    arrow << QPointF(5.5, 10.5) << QPointF(10.5, 10.5) << QPointF(10.5, 8) << QPointF(15.3, 12)
          << QPointF(10.5, 16) << QPointF(10.5, 13.5) << QPointF(5.5, 13.5);
    p.setPen(QPen(QColor(24, 110, 36), 1, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.setBrush(Vertical(8, 16, QColor(110, 214, 106), QColor(34, 150, 48)));
    p.drawPolygon(arrow);
}

// A small table: blue header row, two columns, white rows.
void Table(QPainter &p, const QRectF &r, int rows, const QColor &lastRow = QColor())
{
    p.fillRect(r, Paper);
    const qreal rowHeight = (r.height()) / (rows + 1);
    p.fillRect(QRectF(r.left(), r.top(), r.width(), rowHeight),
               Vertical(r.top(), r.top() + rowHeight, QColor(150, 186, 236), QColor(84, 128, 202)));
    if (lastRow.isValid()) {
        p.fillRect(QRectF(r.left(), r.bottom() - rowHeight, r.width(), rowHeight), lastRow);
    }
    p.setPen(QPen(QColor(170, 178, 196), 1));
    for (int i = 2; i <= rows; ++i) {
        const qreal y = r.top() + i * rowHeight;
        p.drawLine(QPointF(r.left(), y), QPointF(r.right(), y));
    }
    const qreal mid = std::floor(r.center().x()) + 0.5;
    p.drawLine(QPointF(mid, r.top() + rowHeight), QPointF(mid, r.bottom()));
    p.setPen(QPen(Frame, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(r);
}

// Round status badge at the lower right, centred on a pixel so that a
// one-pixel mark inside it has a middle.
const QPointF BadgeCentre(11.5, 11.5);

void Badge(QPainter &p, const QColor &light, const QColor &dark)
{
    p.setPen(QPen(Qt::white, 1));
    p.setBrush(Vertical(7, 16, light, dark));
    p.drawEllipse(BadgeCentre, 4.3, 4.3);
    p.setPen(QPen(dark.darker(130), 0.8));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(BadgeCentre, 3.9, 3.9);
}

// At 1x the marks are set pixel by pixel; smoothed lines would blur them.
bool AtNativeSize(const QPainter &p)
{
    return p.transform().m11() < 1.5;
}

void NewRow(QPainter &p)
{
    Table(p, QRectF(0.5, 0.5, 13, 12), 3);
    Badge(p, QColor(118, 218, 110), QColor(30, 146, 44));
    const qreal w = AtNativeSize(p) ? 1 : 1.5;
    p.fillRect(QRectF(9, 11.5 - w / 2, 5, w), Qt::white);
    p.fillRect(QRectF(11.5 - w / 2, 9, w, 5), Qt::white);
}

void Clear(QPainter &p)
{
    Table(p, QRectF(0.5, 0.5, 13, 12), 3);
    Badge(p, QColor(250, 110, 96), QColor(196, 32, 24));
    if (AtNativeSize(p)) {
        for (int i = 0; i < 5; ++i) {
            p.fillRect(QRectF(9 + i, 9 + i, 1, 1), Qt::white);
            p.fillRect(QRectF(13 - i, 9 + i, 1, 1), Qt::white);
        }
    } else {
        p.setPen(QPen(Qt::white, 1.4, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(QPointF(9.5, 9.5), QPointF(13.5, 13.5));
        p.drawLine(QPointF(13.5, 9.5), QPointF(9.5, 13.5));
    }
}

void ToTable(QPainter &p)
{
    Table(p, QRectF(0.5, 6.5, 15, 9), 2, QColor(255, 226, 120));
    // Arrow dropping into the new row, with a white rim to lift it off the table.
    QPolygonF arrow;
    arrow << QPointF(5.5, -1) << QPointF(10.5, -1) << QPointF(10.5, 4.5) << QPointF(13.5, 4.5)
          << QPointF(8, 10) << QPointF(2.5, 4.5) << QPointF(5.5, 4.5);
    p.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPolygon(arrow);
    p.setPen(QPen(QColor(176, 72, 0), 1, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.setBrush(Vertical(0, 10, QColor(255, 180, 64), QColor(236, 96, 0)));
    p.drawPolygon(arrow);
}

void FlagFrame(QPainter &p, const QRectF &flag)
{
    QLinearGradient gloss(0, flag.top(), 0, flag.bottom());
    gloss.setColorAt(0, QColor(255, 255, 255, 60));
    gloss.setColorAt(0.5, QColor(255, 255, 255, 0));
    gloss.setColorAt(1, QColor(0, 0, 0, 30));
    p.fillRect(flag, gloss);
    p.setPen(QPen(QColor(0, 0, 0, 90), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(flag.adjusted(0.5, 0.5, -0.5, -0.5));
}

void Germany(QPainter &p)
{
    const QRectF flag(0, 2, 16, 12);
    p.fillRect(QRectF(0, 2, 16, 4), QColor(0, 0, 0));
    p.fillRect(QRectF(0, 6, 16, 4), QColor(221, 0, 0));
    p.fillRect(QRectF(0, 10, 16, 4), QColor(255, 206, 0));
    FlagFrame(p, flag);
}

void UnitedKingdom(QPainter &p)
{
    const QRectF flag(0, 2, 16, 12);
    p.save();
    p.setClipRect(flag);
    p.fillRect(flag, QColor(1, 33, 105));
    const QColor red(200, 16, 46);
    for (const auto &[width, colour] : {std::pair{3.2, QColor(Qt::white)}, std::pair{1.2, red}}) {
        p.setPen(QPen(colour, width, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(flag.topLeft(), flag.bottomRight());
        p.drawLine(flag.bottomLeft(), flag.topRight());
    }
    p.fillRect(QRectF(6, 2, 4, 12), Qt::white);
    p.fillRect(QRectF(0, 6, 16, 4), Qt::white);
    p.fillRect(QRectF(7, 2, 2, 12), red);
    p.fillRect(QRectF(0, 7, 16, 2), red);
    p.restore();
    FlagFrame(p, flag);
}

void Info(QPainter &p)
{
    QRadialGradient shade(QPointF(6, 4), 12);
    shade.setColorAt(0, QColor(108, 170, 246));
    shade.setColorAt(1, QColor(20, 84, 186));
    p.setPen(QPen(QColor(16, 62, 146), 1));
    p.setBrush(shade);
    p.drawEllipse(QPointF(8, 8), 7.5, 7.5);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(8, 4.5), 1.25, 1.25);
    p.fillRect(QRectF(7, 7, 2, 5), Qt::white);
    p.fillRect(QRectF(6, 7, 1, 1), Qt::white);
    p.fillRect(QRectF(6, 12, 4, 1), Qt::white);
}

} // namespace

QImage DrawIcon(Icon icon, int scale)
{
    QImage canvas = NewCanvas(QSize(16, 16), scale);
    QPainter p;
    BeginPainting(p, canvas, scale);
    switch (icon) {
    case Icon::Calc:
        Calculator(p);
        break;
    case Icon::Print:
        Printer(p);
        break;
    case Icon::Export:
        Document(p);
        break;
    case Icon::NewRow:
        NewRow(p);
        break;
    case Icon::Clear:
        Clear(p);
        break;
    case Icon::ToTable:
        ToTable(p);
        break;
    case Icon::Deutsch:
        Germany(p);
        break;
    case Icon::English:
        UnitedKingdom(p);
        break;
    case Icon::Info:
        Info(p);
        break;
    }
    p.end();
    return canvas;
}
