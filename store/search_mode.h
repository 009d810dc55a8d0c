#pragma once

namespace kelvo {

/// How the engine finds facts and rules. Indexed answers from indexes kept exact through every
/// change of the image; Literal scans the fact base from the newest record down and reads every
/// rule in each pass. Both give the same results: Literal is the reference the tests compare
/// against.
enum class SearchMode { Indexed, Literal };

}  // namespace kelvo
