#pragma once

namespace bench {

class BenchOffice;

// The figures of the statistics tabs inside this process, on the embedded engine: each of their fills
// over the last calendar month of one lawyer in an office of 1,000,000 time entries, the statement
// alone (sent and its rows read) and the whole fill with the list and its repaint.
class StatisticsFigures
{
public:
    explicit StatisticsFigures(BenchOffice& office);

    // Prints four figures. Throws core::Error when the office cannot be made or a fill lists nothing.
    void run();

private:
    BenchOffice& m_office;
};

} // namespace bench
