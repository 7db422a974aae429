#include "diagnostics/clock.h"

#include <windows.h>
#include <mmsystem.h>

std::uint32_t MillisecondsNow() { return timeGetTime(); }
