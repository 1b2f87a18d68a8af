#pragma once

// Counts fully decoded live-data records; the first ones after the program starts are not
// sampled for the statistics.
class SamplingCounter
{
public:
    static constexpr int kSkippedRecords = 20;

    // The one count of the program, which is never reset.
    static SamplingCounter &programWide();

    // Counts one record; true from the 21st on.
    bool countRecord();
    int counted() const { return m_count; }

private:
    int m_count = 0;
};
