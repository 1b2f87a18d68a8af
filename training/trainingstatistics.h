#pragma once

#include <cstdint>

struct ST_BicycleParam;
struct ST_PatientMsg;
struct ST_TrainReport;

// The statistics of one training session and the rules that fill its report. The samples are
// kept as running sums, so a session of any length takes the same memory.
class TrainingStatistics
{
public:
    // Empties the samples (each showing of the page).
    void clear();

    // One sampled live-data record: the two balance bytes and the faster limb's speed.
    void addLiveSample(int upBalance, int downBalance, int fastestSpeed);
    // The shown resistance, once per count-down tick.
    void addResistance(int level);

    int balanceCount() const { return m_balanceCount; }
    int speedCount() const { return m_speedCount; }
    int resistanceCount() const { return m_resistanceCount; }

    // The end-of-session values: balance by limb, resistance and speed. Without samples the
    // resistance and speed values are the shown ones, and the balance stays as it is.
    void apply(ST_TrainReport &report, int limb, int shownSpeed, int shownResistance) const;

    // The patient and parameter fields of a new session's report.
    static void fillFromParameters(ST_TrainReport &report, const ST_PatientMsg &patient,
                                   const ST_BicycleParam &param);
    // One second trained at the machine's stage: the training time and the active or passive time.
    static void countSecond(ST_TrainReport &report, int stage, int currentSpeed, int shownSpeed);

private:
    int64_t m_upBalanceSum = 0;
    int64_t m_downBalanceSum = 0;
    int m_balanceCount = 0;
    int64_t m_speedSum = 0;
    int m_speedMax = 0;
    int m_speedCount = 0;
    int64_t m_resistanceSum = 0;
    int m_resistanceMax = 0;
    int m_resistanceMin = 0;
    int m_resistanceCount = 0;
};
