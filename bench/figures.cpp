#include "bench/figures.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTextStream>

#include <algorithm>
#include <ctime>

namespace bench {
namespace {

QString number(double value)
{
    return QString::number(value, 'f', value < 10 ? 2 : 1);
}

QString spread(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return (number(values.first()) + QLatin1Char('/') + number(median(values)) + QLatin1Char('/') +
            number(values.last()))
        .rightJustified(20);
}

} // namespace

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

Sample medianSample(const QList<Sample>& samples)
{
    QList<double> wall;
    QList<double> cpu;
    for (const Sample& sample : samples) {
        wall << sample.wallMs;
        cpu << sample.cpuMs;
    }
    return {median(wall), median(cpu)};
}

void printSamples(const QString& name, const QString& size, const QList<Sample>& samples, const QString& target)
{
    if (samples.isEmpty()) {
        return;
    }
    QList<double> wall;
    QList<double> cpu;
    for (const Sample& sample : samples) {
        wall << sample.wallMs;
        cpu << sample.cpuMs;
    }
    QTextStream out(stdout);
    out << name.leftJustified(40) << ' ' << size.leftJustified(28) << " wall " << spread(wall) << " ms  cpu "
        << spread(cpu) << " ms  (" << samples.size() << " runs)";
    if (!target.isEmpty()) {
        out << "  target " << target;
    }
    out << Qt::endl;
}

void printLoad(const QString& when)
{
    QFile file(QStringLiteral("/proc/loadavg"));
    const QStringList fields =
        file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll()).split(QLatin1Char(' ')) : QStringList();
    QTextStream(stdout) << "load average " << when << ": "
                        << (fields.size() >= 3 ? fields.mid(0, 3).join(QLatin1Char(' ')) : QStringLiteral("unknown"))
                        << Qt::endl;
}

double processCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

Sample measure(const std::function<void()>& body)
{
    const double cpuBefore = processCpuMs();
    QElapsedTimer timer;
    timer.start();
    body();
    return {double(timer.nsecsElapsed()) / 1e6, processCpuMs() - cpuBefore};
}

double medianMs(int runs, const std::function<void()>& body)
{
    QList<double> times;
    for (int i = 0; i < runs; ++i) {
        times << measure(body).wallMs;
    }
    return median(times);
}

} // namespace bench
