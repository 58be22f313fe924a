// The quad's data. Every constructor here is constexpr, so the arrays are
// filled at compile time and need no code before main.
#include "scene/quad.hpp"

using ormath::vec2;
using ormath::vec3;

namespace {
constexpr vec3 red(1, 0, 0);
constexpr vec3 yellow(1, 1, 0);
constexpr vec3 green(0, 1, 0);
constexpr vec3 blue(0, 0, 1);
}  // namespace

const vec2 quad_positions[4] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
const vec3 palette_a[4] = {blue, red, yellow, green};
const vec3 palette_b[4] = {red, yellow, green, blue};
vec3 quad_colours[4];
