// The desktop JSON reader (`--desktop`) and the small option readers beside it.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "app/cli/consult_session.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kelvo;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    (void)cli::ParseDesktopOptions(text, ScriptedScreenOptions{});
    (void)cli::ParseClock(text);
    (void)cli::ParseScreenSize(text);
    (void)cli::ParseNumberPair(text);
    return 0;
}
