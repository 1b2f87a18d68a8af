#pragma once

#include <QObject>

// Unattended runs (kiosk smoke checks, the start-up tests) set ROTAFLEX_UNATTENDED=1: while an
// object of this class lives, every modal box is closed shortly after it opens, as a user would
// answer it, and logged. Start-up keeps one only until its own boxes are done, so no prompt of
// the running program (a spasm, an emergency stop) can ever be answered by it.
class Unattended : public QObject
{
    Q_OBJECT
public:
    // Watches only when the variable is set; needs the application object.
    Unattended();

private:
    void closeModalBox();
};
