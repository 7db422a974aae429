#pragma once
#include <set>
#include <string>

#include "fire/picture_background_source.h"

// The native background source that also tells the user, once per name on
// stderr, about a background that cannot be shown (an unreadable or damaged
// picture, or "Desktop" when no snapshot could be taken). The fire then keeps
// what it showed, as it does on Windows.
class NoticingBackgroundSource : public PictureBackgroundSource {
 public:
  using PictureBackgroundSource::PictureBackgroundSource;

  Surface* Load(const std::string& name) override;

 private:
  std::set<std::string> reported_;
};
