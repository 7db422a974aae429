#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/types.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <optional>

#include "diagnostics/clock.h"
#include "update/http_transport.h"
#include "update/name_lookup.h"

namespace {

// Non-blocking sockets waited on with poll, so each step keeps to its time-out.
class PosixHttpTransport : public SocketTransport {
 public:
  ~PosixHttpTransport() override { Close(); }

  bool Connect(const std::string& host, std::uint16_t port, std::uint32_t timeoutMs) override {
    Close();
    const auto lookup = LookUpWithin<addrinfo>(host, port, timeoutMs);
    if (!lookup) return Refused(ETIMEDOUT);
    if (lookup->result != 0 || lookup->addresses == nullptr) {
      return Refused(lookup->result == EAI_SYSTEM ? lookup->systemError : EHOSTUNREACH);
    }
    const addrinfo* found = lookup->addresses.get();
    fd_ = socket(found->ai_family, found->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, found->ai_protocol);
    if (fd_ < 0) {
      lastError_ = errno;
      return false;
    }
    int result = connect(fd_, found->ai_addr, found->ai_addrlen);
    if (result != 0 && errno != EINPROGRESS) return Failed(errno);
    if (result != 0) {
      if (!WaitFor(POLLOUT, timeoutMs)) return Failed(lastError_);
      int error = 0;
      socklen_t size = sizeof error;
      if (getsockopt(fd_, SOL_SOCKET, SO_ERROR, &error, &size) != 0) return Failed(errno);
      if (error != 0) return Failed(error);
    }
    return true;
  }

  bool IsConnected() const override { return fd_ >= 0; }

  bool Send(const char* data, std::size_t length, std::uint32_t timeoutMs) override {
    if (fd_ < 0) return Refused(ENOTCONN);
    const std::uint32_t start = MillisecondsNow();
    while (length > 0) {
      const std::uint32_t spent = MillisecondsNow() - start;
      if (spent >= timeoutMs || !WaitFor(POLLOUT, timeoutMs - spent)) return Refused(ETIMEDOUT);
      const ssize_t sent = send(fd_, data, length, MSG_NOSIGNAL);
      if (sent < 0) {
        if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR) continue;
        return Refused(errno);
      }
      data += sent;
      length -= static_cast<std::size_t>(sent);
    }
    return true;
  }

  long Receive(char* buffer, std::size_t capacity, std::uint32_t timeoutMs) override {
    if (fd_ < 0) {
      lastError_ = ENOTCONN;
      return -1;
    }
    const std::uint32_t start = MillisecondsNow();
    for (;;) {
      const std::uint32_t spent = MillisecondsNow() - start;
      if (spent >= timeoutMs || !WaitFor(POLLIN, timeoutMs - spent)) {
        lastError_ = ETIMEDOUT;
        return -1;
      }
      const ssize_t received = recv(fd_, buffer, capacity, 0);
      if (received >= 0) return static_cast<long>(received);
      if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) {
        lastError_ = errno;
        return -1;
      }
    }
  }

  void Close() override {
    if (fd_ >= 0) close(fd_);
    fd_ = -1;
  }

 private:
  // True when the socket is ready for `events` (or has an error or hang-up to report).
  bool WaitFor(short events, std::uint32_t timeoutMs) {
    pollfd entry{fd_, events, 0};
    for (;;) {
      const int ready = poll(&entry, 1, static_cast<int>(timeoutMs));
      if (ready > 0) return true;
      if (ready == 0) {
        lastError_ = ETIMEDOUT;
        return false;
      }
      if (errno != EINTR) {
        lastError_ = errno;
        return false;
      }
    }
  }

  int fd_ = -1;
};

}  // namespace

std::unique_ptr<HttpTransport> CreateHttpTransport() { return std::make_unique<PosixHttpTransport>(); }
