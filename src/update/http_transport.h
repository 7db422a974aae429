#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

// One TCP connection at a time, with every wait bounded by the time-out the caller
// passes. The Windows build uses overlapped WinSock 2 sockets with events; the native
// build uses POSIX sockets. Not shared between threads.
class HttpTransport {
 public:
  virtual ~HttpTransport() = default;

  // Resolves `host` (only the first address is tried) and connects, closing any
  // connection held before. False on failure or when `timeoutMs` passes first.
  virtual bool Connect(const std::string& host, std::uint16_t port, std::uint32_t timeoutMs) = 0;
  virtual bool IsConnected() const = 0;
  // Sends every byte or fails.
  virtual bool Send(const char* data, std::size_t length, std::uint32_t timeoutMs) = 0;
  // Bytes received (at most `capacity`), 0 when the peer closed the connection, -1 on
  // an error or when nothing arrived within `timeoutMs`.
  virtual long Receive(char* buffer, std::size_t capacity, std::uint32_t timeoutMs) = 0;
  virtual void Close() = 0;
  // The platform's error code of the last step that failed (WinSock or errno values).
  virtual int LastError() const = 0;
};

// What both platforms' sockets share: the error LastError reports, kept by a
// step that fails with the connection closed (Failed) or left as it was
// (Refused); both answer false for the step to return.
class SocketTransport : public HttpTransport {
 public:
  int LastError() const override { return lastError_; }

 protected:
  bool Failed(int error) {
    lastError_ = error;
    Close();
    return false;
  }
  bool Refused(int error) {
    lastError_ = error;
    return false;
  }

  int lastError_ = 0;
};

// The platform's transport.
std::unique_ptr<HttpTransport> CreateHttpTransport();
