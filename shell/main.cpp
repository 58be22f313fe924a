// Entry point of every demo. It includes SDL's header so that where SDL
// renames main (Windows), SDL's entry wrapper calls this one.
#include <SDL.h>

#include "shell/shell.hpp"

#include <cstring>

int main(int argc, char* argv[]) {
    // The program's own name, for the message when no window can be made.
    const char* name = "quad demo";
    if (argc > 0 && argv[0] != nullptr && argv[0][0] != '\0') {
        const char* slash = std::strrchr(argv[0], '/');
        name = slash != nullptr ? slash + 1 : argv[0];
    }
    return run_frame_loop(name);
}
