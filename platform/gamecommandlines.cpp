#include "platform/gamecommandlines.h"

namespace platform {

std::vector<std::string> gameCommandLines(const std::string &program)
{
    if (program.empty())
        return {};
    static const std::string kLineEnd = "\n\r";
    const std::string::size_type slash = program.rfind('/');
    // Without a slash the whole program stands for both the folder and the file.
    const std::string folder = slash == std::string::npos ? program : program.substr(0, slash);
    const std::string file = slash == std::string::npos ? program : program.substr(slash + 1);
    return {program.substr(0, 2) + kLineEnd, "cd " + folder + kLineEnd, "start " + file + kLineEnd,
            "exit" + kLineEnd};
}

} // namespace platform
