#pragma once
#include "fire/fire_manager.h"

// The fire built from the plain one-byte-at-a-time pieces (heat step, spark
// merge, renderer): the reference that the optimised fire must match frame for
// frame, and the baseline its speed is measured against.
class ScalarFireManager : public FireManager {
 public:
  using FireManager::FireManager;

 protected:
  std::unique_ptr<Flame> MakeFlame() override;
  std::unique_ptr<FlameRender> MakeRender() override;
  std::unique_ptr<InsertBright> MakeHotSpots() override;
};
