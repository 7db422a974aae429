#include "x11_errors.h"

#include <cstdio>
#include <cstdlib>

#include "termination_signal.h"

namespace {

int firstError = Success;
XID firstResource = 0;

int RecordError(Display*, XErrorEvent* event) {
  if (firstError == Success) {
    firstError = event->error_code;
    firstResource = event->resourceid;
  }
  return 0;
}

// The connection is gone (server ended or killed): nothing more can be drawn,
// but the positions can still be saved before the process ends.
int ConnectionLost(Display*) {
  std::fputs("hearthmoor-x11: the connection to the X server was lost\n", stderr);
  RunExitActions();
  std::_Exit(1);
}

}  // namespace

void InstallXErrorHandlers() {
  XSetErrorHandler(&RecordError);
  XSetIOErrorHandler(&ConnectionLost);
}

int TakeXError(XID* resource) {
  const int error = firstError;
  if (resource != nullptr) *resource = firstResource;
  firstError = Success;
  firstResource = 0;
  return error;
}
