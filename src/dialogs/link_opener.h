#pragma once
#include <string>

// Opens what a link points at (a web address, a "mailto:" address). The dialogs
// take one so that tests can watch what would be opened instead of starting a
// browser or a mail program.
class LinkOpener {
 public:
  virtual ~LinkOpener() = default;
  // True when the target was handed over; a link is marked visited only then.
  virtual bool Open(const std::string& target) = 0;
};

// The shell's "open" verb, no parameters, no folder, shown normally; a failure
// shows nothing.
class ShellLinkOpener : public LinkOpener {
 public:
  bool Open(const std::string& target) override;
};

// The one shell opener the program's dialogs use unless told otherwise.
LinkOpener& ShellOpener();
