#pragma once
#include "fire/fire_errors.h"

// Initialisation error codes. Each step of start-up returns 0 or one of these;
// the code travels unchanged to BaseApp::Run, which shows its message and advice.
enum InitError : int {
  kErrorNone = 0,
  kErrorSettingsNotLoaded = -1,
  kErrorRegisterClass = -2,
  kErrorCreateWindow = -3,
  kErrorCreateScreen = -4,
  kErrorWindowedDirectX = -5,
  kErrorFullScreenDirectX = -6,
  kErrorColorDepth = -7,
  kErrorTableDepth = kFireErrorTableDepth,
  kErrorOutOfMemory = kFireErrorNoMemory,
  kErrorFireDepth = kFireErrorManagerDepth,
  kErrorConfigure = -11,
  kErrorRegisterPreviewClass = -12,
  kErrorCreatePreviewWindow = -13,
  kErrorInitException = -15,
};

// The two texts shown for a code: what went wrong, and what the user can do.
// Codes without a row of their own (positive, or below -15) give the
// "Unknown error." row.
const char* ErrorMessage(int code);
const char* ErrorAdvice(int code);
