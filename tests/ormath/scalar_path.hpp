// The table's functions evaluated by Ormath's scalar path, compiled plainly
// (scalar_path.cpp): what every other build must reproduce bit for bit.
#pragma once

namespace scalar_path {
// Row `row` of functions::table on `in`; returns the number of floats written.
int evaluate(int row, const float* in, float* out);
}  // namespace scalar_path
