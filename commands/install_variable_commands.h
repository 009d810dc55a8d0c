#pragma once

namespace kelvo {

class Consultation;

/// Makes Variablenbefehl the runner of the variable-command tasks: the "V" headers and the
/// "= (V)" actions of task blocks.
void InstallVariableCommands(Consultation& consultation);

}  // namespace kelvo
