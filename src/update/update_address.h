#pragma once
#include <string>

#include "build_info.h"

// The maker's update script (set by the build). Mirrors and tests point the program
// elsewhere with the environment variable HEARTHMOOR_UPDATE_URL (an http URL of a
// checkupdate.php).
constexpr const char* kDefaultUpdateUrl = HEARTHMOOR_UPDATE_URL_DEFAULT;
constexpr const char* kUpdateUrlVariable = "HEARTHMOOR_UPDATE_URL";

// The variable's value when it is set and not empty, else kDefaultUpdateUrl.
std::string UpdateAddress();
