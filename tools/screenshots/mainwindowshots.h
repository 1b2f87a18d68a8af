#pragma once

#include <QLatin1String>
#include <QString>

class CMainWindow;

// Renders the main window on every page of its stack, the settings page on each tab, and the
// login, in the language the caller has installed; language ("zh" or "en") names the files.
bool saveMainWindowPages(CMainWindow &window, const QString &folder, QLatin1String language);
bool saveLogin(const QString &folder, QLatin1String language);
