// An update server for the end-to-end tests: the tests' loopback HTTP server on
// 127.0.0.1 answering every request with one status and body.
//
// Usage: update_server PORT_FILE SECONDS STATUS BODY [DELAY_SECONDS]
// Writes the port to PORT_FILE once it listens, prints each request head it gets,
// answers each DELAY_SECONDS after it came (a slow server), and ends after SECONDS.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "update/loopback_server.h"

int main(int argc, char** argv) {
  if (argc < 5) {
    std::fprintf(stderr, "usage: update_server PORT_FILE SECONDS STATUS BODY\n");
    return 64;
  }
  const std::string status = argv[3];
  const std::string body = argv[4];
  const DWORD delayMs = argc > 5 ? static_cast<DWORD>(std::atoi(argv[5])) * 1000 : 0;
  LoopbackServer server([&](const std::string& request, int) -> ServerReply {
    std::printf("%s", request.c_str());
    std::fflush(stdout);
    Sleep(delayMs);
    return {"HTTP/1.1 " + status + "\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body, true};
  });
  if (FILE* file = std::fopen(argv[1], "wb")) {
    std::fprintf(file, "%d\n", server.Port());
    std::fclose(file);
  }
  Sleep(static_cast<DWORD>(std::atoi(argv[2])) * 1000);
  return 0;
}
