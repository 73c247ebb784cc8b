// orvicons: writes the program's icon set (packaging/iconart) as SVG and as PNGs of the given sizes.
//
//   orvicons OUTPUT_DIR SIZE...   writes OUTPUT_DIR/hicolor/scalable/apps/NAME.svg and
//                                 OUTPUT_DIR/hicolor/NxN/apps/NAME.png for each size and each icon of the set
//                                 (orvcounter, orvcounter-counting, orvcounter-attention)

#include "packaging/iconart.h"

#include <QDir>
#include <QFile>

#include <iostream>

int main(int argc, char* argv[])
{
    using packaging::iconArt::Icon;
    if (argc < 2) {
        std::cerr << "usage: orvicons OUTPUT_DIR SIZE...\n";
        return 2;
    }
    const QDir root(QString::fromLocal8Bit(argv[1]) + QStringLiteral("/hicolor"));
    root.mkpath(QStringLiteral("scalable/apps"));
    for (const Icon icon : {Icon::Program, Icon::Counting, Icon::Attention}) {
        const QString name = packaging::iconArt::name(icon);
        QFile file(root.filePath(QStringLiteral("scalable/apps/") + name + QStringLiteral(".svg")));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(packaging::iconArt::svg(icon).toUtf8()) < 0) {
            std::cerr << "orvicons: cannot write " << file.fileName().toStdString() << "\n";
            return 1;
        }
        for (int i = 2; i < argc; ++i) {
            const int size = QString::fromLocal8Bit(argv[i]).toInt();
            const QString folder = QStringLiteral("%1x%1/apps").arg(size);
            root.mkpath(folder);
            if (size <= 0 || !packaging::iconArt::image(icon, size)
                                  .save(root.filePath(folder + QLatin1Char('/') + name + QStringLiteral(".png")))) {
                std::cerr << "orvicons: cannot write the " << argv[i] << " pixel icon\n";
                return 1;
            }
        }
    }
    return 0;
}
