// The header's own scalar path, compiled at -O0 without contraction (see
// CMakeLists.txt) and without the four-lane forms, in namespaces of its own:
// an optimised build that includes the same inline functions must not share
// a single copy with this one. Comparing with it shows that a build does not
// change the bits; the table's literal exact cases are what check the
// formulas themselves.
#define ORMATH_NO_LANES
#define ormath ormath_scalar_path
#define functions scalar_path_functions
#include "functions.hpp"
#undef functions
#undef ormath

#include "scalar_path.hpp"

int scalar_path::evaluate(int row, const float* in, float* out) {
    return scalar_path_functions::table[row].evaluate(in, out);
}
