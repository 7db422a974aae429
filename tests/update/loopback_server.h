#pragma once
#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// What the test server sends for one request.
struct ServerReply {
  std::string bytes;
  bool close = false;  // close the connection after sending
  int dripMs = 0;      // > 0: send one byte at a time with this pause between bytes
};

// A one-thread HTTP test server on 127.0.0.1 at a port of the system's choosing. It
// serves one connection at a time, reads each request head up to its empty line and
// answers with what the handler returns for it. Everything it does is bounded: it
// accepts at most kMaxRequests requests, waits in short slices so that the destructor
// stops it at once, and gives up by itself after kLifetimeMs.
class LoopbackServer {
 public:
  static constexpr int kMaxRequests = 64;
  static constexpr int kLifetimeMs = 60000;

  // `request`: the head as received; `index`: 0 for the first request.
  using Handler = std::function<ServerReply(const std::string& request, int index)>;

  explicit LoopbackServer(Handler handler);
  ~LoopbackServer();
  LoopbackServer(const LoopbackServer&) = delete;
  LoopbackServer& operator=(const LoopbackServer&) = delete;

  int Port() const { return port_; }
  // "http://127.0.0.1:<port>" followed by `path`.
  std::string Url(const std::string& path) const;

  // The request heads received so far and the connection (0, 1, ...) each came on.
  std::vector<std::string> Requests() const;
  std::vector<int> RequestConnections() const;
  int Connections() const { return connections_.load(); }

 private:
  void Run();
  void Serve(long long client, int connection);

  Handler handler_;
  long long listener_ = -1;
  int port_ = 0;
  std::atomic<bool> stop_{false};
  std::atomic<int> connections_{0};
  mutable std::mutex mutex_;
  std::vector<std::string> requests_;
  std::vector<int> requestConnections_;
  std::thread thread_;
};

// A port on 127.0.0.1 that nothing listens on (bound once, then released).
int UnusedLoopbackPort();

// Sets or (with nullptr) removes an environment variable of this process.
void SetTestEnvironment(const char* name, const char* value);
