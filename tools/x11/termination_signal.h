#pragma once
#include <functional>

// SIGTERM, SIGINT and SIGHUP ask the saver to end: the handler only sets a flag
// and writes a byte to a pipe that the frame loop polls beside the X connection,
// so that the loop wakes at once and saves the positions outside the handler.
bool InstallTerminationSignals();
bool TerminationRequested();
// The read end of the pipe; -1 before installation.
int TerminationFd();

// What must happen however the process ends (saving the positions); run by the
// normal end and by the handler of a lost X connection, at most once.
void SetExitAction(std::function<void()> action);
void RunExitActions();
