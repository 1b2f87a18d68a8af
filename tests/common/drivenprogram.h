#pragma once

#include <QProcessEnvironment>
#include <QString>

class QProcess;

// Starts the program with its driver (tests/driver) in folder, which becomes its working folder
// and holds its temporary folder "tmp": steps for ROTAFLEX_DRIVE, start-up's own boxes answered,
// no input method, the entries of extra added; standard output and error merged.
void startDriven(QProcess &process, const QString &program, const QString &folder, const QString &steps,
                 const QProcessEnvironment &extra = QProcessEnvironment());
