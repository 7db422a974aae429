#pragma once

// Resource ids of the screen saver program. The window class takes the large
// icon from 107 and the small (caption, task bar) icon from 108.
#define IDI_FLAME_BIG 107
#define IDI_FLAME_SMALL 108
