#include "tools/demorandom.h"

namespace tools {

DemoRandom::DemoRandom(quint64 seed)
    : m_state(seed)
{}

quint64 DemoRandom::next()
{
    m_state += 0x9E3779B97F4A7C15ULL;
    quint64 z = m_state;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

int DemoRandom::below(int n)
{
    if (n <= 0) {
        return 0;
    }
    return int(next() % quint64(n));
}

int DemoRandom::between(int low, int high)
{
    return low + below(high - low + 1);
}

bool DemoRandom::chance(int percent)
{
    return below(100) < percent;
}

} // namespace tools
