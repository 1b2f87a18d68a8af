#pragma once

#include <QLatin1String>
#include <QString>

class QSize;
class QWidget;

#include <functional>

// Takes pictures once per interface language; the language ("zh" or "en") names the files.
using LanguageShots = std::function<bool(const std::function<bool(QLatin1String language)> &shoot)>;

// Shows the widget at that size and saves its picture under the name.
using ShotSaver = std::function<bool(QWidget *widget, const QSize &size, const QString &name)>;

// The patient page with a list of patients and the records of the one clicked, a search, and its
// dialogs (new, edit, select, delete), from a database of its own in /tmp.
bool savePatientPages(const LanguageShots &inBothLanguages, const ShotSaver &save);
