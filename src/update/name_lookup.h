#pragma once
#include <cerrno>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

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

// The addresses of host:port that match `hints`, looked up within `timeoutMs`,
// which getaddrinfo itself does not keep to; nothing when the time is up first.
template <typename AddressInfo>
std::optional<NameLookup<AddressInfo>> LookUpWithin(const std::string& host, std::uint16_t port,
                                                    const AddressInfo& hints, std::uint32_t timeoutMs) {
  return CallWithin<NameLookup<AddressInfo>>(timeoutMs, [host, port, hints] {
    NameLookup<AddressInfo> lookup;
    AddressInfo* found = nullptr;
    lookup.result = getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found);
    lookup.systemError = errno;
    lookup.addresses.reset(found);
    return lookup;
  });
}
