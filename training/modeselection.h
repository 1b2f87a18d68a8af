#pragma once

#include "comm/bicycleparam.h"
#include "database/trainparam.h"

// The codes of the mode selection page without its widgets: which limb and mode codes its
// buttons stand for, the record a start hands on, and the check of an imported prescription.
namespace ModeSelection {

enum class Limb { Horizontal = 0, Lower = 1, UpperAndLower = 2, Vertical = 3 };
enum class Mode { Passive, Active, Assisted, Isokinetic, ActivePassive };

constexpr int kGameCount = 4;
// Game type of the state hub: plain cycling, or cycling with stimulation.
constexpr int kGameTypeCycling = 1;
constexpr int kGameTypeFes = 2;

// The page's own parameters, used until the parameter page or an import sends others.
ST_BicycleParam defaultParam();

// trainMode of the record: the two-limb codes 4 and 7 with upper and lower limb together
// (only passive and active/passive can be chosen there), the single-limb codes otherwise.
int trainModeCode(Limb limb, Mode mode);

// The mode button an imported trainMode checks; false for a code no button stands for.
bool modeForCode(int trainMode, Mode &mode);

// The record of a start: limb and mode from the buttons, the six kept parameters, every
// other byte 0.
ST_BicycleParam startRecord(Limb limb, Mode mode, const ST_BicycleParam &kept);

// The prescription stored for the report of this start.
ST_TrainParam prescription(int patientId, Limb limb, Mode mode, const ST_BicycleParam &kept, int gameNumber);

// A stored prescription with every value outside the page's ranges replaced by the page's
// default (upper limb, active/passive, game 1, the defaults of defaultParam()); each
// replacement is logged with the field, the stored and the used value.
ST_TrainParam checkedPrescription(const ST_TrainParam &stored);

} // namespace ModeSelection
