#pragma once

// Counts live-data records at or above the top speed in a row and says when the over-speed
// prompt opens or closes.
class OverSpeedWatch
{
public:
    static constexpr int kTopSpeed = 100;
    // The prompt opens on the record after this many fast records in a row.
    static constexpr int kFastRecordsTolerated = 40;
    // The prompt's own count-down before it stops the training.
    static constexpr int kPromptSeconds = 5;

    enum class Action {
        None,
        OpenPrompt,  // start the prompt's count-down
        ClosePrompt  // stop and close the prompt (harmless when it is not open)
    };

    // fastest: the larger of the two limb speeds of one record.
    Action feed(int fastest, bool promptOpen);
    void reset();
    int count() const { return m_count; }

private:
    int m_count = 0;
};
