// The stack's ceiling: the demos' own shell and frame loop, whose frame
// clears and swaps, with a scene that draws nothing.
#include "shell/shell.hpp"

void scene_begin(int, int) {}
void scene_render(float) {}
void scene_end() {}
