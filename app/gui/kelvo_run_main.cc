// kelvo-run: the user module, which runs the run-only knowledge base beside it and ends.
#include "app/gui/desktop_program.h"

int main(int argc, char** argv) {
    return kelvo::RunDesktopProgram(argc, argv, false);
}
