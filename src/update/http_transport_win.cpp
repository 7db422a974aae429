#include <winsock2.h>
#include <ws2tcpip.h>

#include <algorithm>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "update/http_transport.h"
#include "update/name_lookup.h"

namespace {

// WinSock 2.0 is started once for the process by the first transport and left
// running until the process ends.
bool StartWinSock() {
  static const bool started = [] {
    WSADATA data;
    return WSAStartup(MAKEWORD(2, 0), &data) == 0;
  }();
  return started;
}

// An overlapped socket with one event per direction and one for the connect.
// Every wait is WSAWaitForMultipleEvents with the caller's time-out; an operation
// that times out is cancelled and its completion awaited before the buffer it
// writes to goes out of scope.
class WinHttpTransport : public SocketTransport {
 public:
  WinHttpTransport() : readEvent_(WSACreateEvent()), writeEvent_(WSACreateEvent()), connectEvent_(WSACreateEvent()) {}

  ~WinHttpTransport() override {
    Close();
    for (WSAEVENT event : {readEvent_, writeEvent_, connectEvent_}) {
      if (event != WSA_INVALID_EVENT) WSACloseEvent(event);
    }
  }

  bool Connect(const std::string& host, std::uint16_t port, std::uint32_t timeoutMs) override {
    Close();
    if (!StartWinSock()) return Refused(WSANOTINITIALISED);
    if (readEvent_ == WSA_INVALID_EVENT || writeEvent_ == WSA_INVALID_EVENT || connectEvent_ == WSA_INVALID_EVENT) {
      return Refused(WSA_NOT_ENOUGH_MEMORY);
    }
    const auto lookup = LookUpWithin<addrinfo>(host, port, timeoutMs);
    if (!lookup) return Refused(WSAETIMEDOUT);
    // getaddrinfo answers a WinSock code.
    if (lookup->result != 0 || lookup->addresses == nullptr) {
      return Refused(lookup->result != 0 ? lookup->result : WSAHOST_NOT_FOUND);
    }
    addrinfo* found = lookup->addresses.get();
    socket_ = WSASocketW(found->ai_family, found->ai_socktype, found->ai_protocol, nullptr, 0, WSA_FLAG_OVERLAPPED);
    if (socket_ == INVALID_SOCKET) {
      return Refused(WSAGetLastError());
    }
    WSAResetEvent(connectEvent_);
    // Selecting network events makes the socket non-blocking, so connect returns at once.
    if (WSAEventSelect(socket_, connectEvent_, FD_CONNECT) != 0) return Failed(WSAGetLastError());
    const int result = connect(socket_, found->ai_addr, static_cast<int>(found->ai_addrlen));
    if (result != 0) {
      const int error = WSAGetLastError();
      if (error != WSAEWOULDBLOCK) return Failed(error);
      const DWORD waited = WSAWaitForMultipleEvents(1, &connectEvent_, TRUE, timeoutMs, FALSE);
      if (waited != WSA_WAIT_EVENT_0) return Failed(waited == WSA_WAIT_TIMEOUT ? WSAETIMEDOUT : WSAGetLastError());
      WSANETWORKEVENTS events{};
      if (WSAEnumNetworkEvents(socket_, connectEvent_, &events) != 0) return Failed(WSAGetLastError());
      if (!(events.lNetworkEvents & FD_CONNECT)) return Failed(WSAECONNREFUSED);
      if (events.iErrorCode[FD_CONNECT_BIT] != 0) return Failed(events.iErrorCode[FD_CONNECT_BIT]);
    }
    // From here on sends and receives are overlapped operations with events of their own.
    WSAEventSelect(socket_, nullptr, 0);
    u_long blocking = 0;
    ioctlsocket(socket_, FIONBIO, &blocking);
    return true;
  }

  bool IsConnected() const override { return socket_ != INVALID_SOCKET; }

  bool Send(const char* data, std::size_t length, std::uint32_t timeoutMs) override {
    std::lock_guard<std::mutex> lock(sendLock_);
    if (socket_ == INVALID_SOCKET) return Refused(WSAENOTCONN);
    const DWORD start = GetTickCount();
    while (length > 0) {
      const DWORD spent = GetTickCount() - start;
      if (spent >= timeoutMs) return Refused(WSAETIMEDOUT);
      WSABUF buffer{static_cast<ULONG>(std::min<std::size_t>(length, 1u << 20)), const_cast<char*>(data)};
      DWORD sent = 0;
      if (!Overlapped(writeEvent_, timeoutMs - spent, &sent, [&](WSAOVERLAPPED* overlapped) {
            return WSASend(socket_, &buffer, 1, nullptr, 0, overlapped, nullptr);
          })) {
        return false;
      }
      if (sent == 0) return Refused(WSAECONNRESET);
      data += sent;
      length -= sent;
    }
    return true;
  }

  long Receive(char* data, std::size_t capacity, std::uint32_t timeoutMs) override {
    std::lock_guard<std::mutex> lock(receiveLock_);
    if (socket_ == INVALID_SOCKET) {
      lastError_ = WSAENOTCONN;
      return -1;
    }
    WSABUF buffer{static_cast<ULONG>(std::min<std::size_t>(capacity, 1u << 20)), data};
    DWORD received = 0;
    DWORD flags = 0;
    if (!Overlapped(readEvent_, timeoutMs, &received, [&](WSAOVERLAPPED* overlapped) {
          return WSARecv(socket_, &buffer, 1, nullptr, &flags, overlapped, nullptr);
        })) {
      return -1;
    }
    return static_cast<long>(received);
  }

  void Close() override {
    if (socket_ != INVALID_SOCKET) closesocket(socket_);
    socket_ = INVALID_SOCKET;
  }

 private:
  // Starts one overlapped operation and waits at most `timeoutMs` for it.
  template <typename Start>
  bool Overlapped(WSAEVENT event, std::uint32_t timeoutMs, DWORD* transferred, Start start) {
    WSAOVERLAPPED overlapped{};
    overlapped.hEvent = event;
    WSAResetEvent(event);
    if (start(&overlapped) != 0) {
      const int error = WSAGetLastError();
      if (error != WSA_IO_PENDING) return Refused(error);
      const DWORD waited = WSAWaitForMultipleEvents(1, &event, TRUE, timeoutMs, FALSE);
      if (waited != WSA_WAIT_EVENT_0) {
        // The operation still owns `overlapped` and the buffer: cancel it and wait until
        // the system lets go of them.
        CancelIoEx(reinterpret_cast<HANDLE>(socket_), &overlapped);
        DWORD ignored = 0;
        DWORD flags = 0;
        WSAGetOverlappedResult(socket_, &overlapped, &ignored, TRUE, &flags);
        return Refused(waited == WSA_WAIT_TIMEOUT ? WSAETIMEDOUT : WSAGetLastError());
      }
    }
    DWORD flags = 0;
    if (!WSAGetOverlappedResult(socket_, &overlapped, transferred, FALSE, &flags)) {
      return Refused(WSAGetLastError());
    }
    return true;
  }

  SOCKET socket_ = INVALID_SOCKET;
  WSAEVENT readEvent_;
  WSAEVENT writeEvent_;
  WSAEVENT connectEvent_;
  std::mutex sendLock_;
  std::mutex receiveLock_;
};

}  // namespace

std::unique_ptr<HttpTransport> CreateHttpTransport() { return std::make_unique<WinHttpTransport>(); }
