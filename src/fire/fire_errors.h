#pragma once

// Codes the engine's Create calls return besides 0. They travel unchanged to the
// application, whose message table (app/error_messages.h) is built on these
// names, so that the engine and the table cannot disagree about a number.
enum FireError : int {
  kFireErrorTableDepth = -8,     // ColorTable::Create: a depth other than 16, 24 and 32
  kFireErrorNoMemory = -9,       // ColorTable::Create: the tables cannot be allocated
  kFireErrorManagerDepth = -10,  // FireManager::Create: a depth other than 16, 24 and 32
};
