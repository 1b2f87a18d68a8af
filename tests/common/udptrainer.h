#pragma once

#include <QStringList>

class SimProcess;
class TestWorkDir;

// Starts the simulated trainer on a loopback UDP port of its own, peered with a free loopback
// port for the program, and writes and reads the program's configuration in dir for that link;
// false when the trainer does not come up (its output tells why).
bool startUdpTrainer(SimProcess &trainer, const TestWorkDir &dir, const QStringList &extraArguments = {});
