#include "app/hand_cursors.h"

#include <QPainter>
#include <QPainterPath>

namespace tama05 {

QPixmap DrawHandPicture(bool fingerBent) {
    QPixmap picture(kHandCursorSize, kHandCursorSize);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::white);

    // The palm with three curled fingers along its top and the thumb on its left.
    QPainterPath hand;
    hand.addRoundedRect(QRectF(4, 13, 17, 14), 3, 3);
    painter.drawPath(hand);
    for (int i = 0; i < 3; ++i) {
        painter.drawRoundedRect(QRectF(8 + i * 4.5, 10, 4.5, 6), 2, 2);
    }
    painter.drawRoundedRect(QRectF(1, 16, 6, 4), 2, 2);
    // The index finger: straight up to the hot spot, or bent at its middle joint.
    if (fingerBent) {
        painter.drawRoundedRect(QRectF(1, 7, 5, 9), 2, 2);
        painter.drawRoundedRect(QRectF(1, 1, 5, 7), 2, 2);
        painter.drawLine(QPointF(2, 8), QPointF(5, 8));
    } else {
        painter.drawRoundedRect(QRectF(1, 1, 5, 16), 2, 2);
        painter.drawLine(QPointF(2, 6), QPointF(5, 6));
    }
    // The cuff below the palm.
    painter.setBrush(Qt::black);
    painter.drawRect(QRectF(6, 27, 13, 3));
    return picture;
}

QCursor HoverHandCursor() {
    return QCursor(DrawHandPicture(false), kHandHotSpot, kHandHotSpot);
}

QCursor PressedHandCursor() {
    return QCursor(DrawHandPicture(true), kHandHotSpot, kHandHotSpot);
}

}  // namespace tama05
