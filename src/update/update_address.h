#pragma once
#include <string>

// The maker's update script. Mirrors and tests point the program elsewhere with the
// environment variable HEARTHMOOR_UPDATE_URL (an http URL of a checkupdate.php).
constexpr const char* kDefaultUpdateUrl = "http://updates.hearthmoor.example/checkupdate.php";
constexpr const char* kUpdateUrlVariable = "HEARTHMOOR_UPDATE_URL";

// The variable's value when it is set and not empty, else kDefaultUpdateUrl.
std::string UpdateAddress();
