#pragma once

namespace kelvo {

class Consultation;

/// Installs the runners of the task kinds the engine itself carries out: computations, text
/// pages, the jump back, task blocks, the old database tasks, data exchange and print output. Every
/// consultation starts with them; the executables add the variable commands.
void InstallDefaultTaskRunners(Consultation& consultation);

}  // namespace kelvo
