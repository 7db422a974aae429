#pragma once
#include <string_view>

// Whether the bytes are well-formed UTF-8: every sequence in its shortest form,
// no surrogate halves, nothing above U+10FFFF. Plain ASCII is UTF-8 too. Text in a
// legacy single-byte code page with any letter above 127 almost never passes.
bool IsValidUtf8(std::string_view bytes);
