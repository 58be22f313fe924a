// Entry point of every demo. It includes SDL's header so that where SDL
// renames main (Windows), SDL's entry wrapper calls this one.
#include <SDL.h>

#include "shell/shell.hpp"

int main(int argc, char* argv[]) {
    // The stop signals first: until they are taken, one ends the process
    // as by default.
    watch_stop_signals();
    static char name[128];
    format_program_name(argc > 0 ? argv[0] : nullptr, name, sizeof name);
    // Before any library opens a file or a connection, which could otherwise
    // take a closed descriptor 0, 1 or 2 and get the notices meant for stderr.
    if (!reopen_closed_standard_streams(name)) {
        return 1;
    }
    report_fatal_x_errors(name);
    return run_frame_loop(name);
}
