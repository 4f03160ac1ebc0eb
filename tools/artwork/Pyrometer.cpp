#include "Artwork.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QTransform>

#include <cmath>
#include <vector>

using namespace BeamGeometry;

namespace {

const QColor Outline(36, 40, 48);
const QColor Steel(150, 157, 168);
const QColor Rubber(44, 45, 50);
const QColor Anodised(52, 55, 62);
const QColor Accent(255, 128, 0);
const QColor BeamEdge(66, 72, 86, 235);

QRectF Band(qreal x0, qreal x1, qreal half)
{
    return QRectF(x0, AxisY - half, x1 - x0, 2 * half);
}

void FillOutlined(QPainter &p, const QPainterPath &path, const QBrush &brush)
{
    p.fillPath(path, brush);
    p.strokePath(path, QPen(Outline, 1.0, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
}

QPainterPath RoundedBand(qreal x0, qreal x1, qreal half, qreal radius)
{
    QPainterPath path;
    path.addRoundedRect(Band(x0, x1, half), radius, radius);
    return path;
}

void PaintCable(QPainter &p)
{
    // Cable leaving the picture at the left.
    QPainterPath cable;
    cable.addRect(Band(-2, 34, 5));
    p.fillPath(cable, CylinderShade(AxisY - 5, AxisY + 5, Rubber, 0.8));
    p.setPen(QPen(Outline, 1.0));
    p.drawLine(QPointF(-2, AxisY - 5), QPointF(34, AxisY - 5));
    p.drawLine(QPointF(-2, AxisY + 5), QPointF(34, AxisY + 5));

    // Ribbed strain relief, tapering towards the cable.
    QPainterPath relief;
    relief.moveTo(32, AxisY - 6.5);
    relief.lineTo(58, AxisY - 10);
    relief.lineTo(58, AxisY + 10);
    relief.lineTo(32, AxisY + 6.5);
    relief.closeSubpath();
    FillOutlined(p, relief, CylinderShade(AxisY - 10, AxisY + 10, Rubber, 0.9));
    p.save();
    p.setClipPath(relief);
    for (qreal x = 36; x < 57; x += 3.5) {
        p.setPen(QPen(QColor(0, 0, 0, 120), 1.0));
        p.drawLine(QPointF(x, AxisY - 12), QPointF(x, AxisY + 12));
        p.setPen(QPen(QColor(255, 255, 255, 40), 1.0));
        p.drawLine(QPointF(x + 1, AxisY - 12), QPointF(x + 1, AxisY + 12));
    }
    p.restore();
}

void PaintConnector(QPainter &p)
{
    // Knurled coupling nut of the plug.
    const QPainterPath nut = RoundedBand(57.5, 86.5, 14.5, 2.5);
    p.fillPath(nut, CylinderShade(AxisY - 14.5, AxisY + 14.5, QColor(170, 176, 186), 1.0));
    p.save();
    p.setClipPath(nut);
    for (qreal x = 61; x < 84; x += 2) {
        p.setPen(QPen(QColor(20, 24, 32, 70), 0.8));
        p.drawLine(QPointF(x, AxisY - 15), QPointF(x, AxisY + 15));
    }
    p.restore();
    p.setPen(QPen(Outline, 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawPath(nut);
    p.setPen(QPen(QColor(40, 44, 52, 150), 1.0));
    p.drawLine(QPointF(60.5, AxisY - 14), QPointF(60.5, AxisY + 14));
    p.drawLine(QPointF(83.5, AxisY - 14), QPointF(83.5, AxisY + 14));

    // Socket flange between plug and housing.
    FillOutlined(p, RoundedBand(86.5, 96.5, 23.5, 1.5),
                 CylinderShade(AxisY - 23.5, AxisY + 23.5, Anodised, 0.9));
}

void PaintHousing(QPainter &p)
{
    const qreal half = 35;
    QPainterPath body;
    body.addRoundedRect(Band(95.5, 256, half), 3, 3);
    p.fillPath(body, CylinderShade(AxisY - half, AxisY + half, Steel));

    p.save();
    p.setClipPath(body);
    // Fine mounting thread on the front half.
    for (qreal x = 186; x < 254; x += 3) {
        p.setPen(QPen(QColor(30, 34, 42, 80), 0.9));
        p.drawLine(QPointF(x, AxisY - half), QPointF(x + 1.5, AxisY + half));
        p.setPen(QPen(QColor(255, 255, 255, 70), 0.9));
        p.drawLine(QPointF(x + 1.2, AxisY - half), QPointF(x + 2.7, AxisY + half));
    }
    // Maker's colour ring near the rear.
    const QRectF ring = Band(104, 111, half + 1);
    p.fillRect(ring, CylinderShade(ring.top(), ring.bottom(), Accent, 0.7));
    p.setPen(QPen(QColor(120, 50, 0, 160), 0.8));
    p.drawLine(QPointF(104, ring.top()), QPointF(104, ring.bottom()));
    p.drawLine(QPointF(111, ring.top()), QPointF(111, ring.bottom()));

    // Engraved name: a dark cut with a light lower lip.
    QFont font("Arial");
    font.setPixelSize(10);
    font.setBold(true);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 1.6);
    p.setFont(font);
    const QRectF label(114, AxisY - 8, 70, 16);
    p.setPen(QColor(255, 255, 255, 150));
    p.drawText(label.translated(0, 0.8), Qt::AlignCenter, QStringLiteral("TAVREL"));
    p.setPen(QColor(48, 54, 66, 220));
    p.drawText(label, Qt::AlignCenter, QStringLiteral("TAVREL"));
    p.restore();

    p.setPen(QPen(Outline, 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawPath(body);

    // Hex lock nut on the thread: three faces seen from the side.
    const qreal nutHalf = 41;
    const qreal x0 = 199.5;
    const qreal x1 = 218.5;
    const qreal faces[4] = {AxisY - nutHalf, AxisY - nutHalf / 2, AxisY + nutHalf / 2,
                            AxisY + nutHalf};
    const QColor nutBase(160, 166, 176);
    for (int i = 0; i < 3; ++i) {
        QPainterPath face;
        const qreal inset = (i == 1) ? 0 : 1.5; // chamfered corners of the outer faces
        face.moveTo(x0 + (i == 0 ? inset : 0), faces[i]);
        face.lineTo(x1 - (i == 0 ? inset : 0), faces[i]);
        face.lineTo(x1 - (i == 2 ? inset : 0), faces[i + 1]);
        face.lineTo(x0 + (i == 2 ? inset : 0), faces[i + 1]);
        face.closeSubpath();
        QLinearGradient shade(0, faces[i], 0, faces[i + 1]);
        const qreal light = (i == 0) ? 0.55 : (i == 1 ? 0.2 : -0.35);
        const QColor c =
            light > 0 ? Mix(nutBase, Qt::white, light) : Mix(nutBase, Qt::black, -light);
        shade.setColorAt(0, Mix(c, Qt::white, 0.15));
        shade.setColorAt(1, Mix(c, Qt::black, 0.12));
        FillOutlined(p, face, shade);
    }

    // Front face of the housing: a dark chamfer over columns 254 and 255.
    p.fillRect(QRectF(HousingFrontColumn, AxisY - half, 2, 2 * half), QColor(42, 46, 54));
}

void PaintLens(QPainter &p)
{
    // Black anodised lens mount with a bevelled front.
    QPainterPath mount;
    mount.moveTo(256, AxisY - 33.5);
    mount.lineTo(277, AxisY - 33.5);
    mount.lineTo(280.5, AxisY - 31);
    mount.lineTo(280.5, AxisY + 31);
    mount.lineTo(277, AxisY + 33.5);
    mount.lineTo(256, AxisY + 33.5);
    mount.closeSubpath();
    FillOutlined(p, mount, CylinderShade(AxisY - 33.5, AxisY + 33.5, Anodised, 1.0));
    p.setPen(QPen(QColor(255, 255, 255, 45), 1.0));
    p.drawLine(QPointF(262.5, AxisY - 32), QPointF(262.5, AxisY + 32));
    p.setPen(QPen(QColor(0, 0, 0, 90), 1.0));
    p.drawLine(QPointF(263.5, AxisY - 32), QPointF(263.5, AxisY + 32));

    // Infrared lens: a dark convex cap whose apex is the lens front.
    QPainterPath lens;
    lens.moveTo(280, AxisY - 30);
    lens.quadTo(2 * LensFrontColumn - 280, AxisY, 280, AxisY + 30); // apex at x 288
    lens.closeSubpath();
    QLinearGradient glass(0, AxisY - 30, 0, AxisY + 30);
    glass.setColorAt(0.00, QColor(58, 48, 92));
    glass.setColorAt(0.22, QColor(150, 132, 206));
    glass.setColorAt(0.34, QColor(96, 82, 150));
    glass.setColorAt(0.62, QColor(44, 40, 78));
    glass.setColorAt(0.86, QColor(70, 104, 122));
    glass.setColorAt(1.00, QColor(24, 24, 40));
    p.fillPath(lens, glass);
    p.strokePath(lens, QPen(QColor(20, 20, 32), 0.9));
}

} // namespace

qreal BeamHalf(Beam beam, qreal x)
{
    if (beam == Beam::Converging) {
        // Straight edge rays: a double cone with its waist at the focus.
        return WaistHalf + (ApertureHalf - WaistHalf) * std::abs(x - FocusX) / (FocusX - LensX);
    }
    return ApertureHalf + (DivergingEndHalf - ApertureHalf) * (x - LensX) / (Width - LensX);
}

namespace {

void PaintBeam(QPainter &p, QImage &canvas, Beam beam, int scale)
{
    const qreal start = 281; // the rim of the lens
    const qreal end = Width + 1;
    std::vector<qreal> breaks{start};
    if (beam == Beam::Converging) {
        breaks.push_back(FocusX);
    }
    breaks.push_back(end);

    // The shading follows the rays: each cone section is a trapezoid, filled
    // through a projective map of the unit square so that the vertical
    // gradient is stretched across the beam's local width at every column.
    QImage layer(canvas.size(), QImage::Format_ARGB32_Premultiplied);
    layer.fill(Qt::transparent);
    QPainter lp(&layer);
    lp.scale(scale, scale);
    QLinearGradient across(0, 0, 0, 1);
    across.setColorAt(0.00, QColor(92, 98, 112, 70));
    across.setColorAt(0.20, QColor(92, 98, 112, 98));
    across.setColorAt(0.50, QColor(92, 98, 112, 122));
    across.setColorAt(0.80, QColor(92, 98, 112, 98));
    across.setColorAt(1.00, QColor(92, 98, 112, 70));
    lp.setCompositionMode(QPainter::CompositionMode_Source);
    for (size_t i = 0; i + 1 < breaks.size(); ++i) {
        const qreal xa = breaks[i] - 1;
        const qreal xb = breaks[i + 1] + 1;
        QPolygonF quad;
        quad << QPointF(xa, AxisY - BeamHalf(beam, xa)) << QPointF(xb, AxisY - BeamHalf(beam, xb))
             << QPointF(xb, AxisY + BeamHalf(beam, xb)) << QPointF(xa, AxisY + BeamHalf(beam, xa));
        QTransform map;
        QTransform::squareToQuad(quad, map);
        lp.save();
        lp.setTransform(map, true);
        lp.fillRect(QRectF(0, -0.4, 1, 1.8), across);
        lp.restore();
    }

    QPolygonF top;
    QPolygonF bottom;
    for (const qreal x : breaks) {
        top << QPointF(x, AxisY - BeamHalf(beam, x));
        bottom << QPointF(x, AxisY + BeamHalf(beam, x));
    }
    QPolygonF outline = top;
    for (auto it = bottom.crbegin(); it != bottom.crend(); ++it) {
        outline << *it;
    }
    // DestinationIn only acts where the source is drawn, so the cut-out
    // goes through a full-size mask.
    QImage mask(canvas.size(), QImage::Format_ARGB32_Premultiplied);
    mask.fill(Qt::transparent);
    QPainter mp(&mask);
    mp.setRenderHint(QPainter::Antialiasing);
    mp.scale(scale, scale);
    mp.setPen(Qt::NoPen);
    mp.setBrush(Qt::black);
    mp.drawPolygon(outline);
    mp.end();
    lp.resetTransform();
    lp.setCompositionMode(QPainter::CompositionMode_DestinationIn);
    lp.drawImage(0, 0, mask);
    lp.end();

    p.save();
    p.resetTransform();
    p.drawImage(0, 0, layer);
    p.restore();

    p.setPen(QPen(BeamEdge, 1.0, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(top);
    p.drawPolyline(bottom);
}

} // namespace

QImage DrawBeamPicture(Beam beam, int scale)
{
    QImage canvas = NewCanvas(QSize(Width, Height), scale);
    QPainter p;
    BeginPainting(p, canvas, scale);
    PaintBeam(p, canvas, beam, scale);
    PaintCable(p);
    PaintConnector(p);
    PaintHousing(p);
    PaintLens(p);
    p.end();
    return canvas;
}
