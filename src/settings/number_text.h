#pragma once
#include <string>

// The C runtime's text-to-number rules, without its undefined corners: leading
// blanks skipped, an optional sign, then digits up to the first other character;
// no digits gives 0. Out-of-range integers stop at INT_MIN / INT_MAX as the
// Windows runtime does, instead of wrapping.
int TextToInt(const std::string& text);
double TextToDouble(const std::string& text);
