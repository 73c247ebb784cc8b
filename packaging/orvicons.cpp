// orvicons: draws the program's icon, a stopwatch face with the counted time in amber on a blue
// tile, as one SVG and as PNGs of the given sizes, from the one list of shapes below.
//
//   orvicons OUTPUT_DIR SIZE...   writes OUTPUT_DIR/hicolor/scalable/apps/orvcounter.svg and
//                                 OUTPUT_DIR/hicolor/NxN/apps/orvcounter.png for each size

#include <QColor>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QList>
#include <QPainter>
#include <QPainterPath>
#include <QTextStream>

#include <cmath>
#include <iostream>

namespace {

constexpr double Canvas = 256.0;
const QColor Tile(0x1f, 0x4e, 0x79);
const QColor Ink(0x0f, 0x2b, 0x45);
const QColor Amber(0xe8, 0xa3, 0x3d);

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

const QList<Shape>& shapes()
{
    static const QList<Shape> all = {
        {Shape::RoundRect, 112, 18, 32, 26, 6, 0, Amber, QColor()},  // the stopwatch's button
        {Shape::RoundRect, 16, 36, 224, 204, 44, 0, Tile, QColor()}, // the tile
        {Shape::Circle, 128, 140, 86, 0, 0, 10, Qt::white, Ink},     // the face
        {Shape::Sector, 128, 140, 72, 130, 0, 0, Amber, QColor()},   // the time counted so far
        {Shape::Hand, 128, 140, 64, 0, 0, 9, QColor(), Ink},         // minute hand at twelve
        {Shape::Hand, 128, 140, 44, 0, 130, 13, QColor(), Ink},      // hour hand
        {Shape::Circle, 128, 140, 10, 0, 0, 0, Ink, QColor()},       // the hub
    };
    return all;
}

QPointF onFace(double cx, double cy, double radius, double degrees)
{
    const double radians = degrees * M_PI / 180.0;
    return {cx + radius * std::sin(radians), cy - radius * std::cos(radians)};
}

QString svgColour(const QColor& colour)
{
    return colour.isValid() ? colour.name() : QStringLiteral("none");
}

QString svg()
{
    QString text;
    QTextStream out(&text);
    out << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" viewBox=\"0 0 256 256\">\n";
    for (const Shape& s : shapes()) {
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

QImage png(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / Canvas, size / Canvas);
    for (const Shape& s : shapes()) {
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

} // namespace

int main(int argc, char* argv[])
{
    if (argc < 2) {
        std::cerr << "usage: orvicons OUTPUT_DIR SIZE...\n";
        return 2;
    }
    const QDir root(QString::fromLocal8Bit(argv[1]) + QStringLiteral("/hicolor"));
    root.mkpath(QStringLiteral("scalable/apps"));
    QFile file(root.filePath(QStringLiteral("scalable/apps/orvcounter.svg")));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(svg().toUtf8()) < 0) {
        std::cerr << "orvicons: cannot write " << file.fileName().toStdString() << "\n";
        return 1;
    }
    for (int i = 2; i < argc; ++i) {
        const int size = QString::fromLocal8Bit(argv[i]).toInt();
        const QString folder = QStringLiteral("%1x%1/apps").arg(size);
        root.mkpath(folder);
        if (size <= 0 || !png(size).save(root.filePath(folder + QStringLiteral("/orvcounter.png")))) {
            std::cerr << "orvicons: cannot write the " << argv[i] << " pixel icon\n";
            return 1;
        }
    }
    return 0;
}
