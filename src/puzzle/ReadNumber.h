#pragma once

#include <cstdint>
#include <cstdio>

// Reads one decimal integer from a text file, white space before it skipped
// (as scanf's " %d" does). False at the end of the file or at anything that
// is not a number; values beyond 32 bits are clamped, never overflow.
bool ReadNumber(std::FILE* file, int32_t& value);
