#pragma once

// Drawing routines of the artwork generator. Everything is drawn in logical
// pixels; a scale of 2 gives the @2x variant with identical geometry.

#include <QColor>
#include <QImage>
#include <QLinearGradient>
#include <QRectF>
#include <QSize>

class QPainter;

// Geometry of the beam pictures that the calculator window relies on: one
// picture column per slider step, the focus 192 columns in front of the lens.
namespace BeamGeometry {
inline constexpr int Width = 674;
inline constexpr int Height = 109;
inline constexpr int LensFrontColumn = 288;
inline constexpr int FocusColumn = 480;
inline constexpr int HousingFrontColumn = 254; // front face: columns 254 and 255
inline constexpr qreal AxisY = Height / 2.0;
// Continuous x of the column centres, so the waist is symmetric about a column.
inline constexpr qreal LensX = LensFrontColumn + 0.5;
inline constexpr qreal FocusX = FocusColumn + 0.5;
inline constexpr qreal ApertureHalf = 30; // beam diameter 60 px at the lens front
inline constexpr qreal WaistHalf = 2;
inline constexpr qreal DivergingEndHalf = 52;
} // namespace BeamGeometry

enum class Beam
{
    Converging,
    Diverging
};

enum class Icon
{
    Calc,
    Print,
    Export,
    NewRow,
    Clear,
    ToTable,
    Deutsch,
    English,
    Info
};

// Transparent ARGB canvas of logicalSize * scale device pixels.
QImage NewCanvas(QSize logicalSize, int scale);
// A painter on a canvas, antialiased and scaled to logical pixels.
void BeginPainting(QPainter &painter, QImage &canvas, int scale);

QColor Mix(const QColor &a, const QColor &b, qreal t);
// Vertical shading of a cylinder seen from the side, between y0 and y1.
QLinearGradient CylinderShade(qreal y0, qreal y1, const QColor &base, qreal gloss = 1.0);

// Half-height of the beam at continuous x.
qreal BeamHalf(Beam beam, qreal x);

QImage DrawBeamPicture(Beam beam, int scale);
QImage DrawDiagram();
void PaintEmblem(QPainter &painter, const QRectF &box);
QImage DrawLogo(QSize logicalSize, int scale);
QImage DrawAppIcon(int size);
QImage DrawIcon(Icon icon, int scale);

// Reduces an opaque picture to at most 256 colours (median cut, no dithering,
// so lines and text stay crisp).
QImage ToIndexed8(const QImage &image);
