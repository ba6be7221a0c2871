#include "Artwork.h"

#include "Ui.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>
#include <numbers>

namespace kv {

namespace {

void checkered(QPainter& p, const QRectF& r, int cols, int rows) {
    const double w = r.width() / cols;
    const double h = r.height() / rows;
    for (int y = 0; y < rows; ++y)
        for (int x = 0; x < cols; ++x)
            p.fillRect(QRectF(r.left() + x * w, r.top() + y * h, w, h),
                       (x + y) % 2 ? Qt::black : Qt::white);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(r);
}

// A small racing car seen from the side.
void car(QPainter& p, const QRectF& r, const QColor& body) {
    QPainterPath path;
    const double x = r.left(), y = r.top(), w = r.width(), h = r.height();
    path.moveTo(x, y + h * 0.75);
    path.lineTo(x + w * 0.05, y + h * 0.45);
    path.lineTo(x + w * 0.35, y + h * 0.40);
    path.lineTo(x + w * 0.45, y + h * 0.15);
    path.lineTo(x + w * 0.65, y + h * 0.15);
    path.lineTo(x + w * 0.75, y + h * 0.40);
    path.lineTo(x + w * 0.98, y + h * 0.50);
    path.lineTo(x + w, y + h * 0.75);
    path.closeSubpath();
    p.setPen(QPen(Qt::black, std::max(1.0, w / 60)));
    p.setBrush(body);
    p.drawPath(path);
    p.setBrush(QColor(40, 40, 40));
    const double wheel = h * 0.38;
    p.drawEllipse(QRectF(x + w * 0.12, y + h * 0.58, wheel, wheel));
    p.drawEllipse(QRectF(x + w * 0.70, y + h * 0.58, wheel, wheel));
    p.setBrush(QColor(170, 210, 255));
    p.drawRect(QRectF(x + w * 0.48, y + h * 0.20, w * 0.14, h * 0.18));
}

} // namespace

QPixmap toolbarPicture(int index, int size) {
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const double s = size;
    switch (index) {
    case 0: { // registration: a clipboard with a list
        p.setPen(QPen(QColor(90, 60, 20), s / 24));
        p.setBrush(QColor(205, 160, 95));
        p.drawRoundedRect(QRectF(s * 0.18, s * 0.12, s * 0.64, s * 0.80), s * 0.05, s * 0.05);
        p.setBrush(Qt::white);
        p.setPen(QPen(Qt::gray, 1));
        p.drawRect(QRectF(s * 0.25, s * 0.22, s * 0.50, s * 0.62));
        p.setBrush(QColor(120, 120, 120));
        p.drawRoundedRect(QRectF(s * 0.38, s * 0.06, s * 0.24, s * 0.12), 3, 3);
        for (int i = 0; i < 5; ++i) {
            const double y = s * (0.31 + i * 0.11);
            p.setPen(QPen(QColor(0, 90, 200), s / 22));
            p.drawLine(QPointF(s * 0.30, y), QPointF(s * 0.36, y));
            p.setPen(QPen(Qt::black, s / 40));
            p.drawLine(QPointF(s * 0.40, y), QPointF(s * 0.68, y));
        }
        break;
    }
    case 1: { // manager: heats as a tree of brackets
        p.setPen(QPen(QColor(0, 70, 150), s / 16, Qt::SolidLine, Qt::RoundCap));
        const double xs[] = {0.15, 0.45, 0.75};
        for (int i = 0; i < 4; ++i)
            p.drawLine(QPointF(s * xs[0], s * (0.18 + i * 0.2)),
                       QPointF(s * xs[1], s * (0.18 + i * 0.2)));
        p.drawLine(QPointF(s * xs[1], s * 0.18), QPointF(s * xs[1], s * 0.38));
        p.drawLine(QPointF(s * xs[1], s * 0.58), QPointF(s * xs[1], s * 0.78));
        p.drawLine(QPointF(s * xs[1], s * 0.28), QPointF(s * xs[2], s * 0.28));
        p.drawLine(QPointF(s * xs[1], s * 0.68), QPointF(s * xs[2], s * 0.68));
        p.drawLine(QPointF(s * xs[2], s * 0.28), QPointF(s * xs[2], s * 0.68));
        p.setBrush(QColor(255, 200, 0));
        p.setPen(QPen(QColor(150, 100, 0), s / 40));
        p.drawEllipse(QPointF(s * 0.86, s * 0.48), s * 0.09, s * 0.09);
        break;
    }
    case 2: { // race: a car under a chequered flag
        p.setPen(QPen(QColor(60, 60, 60), s / 30));
        p.drawLine(QPointF(s * 0.18, s * 0.08), QPointF(s * 0.18, s * 0.62));
        checkered(p, QRectF(s * 0.18, s * 0.08, s * 0.62, s * 0.34), 6, 3);
        car(p, QRectF(s * 0.06, s * 0.56, s * 0.88, s * 0.36), QColor(210, 30, 30));
        break;
    }
    case 3: { // reports: a bar chart on paper
        p.setPen(QPen(Qt::gray, 1));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(s * 0.12, s * 0.10, s * 0.76, s * 0.80));
        const QColor colors[] = {QColor(220, 50, 50), QColor(50, 150, 50), QColor(40, 90, 210)};
        const double heights[] = {0.35, 0.60, 0.48};
        for (int i = 0; i < 3; ++i) {
            p.setBrush(colors[i]);
            p.setPen(Qt::NoPen);
            p.drawRect(
                QRectF(s * (0.22 + i * 0.20), s * (0.80 - heights[i]), s * 0.14, s * heights[i]));
        }
        p.setPen(QPen(Qt::black, s / 40));
        p.drawLine(QPointF(s * 0.18, s * 0.80), QPointF(s * 0.82, s * 0.80));
        break;
    }
    case 4: { // set-up: a gear wheel
        QPainterPath gear;
        const QPointF c(s / 2, s / 2);
        const int teeth = 8;
        for (int i = 0; i < teeth * 2; ++i) {
            const double r = (i % 2 ? 0.30 : 0.40) * s;
            const double a0 = (i - 0.5) * std::numbers::pi / teeth;
            const double a1 = (i + 0.5) * std::numbers::pi / teeth;
            const QPointF p0(c.x() + r * std::cos(a0), c.y() + r * std::sin(a0));
            const QPointF p1(c.x() + r * std::cos(a1), c.y() + r * std::sin(a1));
            if (i == 0)
                gear.moveTo(p0);
            else
                gear.lineTo(p0);
            gear.lineTo(p1);
        }
        gear.closeSubpath();
        gear.addEllipse(c, s * 0.12, s * 0.12);
        p.setPen(QPen(QColor(50, 50, 50), s / 40));
        p.setBrush(QColor(150, 155, 165));
        p.drawPath(gear);
        break;
    }
    case 5: { // practice: a stopwatch
        const QPointF c(s / 2, s * 0.56);
        p.setPen(QPen(QColor(40, 40, 40), s / 20));
        p.setBrush(QColor(245, 245, 245));
        p.drawEllipse(c, s * 0.34, s * 0.34);
        p.setBrush(QColor(40, 40, 40));
        p.drawRect(QRectF(s * 0.44, s * 0.08, s * 0.12, s * 0.10));
        p.setPen(QPen(QColor(200, 30, 30), s / 18, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(c, QPointF(c.x() + s * 0.16, c.y() - s * 0.18));
        p.setPen(QPen(Qt::black, s / 40));
        for (int i = 0; i < 12; ++i) {
            const double a = i * std::numbers::pi / 6;
            p.drawLine(QPointF(c.x() + s * 0.27 * std::cos(a), c.y() + s * 0.27 * std::sin(a)),
                       QPointF(c.x() + s * 0.31 * std::cos(a), c.y() + s * 0.31 * std::sin(a)));
        }
        break;
    }
    default:
        break;
    }
    return pm;
}

QPixmap splashPicture() {
    QPixmap pm(600, 400);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, 400);
    sky.setColorAt(0, QColor(10, 30, 80));
    sky.setColorAt(1, QColor(0, 0, 20));
    p.fillRect(pm.rect(), sky);

    // The track: a sweeping band with kerbs.
    QPainterPath track;
    track.moveTo(-20, 330);
    track.cubicTo(150, 220, 420, 420, 620, 250);
    p.setPen(QPen(QColor(70, 70, 75), 70, Qt::SolidLine, Qt::FlatCap));
    p.drawPath(track);
    p.setPen(QPen(QColor(230, 230, 230), 3, Qt::DashLine, Qt::FlatCap));
    p.drawPath(track);

    // The finish line and its flag.
    p.save();
    p.translate(470, 95);
    p.rotate(-8);
    p.setPen(QPen(QColor(200, 200, 200), 4));
    p.drawLine(0, 0, 0, 150);
    checkered(p, QRectF(0, 0, 96, 60), 8, 5);
    p.restore();

    car(p, QRectF(160, 245, 150, 60), QColor(220, 30, 30));
    car(p, QRectF(40, 290, 120, 48), QColor(240, 200, 0));

    p.setPen(Qt::white);
    p.setFont(blackFont(40));
    p.drawText(QRect(30, 40, 420, 80), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Kirv Vorel"));
    p.setFont(formFont(14, true));
    p.setPen(QColor(255, 200, 0));
    p.drawText(QRect(34, 112, 420, 30), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Race management system"));
    p.setPen(QColor(180, 190, 210));
    p.setFont(formFont(9, false));
    p.drawText(QRect(34, 142, 420, 24), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Timed by the Kirv lap counter"));
    return pm;
}

} // namespace kv
