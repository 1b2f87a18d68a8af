#pragma once

#include <string>
#include <vector>

namespace platform {

// The lines a Windows command interpreter is given to start a game program from its own folder:
// the drive, "cd" to the folder, "start" of the file, then "exit", each ended by "\n\r".
// The program's bytes pass unchanged (the caller encodes them); an empty program gives no lines.
std::vector<std::string> gameCommandLines(const std::string &program);

} // namespace platform
