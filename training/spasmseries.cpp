#include "training/spasmseries.h"

SpasmSeries::Step SpasmSeries::spasm(uint8_t shownDirection)
{
    Step step;
    step.count = ++m_count;
    // The machine turns round: a backward page holds forward, anything else holds backward.
    step.heldDirection = shownDirection == 0 ? 1 : 0;
    step.shownDirection = step.heldDirection;
    step.stopsTraining = m_count >= kStopAt;
    if (step.stopsTraining)
        m_count = 0;
    return step;
}
