#include "termination_signal.h"

#include <fcntl.h>
#include <unistd.h>

#include <csignal>
#include <utility>

namespace {

volatile std::sig_atomic_t requested = 0;
int pipeFds[2] = {-1, -1};
std::function<void()> exitAction;

void OnSignal(int) {
  requested = 1;
  if (pipeFds[1] >= 0) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = write(pipeFds[1], &byte, 1);
  }
}

}  // namespace

bool InstallTerminationSignals() {
  if (pipe2(pipeFds, O_CLOEXEC | O_NONBLOCK) != 0) return false;
  struct sigaction action {};
  action.sa_handler = &OnSignal;
  sigemptyset(&action.sa_mask);
  for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
    if (sigaction(signal, &action, nullptr) != 0) return false;
  }
  return true;
}

bool TerminationRequested() { return requested != 0; }

int TerminationFd() { return pipeFds[0]; }

void SetExitAction(std::function<void()> action) { exitAction = std::move(action); }

void RunExitActions() {
  std::function<void()> action = std::move(exitAction);
  exitAction = nullptr;
  if (action) action();
}
