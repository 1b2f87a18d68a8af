#include "training/trainingstatistics.h"

#include "comm/bicycleparam.h"
#include "database/patientmsg.h"
#include "database/trainreport.h"

#include <algorithm>

void TrainingStatistics::clear()
{
    *this = TrainingStatistics();
}

namespace {
constexpr int kPercentMax = 100;
constexpr int kSpeedMax = 100; // the highest speed the page shows
} // namespace

void TrainingStatistics::addLiveSample(int upBalance, int downBalance, int fastestSpeed)
{
    // Bytes beyond what the machine can mean are held to the range: a report never shows a
    // share above 100 % or below 0 %, nor a speed the page would not show.
    upBalance = std::clamp(upBalance, 0, kPercentMax);
    downBalance = std::clamp(downBalance, 0, kPercentMax);
    fastestSpeed = std::clamp(fastestSpeed, 0, kSpeedMax);
    m_upBalanceSum += upBalance;
    m_downBalanceSum += downBalance;
    ++m_balanceCount;
    m_speedSum += fastestSpeed;
    m_speedMax = m_speedCount == 0 ? fastestSpeed : std::max(m_speedMax, fastestSpeed);
    ++m_speedCount;
}

void TrainingStatistics::addResistance(int level)
{
    m_resistanceSum += level;
    m_resistanceMax = m_resistanceCount == 0 ? level : std::max(m_resistanceMax, level);
    m_resistanceMin = m_resistanceCount == 0 ? level : std::min(m_resistanceMin, level);
    ++m_resistanceCount;
}

void TrainingStatistics::apply(ST_TrainReport &report, int limb, int shownSpeed, int shownResistance) const
{
    if (m_balanceCount > 0) {
        // The lower limb's balance byte is the right share; integer division keeps the
        // integer part, as the report has always stored it.
        if (limb == 3) {
            report.leftBalance = 50;
            report.rightBalance = 50;
        } else if (limb == 1 || limb == 0 || limb == 2) {
            const int64_t sum = limb == 1 ? m_downBalanceSum : m_upBalanceSum;
            report.leftBalance = int(sum / m_balanceCount);
            report.rightBalance = 100 - report.leftBalance;
        }
    }
    if (m_resistanceCount == 0) {
        report.maxResistance = report.averangeResistance = report.minResistance = float(shownResistance);
    } else {
        report.maxResistance = float(m_resistanceMax);
        report.averangeResistance = float(m_resistanceSum / m_resistanceCount);
        report.minResistance = float(m_resistanceMin);
    }
    if (m_speedCount == 0) {
        report.maxSpeed = report.averageSpeed = shownSpeed;
    } else {
        report.averageSpeed = int(m_speedSum / m_speedCount);
        report.maxSpeed = m_speedMax;
    }
}

void TrainingStatistics::fillFromParameters(ST_TrainReport &report, const ST_PatientMsg &patient,
                                            const ST_BicycleParam &param)
{
    report.ID = int(patient.ID);
    report.name = patient.name;
    report.sex = patient.sex;
    report.phone = patient.phone;
    report.age = patient.age;
    report.markMsg = patient.markMsg;
    report.trainMode = param.trainMode;
    report.bodyIndex = param.trainLimp;
    report.trainTime = param.trainTime; // minutes until the first start counts seconds
    report.leftBalance = 0;
    report.rightBalance = 0;
}

void TrainingStatistics::countSecond(ST_TrainReport &report, int stage, int currentSpeed, int shownSpeed)
{
    ++report.trainTime;
    switch (stage) {
    case 0:
    case 9:
        ++report.passiveTime;
        break;
    case 1:
    case 10:
        ++report.activeTime;
        break;
    case 2:
        // Assisted: the patient is active while the crank runs faster than the motor's set speed.
        if (currentSpeed > shownSpeed)
            ++report.activeTime;
        else
            ++report.passiveTime;
        break;
    case 11:
    case 12:
        ++report.activeTime;
        ++report.passiveTime;
        break;
    default:
        break;
    }
}
