// kelvo: the programming module, which creates, edits, derives and runs knowledge bases.
#include "app/gui/desktop_program.h"

int main(int argc, char** argv) {
    return kelvo::RunDesktopProgram(argc, argv, true);
}
