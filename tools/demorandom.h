#pragma once

#include <QList>
#include <QtGlobal>

namespace tools {

// A small seeded generator (SplitMix64) whose sequence is the same on every platform and compiler,
// so that a demo office built for a given day is the same office everywhere.
class DemoRandom
{
public:
    explicit DemoRandom(quint64 seed);

    // The next 64 bits of the sequence.
    quint64 next();
    // A whole number from 0 to n - 1; 0 when n is 0 or less.
    int below(int n);
    // A whole number from low to high, both included.
    int between(int low, int high);
    // True with the given chance in percent.
    bool chance(int percent);

    // One of the items, chosen evenly; the list must not be empty.
    template <typename T> const T& pick(const QList<T>& items) { return items.at(below(int(items.size()))); }

private:
    quint64 m_state;
};

} // namespace tools
