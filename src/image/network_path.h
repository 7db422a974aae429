#pragma once
#include <string>

// A name on another machine: "\\server\share\...", with either separator, also in
// the long form "\\?\UNC\server\...". Touching such a file (even asking whether it
// exists) goes to the network: it hands the user's credentials to that server and
// may take as long as the server, or its absence, makes it. "\\?\C:\..." and the
// device names "\\.\..." are local.
bool IsNetworkPath(const std::string& path);
