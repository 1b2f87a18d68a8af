#pragma once

// Which of the four report dialogs shows a training: the layout follows its limb and mode.
class ReportLayout
{
public:
    enum E_REPORTLAYOUT
    {
        TrainReport_E = 0,        // balance chart and resistance values
        TrainReportThreeTwo_E,    // resistance values, no balance chart
        TrainReportTwoThree_E,    // balance chart, no resistance values
        TrainReportTwoTwo_E       // neither
    };

    static E_REPORTLAYOUT choose(int bodyIndex, int trainMode);
};
