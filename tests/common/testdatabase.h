#pragma once

#include "testworkdir.h"

#include <QString>

#include <memory>

// Replaces the folder with a fresh one and opens the database facade on a new file in it that
// holds every table of the program; false, with the reason logged, when that fails.
bool openFreshDatabase(std::unique_ptr<TestWorkDir> &dir);

// The rows of a table in the open database; -1 when they cannot be counted.
int storedRowCount(const QString &table);
