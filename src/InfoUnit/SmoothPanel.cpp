#include "SmoothPanel.h"

#include <QLinearGradient>
#include <QPainter>

#include <algorithm>

namespace {

const QColor GradientTop(238, 241, 246);
const QColor GradientBottom(213, 220, 231);
const QColor BorderColor(111, 112, 116);

} // namespace

TSmoothPanel::TSmoothPanel(QWidget *parent) : QWidget(parent) {}

void TSmoothPanel::SetCornerRadius(int radius)
{
    FCornerRadius = std::max(radius, 0);
    update();
}

void TSmoothPanel::SetShadowOffset(int offset)
{
    FShadowOffset = std::max(offset, 0);
    update();
}

void TSmoothPanel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    // The shadow takes its offset from the panel's own area, so the body
    // shrinks by it and the shadow stays inside the widget.
    const QRectF body = QRectF(rect()).adjusted(0, 0, -FShadowOffset, -FShadowOffset);
    if (body.isEmpty())
        return;
    const qreal radius = FCornerRadius;
    painter.setRenderHint(QPainter::Antialiasing, radius > 0 || FShadowOffset > 0);

    if (FShadowOffset > 0) {
        // A few faint layers, each smaller, blur the shadow's edge.
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0, 0, 0, 24));
        for (int layer = 0; layer < 3; ++layer) {
            const qreal inset = 2.0 * layer;
            painter.drawRoundedRect(body.translated(FShadowOffset, FShadowOffset)
                                        .adjusted(inset, inset, -inset, -inset),
                                    radius, radius);
        }
    }

    QLinearGradient gradient(body.topLeft(), body.bottomLeft());
    gradient.setColorAt(0, GradientTop);
    gradient.setColorAt(1, GradientBottom);
    painter.setBrush(gradient);
    painter.setPen(QPen(BorderColor, 1));
    // Half-pixel inset puts the one-pixel border exactly on the edge pixels.
    painter.drawRoundedRect(body.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
}
