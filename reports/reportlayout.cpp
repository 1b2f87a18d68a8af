#include "reports/reportlayout.h"

#include <initializer_list>

namespace {
bool oneOf(int value, std::initializer_list<int> values)
{
    for (int v : values) {
        if (v == value)
            return true;
    }
    return false;
}
} // namespace

ReportLayout::E_REPORTLAYOUT ReportLayout::choose(int bodyIndex, int trainMode)
{
    // Passive and isokinetic trainings report no resistance; the vertical upper limb no balance.
    if (oneOf(bodyIndex, {0, 1}) && oneOf(trainMode, {0, 3, 4}))
        return TrainReportTwoThree_E;
    if (bodyIndex == 2 && oneOf(trainMode, {0, 4}))
        return TrainReportTwoThree_E;
    if (bodyIndex == 3 && oneOf(trainMode, {0, 3}))
        return TrainReportTwoTwo_E;
    if (bodyIndex == 3 && oneOf(trainMode, {1, 2, 10}))
        return TrainReportThreeTwo_E;
    return TrainReport_E;
}
