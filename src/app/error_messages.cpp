#include "app/error_messages.h"

struct ErrorTextRow {
  const char* message;
  const char* advice;
};

constexpr const char* kReinstall = "Please reinstall this software.";
constexpr const char* kTryAgain = "Please try it again,if it is still not work, download it again.";
constexpr const char* kDirectX = "Please ensure that directX 9.0 or higher is installed,then try it again.";
constexpr const char* kDepth = "This software just support 16-bit, 24-bit or 32-bit color mode.";
constexpr const char* kChangeDepth =
    "Please change your system to 16-bit, 24-bit or 32-bit color mode,then try it again.";
constexpr const char* kConfigure = "Please check the configuration or reinstall this software.";

// Indexed by -code. Row 14 has no producer and reads like row 0.
constexpr ErrorTextRow kRows[16] = {
    {"Unknown error.", kReinstall},
    {"This progrom's parameter is not initialized.", kReinstall},
    {"Register window class error.", kTryAgain},
    {"Create window error.", kTryAgain},
    {"Create screen error.", kDirectX},
    {"Initialize Directx(window mode) false.", kDirectX},
    {"Initialize Directx(full mode) false.", kDirectX},
    {kDepth, kChangeDepth},
    {kDepth, kChangeDepth},
    {"Not enough memory error.", "Please close some programs, then try it again."},
    {"Configure error.", kConfigure},
    {"Configure error.", kConfigure},
    {"Register window class error.", kTryAgain},
    {"Create window error.", kTryAgain},
    {"Unknown error.", kReinstall},
    {"There is a exception in initialization", kTryAgain},
};

static const ErrorTextRow& RowFor(int code) {
  if (code > 0 || code < -15) return kRows[0];
  return kRows[-code];
}

const char* ErrorMessage(int code) { return RowFor(code).message; }
const char* ErrorAdvice(int code) { return RowFor(code).advice; }
