#pragma once

// The work of `kelvo-cli import`: reading a text form, checking its lines and writing the
// record file. The subcommand is a thin layer over it; tests call it directly.

#include <ostream>
#include <string>

namespace kelvo {
class FileFaultInjector;
}

namespace kelvo::cli {

/// What `kelvo-cli import` was asked to do.
struct ImportOptions {
    std::string source;
    std::string target;
    bool force = false;  ///< replace an existing target
};

/// Imports `options.source` into `options.target`; the report of a success goes to `out`,
/// warnings and failures to `err`. Returns kExitSuccess, or kExitFailure when nothing was
/// written (an existing target is then as it was). `faults` (tests only) makes steps of the
/// write fail.
int RunImport(const ImportOptions& options, std::ostream& out, std::ostream& err,
              FileFaultInjector* faults = nullptr);

}  // namespace kelvo::cli
