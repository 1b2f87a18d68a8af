#pragma once

#include "testworkdir.h"

#include <memory>

// What the main window needs to be built in a test: a fresh folder with a new database, a trainer
// link to a loopback port that nobody answers, and the FES box manager on no serial port. False,
// with the reason logged, when that fails.
bool prepareMainWindow(std::unique_ptr<TestWorkDir> &dir);
