#pragma once
#include <X11/Xlib.h>

// Xlib's default handlers end the process on the first protocol error; the saver
// must instead notice them and go on (a failed MIT-SHM attach falls back to
// XPutImage) or end cleanly (the window it draws into was destroyed).
void InstallXErrorHandlers();

// The first protocol error since the last call, or 0 (Success); the resource it
// concerned goes to `resource` when given.
int TakeXError(XID* resource = nullptr);
