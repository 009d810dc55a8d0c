#include "shell/command_line_file.h"

namespace kelvo {

std::filesystem::path CommandLineFile(const std::vector<std::string>& arguments,
                                      const std::filesystem::path& currentFolder) {
    bool optionsEnded = false;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (!optionsEnded && argument == "--") {
            optionsEnded = true;
            continue;
        }
        if (argument.empty() || (!optionsEnded && argument.front() == '-')) {
            continue;
        }
        const std::filesystem::path file(argument);
        return file.is_absolute() ? file : currentFolder / file;
    }
    return {};
}

}  // namespace kelvo
