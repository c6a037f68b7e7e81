// Draws the window icon, 32 x 32: nested lobed rings in the program's own manner
// over a banded lattice, inside a round frame. Run at build time:
//   pestrolik_draw_icon <output.png>

#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <cstdio>

namespace {

constexpr int side = 32;
constexpr double turn = 6.283185307179586;

// A closed rose-like ring: radius r swelling by `depth` over `lobes` lobes.
QPainterPath lobedRing(double r, double depth, int lobes, double phase) {
    QPainterPath path;
    constexpr int steps = 180;
    for (int i = 0; i <= steps; ++i) {
        const double a = turn * i / steps;
        const double radius = r + depth * std::sin(lobes * a + phase);
        const QPointF point(side / 2.0 + radius * std::cos(a), side / 2.0 + radius * std::sin(a));
        if (i == 0)
            path.moveTo(point);
        else
            path.lineTo(point);
    }
    return path;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: pestrolik_draw_icon <output.png>\n");
        return 2;
    }
    QImage icon(side, side, QImage::Format_ARGB32);
    icon.fill(Qt::transparent);

    // The lattice: the AND of a row wave and a column wave, as the backgrounds are made.
    QImage lattice(side, side, QImage::Format_ARGB32);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            const int ry = int(40 * std::sin(y / double(side) * turn * 2 + 1.57) + 64);
            const int cx = int(40 * std::sin(x / double(side) * turn * 2 + 1.57) + 64);
            const int v = ry & cx;
            lattice.setPixel(x, y, qRgb(40 + v, 20 + v / 2, 120 + v));
        }

    QPainter painter(&icon);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath disc;
    disc.addEllipse(QRectF(1, 1, side - 2, side - 2));
    painter.setClipPath(disc);
    painter.drawImage(0, 0, lattice);

    const QColor ringColours[] = {QColor(255, 230, 60), QColor(255, 120, 30), QColor(220, 30, 90),
                                  QColor(80, 220, 255)};
    double radius = 13;
    for (int ring = 0; ring < 4; ++ring) {
        painter.setPen(QPen(ringColours[ring], 2.2));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(lobedRing(radius, 1.6, 5, ring * 0.7));
        radius -= 3.2;
    }
    painter.setBrush(ringColours[0]);
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(QPointF(side / 2.0, side / 2.0), 1.8, 1.8);

    painter.setClipping(false);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(30, 20, 60), 1.2));
    painter.drawEllipse(QRectF(1, 1, side - 2, side - 2));
    painter.end();

    if (!icon.save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "pestrolik_draw_icon: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
