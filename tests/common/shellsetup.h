#pragma once

#include "testworkdir.h"

#include <memory>

// What the main window needs to be built in a test: a fresh folder with a new database, a trainer
// link to a loopback port that nobody answers, and the FES box manager on no serial port. False,
// with the reason logged, when that fails.
bool prepareMainWindow(std::unique_ptr<TestWorkDir> &dir);

// Every game number of the catalogue starts the demo game, which reports running on the game link
// (offscreen it keeps a window of its own). Tests that use it hold the CTest lock game_ports.
bool catalogueDemoGame(const TestWorkDir &dir);
