#include <mmsystem.h>
#include <windows.h>

#include "diagnostics/clock.h"

std::uint32_t MillisecondsNow() { return timeGetTime(); }
