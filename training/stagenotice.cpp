#include "training/stagenotice.h"

bool StageNotice::appliesToMode(uint8_t trainMode)
{
    return trainMode == 7 || trainMode == 10;
}

QString StageNotice::stageText(uint8_t stage)
{
    switch (stage) {
    case 0:
        return tr("被动");
    case 1:
    case 9:
        return tr("主动");
    case 7:
    case 10:
        return tr("主被动");
    default:
        return QString();
    }
}

void StageNotice::reset()
{
    m_lastStage = kStageAfterShow;
    m_notices = 0;
}

StageNotice::Notice StageNotice::feed(uint8_t stage)
{
    Notice notice;
    if (stage == m_lastStage)
        return notice;
    notice.show = true;
    notice.later = stageText(stage);
    // The first notice after the page is shown is the passive start; later ones are switches.
    notice.now = m_notices == 0 ? tr("被动") : tr("模式切换中");
    ++m_notices;
    m_lastStage = stage;
    return notice;
}
