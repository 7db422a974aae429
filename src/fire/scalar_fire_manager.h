#pragma once
#include "fire/fire_manager.h"

// The fire built from the plain one-byte-at-a-time pieces (heat step, spark
// merge, renderer), each run over the whole image in turn, with the index
// image written by Render and copied by CopyToSurface: the reference that the optimised fire must match frame for
// frame, and the baseline its speed is measured against.
class ScalarFireManager : public FireManager {
 public:
  using FireManager::FireManager;

 protected:
  bool RendersWhileCopying() const override { return false; }
  std::unique_ptr<Flame> MakeFlame() override;
  std::unique_ptr<FlameRender> MakeRender() override;
  std::unique_ptr<InsertBright> MakeHotSpots() override;
};
