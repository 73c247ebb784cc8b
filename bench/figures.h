#pragma once

#include <QList>
#include <QString>

#include <functional>

namespace bench {

// Prints one figure on a line of its own: what was measured, at what size, the value and the target
// it is held to (empty when it has none).
void printFigure(const QString& name, const QString& size, double value, const QString& unit,
                 const QString& target = QString());

// The median of the values (0 for none).
double median(QList<double> values);

// Runs body `runs` times and gives the median of its wall-clock times in milliseconds.
double medianMs(int runs, const std::function<void()>& body);

} // namespace bench
