#include "training/samplingcounter.h"

SamplingCounter &SamplingCounter::programWide()
{
    static SamplingCounter counter;
    return counter;
}

bool SamplingCounter::countRecord()
{
    // Stops counting past the threshold: a long-running program must not overflow it.
    if (m_count <= kSkippedRecords)
        ++m_count;
    return m_count > kSkippedRecords;
}
