#include "OpticCalcUnit/MenuIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

QPixmap WithCheckMark(const QPixmap &picture)
{
    QPixmap marked = picture;
    const qreal side = marked.width() / marked.devicePixelRatio();
    QPainter painter(&marked);
    painter.setRenderHint(QPainter::Antialiasing);
    // A round badge in the lower right corner, large enough to be seen at
    // 16 px, with a light rim so it stands out on every flag's colours.
    const QRectF badge(side * 0.375, side * 0.375, side * 0.625, side * 0.625);
    painter.setPen(QPen(Qt::white, side / 16));
    painter.setBrush(QColor(0x1b, 0x7a, 0x2e));
    painter.drawEllipse(badge.adjusted(side / 32, side / 32, -side / 32, -side / 32));
    QPainterPath tick;
    tick.moveTo(badge.left() + badge.width() * 0.24, badge.top() + badge.height() * 0.52);
    tick.lineTo(badge.left() + badge.width() * 0.43, badge.top() + badge.height() * 0.71);
    tick.lineTo(badge.left() + badge.width() * 0.77, badge.top() + badge.height() * 0.31);
    painter.setPen(QPen(Qt::white, side / 9, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(tick);
    return marked;
}

} // namespace

QIcon CheckableMenuIcon(const QString &path)
{
    QIcon icon;
    QString doubled = path;
    doubled.insert(path.lastIndexOf(u'.'), QStringLiteral("@2x"));
    // The reader takes the "@2x" of a name as a device pixel ratio of 2.
    for (const QString &file : {path, doubled}) {
        const QPixmap picture(file);
        if (picture.isNull())
            continue;
        icon.addPixmap(picture, QIcon::Normal, QIcon::Off);
        icon.addPixmap(WithCheckMark(picture), QIcon::Normal, QIcon::On);
    }
    return icon;
}
