#pragma once

#include <QList>
#include <QString>

#include <functional>

namespace bench {

// Prints one figure on a line of its own: what was measured, at what size, the value and the target
// it is held to (empty when it has none).
void printFigure(const QString& name, const QString& size, double value, const QString& unit,
                 const QString& target = QString());

// One timed run: wall-clock time and the CPU time of the process that did the work, in milliseconds.
struct Sample {
    double wallMs = 0;
    double cpuMs = 0;
};

// The median of the values (0 for none).
double median(QList<double> values);
// The median wall-clock and the median CPU time of the samples, each on its own.
Sample medianSample(const QList<Sample>& samples);

// Prints one figure of several runs: wall-clock and CPU time, each as min / median / max, and the target.
void printSamples(const QString& name, const QString& size, const QList<Sample>& samples,
                  const QString& target = QString());
// Prints the machine's load average (1, 5 and 15 minutes) under a title, so that a run on a busy machine
// says so beside its figures.
void printLoad(const QString& when);

// This process's CPU time so far (every thread, ended ones included), in milliseconds.
double processCpuMs();
// Runs body once and gives its wall-clock time and this process's CPU time.
Sample measure(const std::function<void()>& body);

// Runs body `runs` times and gives the median of its wall-clock times in milliseconds.
double medianMs(int runs, const std::function<void()>& body);

} // namespace bench
