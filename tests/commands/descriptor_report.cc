// A child for the tests of started programs: writes the numbers of the descriptors it was
// started with, one a line, into the file named by its argument.
#include <dirent.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    if (argc != 2) {
        return 2;
    }
    // Listed before the report is opened, so neither the listing's nor the report's own
    // descriptor is counted.
    std::vector<std::string> open;
    DIR* folder = ::opendir("/proc/self/fd");
    if (folder == nullptr) {
        return 3;
    }
    const int own = ::dirfd(folder);
    while (const dirent* entry = ::readdir(folder)) {
        const std::string name = entry->d_name;
        if (name == "." || name == ".." || std::atoi(name.c_str()) == own) {
            continue;
        }
        open.push_back(name);
    }
    ::closedir(folder);
    std::FILE* report = std::fopen(argv[1], "w");
    if (report == nullptr) {
        return 4;
    }
    for (const std::string& name : open) {
        std::fprintf(report, "%s\n", name.c_str());
    }
    return std::fclose(report) == 0 ? 0 : 5;
}
