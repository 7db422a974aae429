#include <windows.h>
// mmsystem.h needs the types of windows.h first.
#include <mmsystem.h>

#include "diagnostics/clock.h"

std::uint32_t MillisecondsNow() { return timeGetTime(); }
