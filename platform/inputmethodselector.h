#pragma once

#include <QByteArray>

// Chooses the on-screen keyboard before the application object exists.
class InputMethodSelector
{
public:
    // Sets QT_IM_MODULE for this process; must run before QApplication is created.
    static void select();

    // The value to set, or an empty array to leave the variable alone.
    // current: the value the user set (empty when unset).
    static QByteArray choose(const QByteArray &current, bool windows, bool virtualKeyboardInstalled);

    // True when Qt's virtual keyboard input-context plug-in is installed.
    static bool virtualKeyboardInstalled();
};
