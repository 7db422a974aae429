#pragma once
#include <cerrno>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "diagnostics/clock.h"
#include "update/call_within.h"

// What getaddrinfo answered for one name. A template over the platform's
// addrinfo (from <netdb.h> or <ws2tcpip.h>), so that this header needs neither.
template <typename AddressInfo>
struct NameLookup {
  struct Free {
    void operator()(AddressInfo* list) const { freeaddrinfo(list); }
  };
  int result = 0;       // getaddrinfo's own answer: 0 when it found the name
  int systemError = 0;  // errno of the looking thread, which EAI_SYSTEM refers to
  std::unique_ptr<AddressInfo, Free> addresses;
};

// The stream addresses of host:port, looked up within `timeoutMs`, which
// getaddrinfo itself does not keep to. What the lookup took is taken off
// `timeoutMs`, so that the connect keeps to what is left; nothing when the time
// is up first.
template <typename AddressInfo>
std::optional<NameLookup<AddressInfo>> LookUpWithin(const std::string& host, std::uint16_t port,
                                                    std::uint32_t& timeoutMs) {
  const std::uint32_t start = MillisecondsNow();
  auto lookup = CallWithin<NameLookup<AddressInfo>>(timeoutMs, [host, port] {
    AddressInfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    NameLookup<AddressInfo> answer;
    AddressInfo* found = nullptr;
    answer.result = getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found);
    answer.systemError = errno;
    answer.addresses.reset(found);
    return answer;
  });
  const std::uint32_t spent = MillisecondsNow() - start;
  if (!lookup || spent >= timeoutMs) return std::nullopt;
  timeoutMs -= spent;
  return lookup;
}
