#include "settings/loadable_background.h"

#include "fire/background_source.h"
#include "settings/settings.h"

void SkipUnloadableBackgrounds(Settings& settings, BackgroundSource& source) {
  Settings::TextList backgrounds;
  Settings::Index start = 0;
  settings.GetBackgrounds(backgrounds, start);
  for (std::size_t tried = 0; tried < backgrounds.size(); ++tried) {
    if (source.Load(settings.CurrentBackground()) != nullptr) return;
    settings.NextBackground();
  }
  settings.SetBackgroundIndex(start);
}
