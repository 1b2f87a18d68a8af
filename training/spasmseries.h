#pragma once

#include <cstdint>

// Counts the spasms of one series: each turns the pedalling direction round, the third stops
// the training.
class SpasmSeries
{
public:
    static constexpr int kStopAt = 3;

    struct Step
    {
        int count = 0;              // this spasm's number in the series, for the prompt and report
        uint8_t heldDirection = 0;  // the prompt's direction: 1 forward, 0 backward
        uint8_t shownDirection = 0; // the page's direction once the prompt is done
        bool stopsTraining = false; // the series is over and starts again at 0
    };

    // shownDirection: the direction the page shows now (1 forward, 0 backward).
    Step spasm(uint8_t shownDirection);
    // A new series: called when the page is shown.
    void reset() { m_count = 0; }
    int count() const { return m_count; }

private:
    int m_count = 0;
};
