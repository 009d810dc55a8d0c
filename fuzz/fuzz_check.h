#pragma once

// The differential checks of the fuzz targets: a broken expectation prints what broke and
// aborts, which libFuzzer reports as a finding with the input that caused it.

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace kelvo {

/// Aborts with `what` (and the two texts compared, when given) unless `holds`.
inline void FuzzExpect(bool holds, const char* what, std::string_view first = {},
                       std::string_view second = {}) {
    if (holds) {
        return;
    }
    std::fprintf(stderr, "fuzz check failed: %s\n  [%.*s]\n  [%.*s]\n", what,
                 static_cast<int>(first.size()), first.data(), static_cast<int>(second.size()),
                 second.data());
    std::abort();
}

}  // namespace kelvo
