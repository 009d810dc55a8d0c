#pragma once

// A file in the current folder that a fuzz target writes its input to. The name carries the
// process number, so parallel runs in one folder do not share it.

#include <fstream>
#include <string>
#include <string_view>

#include <unistd.h>

namespace kelvo {

/// "fuzz-PID" + `extension` (with its dot), in the current folder.
inline std::string FuzzFileName(std::string_view extension) {
    return "fuzz-" + std::to_string(::getpid()) + std::string(extension);
}

/// Writes `bytes` to `name`, replacing it; false when it cannot be written.
inline bool WriteFuzzFile(const std::string& name, std::string_view bytes) {
    std::ofstream out(name, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

}  // namespace kelvo
