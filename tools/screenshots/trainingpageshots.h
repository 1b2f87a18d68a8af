#pragma once

#include <QString>

// Renders the training session page over a stand-in game scene: idle, running with live data,
// every limb, every mode caption and every prompt the page opens, in Chinese and in English.
// The translation is installed here only; the user's saved language stays as it is.
bool saveTrainingPage(const QString &folder);
