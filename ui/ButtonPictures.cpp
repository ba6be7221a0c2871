#include "ButtonPictures.h"

#include "Ui.h"

#include <QPainter>
#include <QPainterPath>
#include <QToolButton>

#include <algorithm>

namespace kv {

namespace {

void drawStart(QPainter& p, double s) {
    QPainterPath triangle;
    triangle.moveTo(s * 0.28, s * 0.18);
    triangle.lineTo(s * 0.82, s * 0.50);
    triangle.lineTo(s * 0.28, s * 0.82);
    triangle.closeSubpath();
    p.setPen(QPen(QColor(0, 90, 0), std::max(1.0, s / 24)));
    p.setBrush(QColor(0, 192, 0));
    p.drawPath(triangle);
}

void drawStop(QPainter& p, double s) {
    p.setPen(QPen(QColor(110, 0, 0), std::max(1.0, s / 24)));
    p.setBrush(QColor(220, 0, 0));
    p.drawRoundedRect(QRectF(s * 0.22, s * 0.22, s * 0.56, s * 0.56), s * 0.06, s * 0.06);
}

void drawPreview(QPainter& p, double s) {
    p.setPen(QPen(Qt::black, std::max(1.0, s / 20)));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(s * 0.15, s * 0.08, s * 0.50, s * 0.66));
    for (int line = 0; line < 4; ++line)
        p.drawLine(QPointF(s * 0.24, s * (0.22 + 0.12 * line)),
                   QPointF(s * 0.56, s * (0.22 + 0.12 * line)));
    p.setBrush(QColor(170, 210, 255, 200));
    p.drawEllipse(QRectF(s * 0.45, s * 0.45, s * 0.32, s * 0.32));
    p.setPen(QPen(Qt::black, std::max(2.0, s / 9), Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(s * 0.73, s * 0.73), QPointF(s * 0.90, s * 0.90));
}

void drawDelete(QPainter& p, double s) {
    p.setPen(QPen(QColor(110, 0, 0), std::max(2.0, s / 5.5), Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(s * 0.26, s * 0.26), QPointF(s * 0.74, s * 0.74));
    p.drawLine(QPointF(s * 0.74, s * 0.26), QPointF(s * 0.26, s * 0.74));
    p.setPen(QPen(QColor(220, 0, 0), std::max(1.0, s / 9), Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(s * 0.26, s * 0.26), QPointF(s * 0.74, s * 0.74));
    p.drawLine(QPointF(s * 0.74, s * 0.26), QPointF(s * 0.26, s * 0.74));
}

} // namespace

QPixmap buttonPicture(ButtonPicture picture, int size) {
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const double s = size;
    switch (picture) {
    case ButtonPicture::Start:
        drawStart(p, s);
        break;
    case ButtonPicture::Stop:
        drawStop(p, s);
        break;
    case ButtonPicture::Preview:
        drawPreview(p, s);
        break;
    case ButtonPicture::Delete:
        drawDelete(p, s);
        break;
    }
    return pm;
}

QToolButton* addPictureButton(const char* name, QWidget* parent, int left, int top, int width,
                              int height, ButtonPicture picture, const QString& purpose) {
    auto* button = addControl<QToolButton>(name, parent, left, top, width, height);
    const int side = std::max(1, std::min(tw(width), tw(height)) - 12);
    button->setIcon(QIcon(buttonPicture(picture, side)));
    button->setIconSize(QSize(side, side));
    button->setAccessibleName(purpose);
    return button;
}

} // namespace kv
