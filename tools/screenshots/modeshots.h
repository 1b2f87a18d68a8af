#pragma once

#include "patientshots.h"

// The mode selection page in both variants (plain cycling with the vertical limb chosen,
// cycling with stimulation) in both languages.
bool saveModePages(const LanguageShots &inBothLanguages, const ShotSaver &save);
