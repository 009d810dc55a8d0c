// kelvo-run: the user module, which runs one run-only knowledge base — the one named on the
// command line, else the one beside it — and ends.
#include "app/gui/desktop_program.h"

int main(int argc, char** argv) {
    return kelvo::RunDesktopProgram(argc, argv, false);
}
