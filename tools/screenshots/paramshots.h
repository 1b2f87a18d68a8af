#pragma once

#include "patientshots.h"

// The training parameter page with its defaults, with a received prescription (protection off,
// a speed above 30) and its over-30 question, and the advanced dialog, in both languages.
bool saveParameterPages(const LanguageShots &inBothLanguages, const ShotSaver &save);
