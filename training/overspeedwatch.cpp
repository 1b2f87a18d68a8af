#include "training/overspeedwatch.h"

OverSpeedWatch::Action OverSpeedWatch::feed(int fastest, bool promptOpen)
{
    if (fastest < kTopSpeed) {
        m_count = 0;
        return Action::ClosePrompt;
    }
    // Saturates while the prompt stays open, so the count cannot overflow.
    if (m_count <= kFastRecordsTolerated)
        ++m_count;
    if (m_count > kFastRecordsTolerated && !promptOpen) {
        m_count = 0;
        return Action::OpenPrompt;
    }
    return Action::None;
}

void OverSpeedWatch::reset()
{
    m_count = 0;
}
