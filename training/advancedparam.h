#pragma once

// The advanced stage settings kept by the advanced dialog: switches are 1 on, 0 off; the other
// fields are the numbers chosen, in the unit shown beside each box.
struct ST_AdvancedParam
{
    // Passive stage
    int skipPassive = 0;
    int negativeSpeedCompensate = 2; // r/min
    // Fatigue detection
    int tiredContinueTime = 10;      // s
    int tiredSpeedCompensate = 2;    // r/min
    // Warm-up stage
    int preheatContinueTime = 5;     // min
    int preheatAContinueTime = 10;   // s
    int preheatCompensate = 2;       // r/min
    int preheatMaxPower = 20;        // mA
    int preheatFesSwitch = 0;
    int transitionalFesRise = 2;     // mA
    // Active stage
    int positiveFChiXuTime = 10;     // min
    int positiveFControlSpeed = 10;  // r/min
    int positiveBSpeedCompensate = 2; // r/min
    int positiveBChiXuTime = 10;     // s
    int positiveBresistance = 5;     // torque compensation level
    // Fatigue thresholds
    int timeLimit = 10;              // s
    int speedLimit = 5;              // r/min
};
