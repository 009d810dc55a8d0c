#include "commands/install_variable_commands.h"

#include "commands/variable_command.h"
#include "engine/consultation.h"

namespace kelvo {

void InstallVariableCommands(Consultation& consultation) {
    consultation.SetTaskRunner(TaskSlot::VariableCommands, &Variablenbefehl);
}

}  // namespace kelvo
