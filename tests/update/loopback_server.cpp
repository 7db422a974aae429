#include "loopback_server.h"

#include <chrono>
#include <cstdlib>

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
using SocketHandle = SOCKET;
constexpr SocketHandle kNoSocket = INVALID_SOCKET;
constexpr int kSendFlags = 0;
void CloseSocket(SocketHandle s) { closesocket(s); }
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/select.h>
#include <sys/socket.h>
#include <unistd.h>
using SocketHandle = int;
constexpr SocketHandle kNoSocket = -1;
constexpr int kSendFlags = MSG_NOSIGNAL;
void CloseSocket(SocketHandle s) { close(s); }
#endif

namespace {

constexpr int kSliceMs = 20;

void StartSockets() {
#ifdef _WIN32
  static const bool started = [] {
    WSADATA data;
    return WSAStartup(MAKEWORD(2, 2), &data) == 0;
  }();
  (void)started;
#endif
}

SocketHandle ToSocket(long long value) { return static_cast<SocketHandle>(value); }

// True when `s` can be read (or accepted from) within one slice.
bool Readable(SocketHandle s) {
  fd_set set;
  FD_ZERO(&set);
  FD_SET(s, &set);
  timeval wait{0, kSliceMs * 1000};
  return select(static_cast<int>(s) + 1, &set, nullptr, nullptr, &wait) > 0;
}

SocketHandle BoundLoopbackSocket(int* port) {
  StartSockets();
  SocketHandle s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  if (s == kNoSocket || bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) return kNoSocket;
  socklen_t size = sizeof address;
  getsockname(s, reinterpret_cast<sockaddr*>(&address), &size);
  *port = ntohs(address.sin_port);
  return s;
}

std::chrono::steady_clock::time_point Now() { return std::chrono::steady_clock::now(); }

}  // namespace

LoopbackServer::LoopbackServer(Handler handler) : handler_(std::move(handler)) {
  SocketHandle s = BoundLoopbackSocket(&port_);
  if (s != kNoSocket && listen(s, 4) == 0) {
    listener_ = static_cast<long long>(s);
    thread_ = std::thread(&LoopbackServer::Run, this);
  }
}

LoopbackServer::~LoopbackServer() {
  stop_ = true;
  if (thread_.joinable()) thread_.join();
  if (listener_ != -1) CloseSocket(ToSocket(listener_));
}

std::string LoopbackServer::Url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + path;
}

std::vector<std::string> LoopbackServer::Requests() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return requests_;
}

std::vector<int> LoopbackServer::RequestConnections() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return requestConnections_;
}

void LoopbackServer::Run() {
  const auto end = Now() + std::chrono::milliseconds(kLifetimeMs);
  while (!stop_ && Now() < end) {
    if (!Readable(ToSocket(listener_))) continue;
    SocketHandle client = accept(ToSocket(listener_), nullptr, nullptr);
    if (client == kNoSocket) continue;
    Serve(static_cast<long long>(client), connections_++);
    CloseSocket(client);
  }
}

void LoopbackServer::Serve(long long handle, int connection) {
  const SocketHandle client = ToSocket(handle);
  const auto end = Now() + std::chrono::milliseconds(kLifetimeMs);
  std::string received;
  while (!stop_ && Now() < end) {
    const std::size_t headEnd = received.find("\r\n\r\n");
    if (headEnd == std::string::npos) {
      if (!Readable(client)) continue;
      char block[4096];
      const int n = static_cast<int>(recv(client, block, sizeof block, 0));
      if (n <= 0) return;
      received.append(block, static_cast<std::size_t>(n));
      continue;
    }
    const std::string head = received.substr(0, headEnd + 4);
    received.erase(0, headEnd + 4);
    int index = 0;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (static_cast<int>(requests_.size()) >= kMaxRequests) return;
      index = static_cast<int>(requests_.size());
      requests_.push_back(head);
      requestConnections_.push_back(connection);
    }
    const ServerReply reply = handler_(head, index);
    if (reply.dripMs > 0) {
      for (char c : reply.bytes) {
        if (stop_ || send(client, &c, 1, kSendFlags) != 1) return;
        std::this_thread::sleep_for(std::chrono::milliseconds(reply.dripMs));
      }
    } else if (!reply.bytes.empty() &&
               send(client, reply.bytes.data(), static_cast<int>(reply.bytes.size()), kSendFlags) < 0) {
      return;
    }
    if (reply.close) return;
  }
}

int UnusedLoopbackPort() {
  int port = 0;
  SocketHandle s = BoundLoopbackSocket(&port);
  if (s != kNoSocket) CloseSocket(s);
  return port;
}

void SetTestEnvironment(const char* name, const char* value) {
#ifdef _WIN32
  _putenv_s(name, value != nullptr ? value : "");
#else
  if (value != nullptr) {
    setenv(name, value, 1);
  } else {
    unsetenv(name);
  }
#endif
}
