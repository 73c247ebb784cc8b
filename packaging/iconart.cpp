#include "packaging/iconart.h"

#include <QColor>
#include <QList>
#include <QPainter>
#include <QPainterPath>
#include <QTextStream>

#include <cmath>

namespace packaging::iconArt {
namespace {

constexpr double Canvas = 256.0;
constexpr double Pi = 3.14159265358979323846;
const QColor Tile(0x1f, 0x4e, 0x79);
const QColor Ink(0x0f, 0x2b, 0x45);

// The colour of the counted time (and of the stopwatch's button), the one thing the icons of the set differ in.
QColor accent(Icon icon)
{
    switch (icon) {
    case Icon::Counting:
        return {0x2e, 0x9e, 0x44};
    case Icon::Attention:
        return {0xd0, 0x1c, 0x1c};
    case Icon::Program:
        break;
    }
    return {0xe8, 0xa3, 0x3d};
}

// Angles in degrees clockwise from twelve o'clock, as on a clock face.
struct Shape {
    enum Kind { RoundRect, Circle, Sector, Hand } kind;
    double x, y;  // corner (RoundRect) or centre
    double a, b;  // width and height (RoundRect), radius (a), angles from and to (Sector: a radius, b to)
    double c;     // corner radius (RoundRect), start angle (Sector), hand angle (Hand)
    double width; // stroke or hand width; 0 for none
    QColor fill;
    QColor stroke;
};

QList<Shape> shapes(Icon icon)
{
    const QColor time = accent(icon);
    return {
        {Shape::RoundRect, 112, 18, 32, 26, 6, 0, time, QColor()},   // the stopwatch's button
        {Shape::RoundRect, 16, 36, 224, 204, 44, 0, Tile, QColor()}, // the tile
        {Shape::Circle, 128, 140, 86, 0, 0, 10, Qt::white, Ink},     // the face
        {Shape::Sector, 128, 140, 72, 130, 0, 0, time, QColor()},    // the time counted so far
        {Shape::Hand, 128, 140, 64, 0, 0, 9, QColor(), Ink},         // minute hand at twelve
        {Shape::Hand, 128, 140, 44, 0, 130, 13, QColor(), Ink},      // hour hand
        {Shape::Circle, 128, 140, 10, 0, 0, 0, Ink, QColor()},       // the hub
    };
}

QPointF onFace(double cx, double cy, double radius, double degrees)
{
    const double radians = degrees * Pi / 180.0;
    return {cx + radius * std::sin(radians), cy - radius * std::cos(radians)};
}

QString svgColour(const QColor& colour)
{
    return colour.isValid() ? colour.name() : QStringLiteral("none");
}

} // namespace

QString name(Icon icon)
{
    switch (icon) {
    case Icon::Counting:
        return QStringLiteral("orvcounter-counting");
    case Icon::Attention:
        return QStringLiteral("orvcounter-attention");
    case Icon::Program:
        break;
    }
    return QStringLiteral("orvcounter");
}

QString svg(Icon icon)
{
    QString text;
    QTextStream out(&text);
    out << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" viewBox=\"0 0 256 256\">\n";
    for (const Shape& s : shapes(icon)) {
        switch (s.kind) {
        case Shape::RoundRect:
            out << "  <rect x=\"" << s.x << "\" y=\"" << s.y << "\" width=\"" << s.a << "\" height=\"" << s.b
                << "\" rx=\"" << s.c << "\" fill=\"" << svgColour(s.fill) << "\"/>\n";
            break;
        case Shape::Circle:
            out << "  <circle cx=\"" << s.x << "\" cy=\"" << s.y << "\" r=\"" << s.a << "\" fill=\""
                << svgColour(s.fill) << "\" stroke=\"" << svgColour(s.stroke) << "\" stroke-width=\"" << s.width
                << "\"/>\n";
            break;
        case Shape::Sector: {
            const QPointF from = onFace(s.x, s.y, s.a, s.c);
            const QPointF to = onFace(s.x, s.y, s.a, s.b);
            out << "  <path d=\"M " << s.x << ' ' << s.y << " L " << from.x() << ' ' << from.y() << " A " << s.a << ' '
                << s.a << " 0 " << (s.b - s.c > 180 ? 1 : 0) << " 1 " << to.x() << ' ' << to.y() << " Z\" fill=\""
                << svgColour(s.fill) << "\"/>\n";
            break;
        }
        case Shape::Hand: {
            const QPointF tip = onFace(s.x, s.y, s.a, s.c);
            out << "  <line x1=\"" << s.x << "\" y1=\"" << s.y << "\" x2=\"" << tip.x() << "\" y2=\"" << tip.y()
                << "\" stroke=\"" << svgColour(s.stroke) << "\" stroke-width=\"" << s.width
                << "\" stroke-linecap=\"round\"/>\n";
            break;
        }
        }
    }
    out << "</svg>\n";
    return text;
}

QImage image(Icon icon, int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / Canvas, size / Canvas);
    for (const Shape& s : shapes(icon)) {
        painter.setPen(s.stroke.isValid() && s.width > 0 ? QPen(s.stroke, s.width, Qt::SolidLine, Qt::RoundCap)
                                                         : QPen(Qt::NoPen));
        painter.setBrush(s.fill.isValid() ? QBrush(s.fill) : QBrush(Qt::NoBrush));
        switch (s.kind) {
        case Shape::RoundRect:
            painter.drawRoundedRect(QRectF(s.x, s.y, s.a, s.b), s.c, s.c);
            break;
        case Shape::Circle:
            painter.drawEllipse(QPointF(s.x, s.y), s.a, s.a);
            break;
        case Shape::Sector: {
            QPainterPath path(QPointF(s.x, s.y));
            // Qt counts degrees anticlockwise from three o'clock.
            path.arcTo(QRectF(s.x - s.a, s.y - s.a, 2 * s.a, 2 * s.a), 90 - s.c, -(s.b - s.c));
            path.closeSubpath();
            painter.drawPath(path);
            break;
        }
        case Shape::Hand:
            painter.drawLine(QPointF(s.x, s.y), onFace(s.x, s.y, s.a, s.c));
            break;
        }
    }
    return image;
}

} // namespace packaging::iconArt
