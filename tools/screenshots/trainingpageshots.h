#pragma once

#include <QString>

#include <QLatin1String>

// Renders the training session page over a stand-in game scene: idle, running with live data,
// every limb, every mode caption and every prompt the page opens, in the language the caller has
// installed; language ("zh" or "en") names the files and picks the pictures.
bool saveTrainingPage(const QString &folder, QLatin1String language);
