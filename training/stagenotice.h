#pragma once

#include <QCoreApplication>
#include <QString>
#include <cstdint>

// The notice shown when the machine switches between passive and active stages by itself.
class StageNotice
{
    Q_DECLARE_TR_FUNCTIONS(StageNotice)
public:
    // The notice shows the switch text first, then the stage's own text this much later.
    static constexpr int kStageTextDelayMs = 2500;

    struct Notice
    {
        bool show = false;
        QString now;   // shown at once
        QString later; // shown after kStageTextDelayMs
    };

    // Only the modes in which the machine picks its stage itself show notices.
    static bool appliesToMode(uint8_t trainMode);
    static QString stageText(uint8_t stage);

    // Forget earlier notices: called when the page is shown.
    void reset();
    Notice feed(uint8_t stage);
    int noticesShown() const { return m_notices; }

private:
    static constexpr uint8_t kStageAfterShow = 1;
    uint8_t m_lastStage = kStageAfterShow;
    int m_notices = 0;
};
