#include "bench/figures.h"

#include <QElapsedTimer>
#include <QTextStream>

#include <algorithm>

namespace bench {

void printFigure(const QString& name, const QString& size, double value, const QString& unit, const QString& target)
{
    QTextStream out(stdout);
    out << name.leftJustified(40) << ' ' << size.leftJustified(22) << ' '
        << QString::number(value, 'f', value < 10 ? 3 : 1).rightJustified(10) << ' ' << unit.leftJustified(3);
    if (!target.isEmpty()) {
        out << "  target " << target;
    }
    out << Qt::endl;
}

double median(QList<double> values)
{
    if (values.isEmpty()) {
        return 0;
    }
    std::sort(values.begin(), values.end());
    const qsizetype middle = values.size() / 2;
    return values.size() % 2 ? values.at(middle) : (values.at(middle - 1) + values.at(middle)) / 2;
}

double medianMs(int runs, const std::function<void()>& body)
{
    QList<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        body();
        times << double(timer.nsecsElapsed()) / 1e6;
    }
    return median(times);
}

} // namespace bench
