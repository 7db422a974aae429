#include "fire/scalar_fire_manager.h"

#include "fire/flame.h"
#include "fire/insert_bright.h"
#include "fire/scalar_flame_filter.h"
#include "fire/scalar_flame_render.h"
#include "fire/scalar_insert_bright.h"

namespace {

class ScalarFlame : public Flame {
 protected:
  std::unique_ptr<FlameFilter> MakeFilter() override { return std::make_unique<ScalarFlameFilter>(); }
};

}  // namespace

std::unique_ptr<Flame> ScalarFireManager::MakeFlame() { return std::make_unique<ScalarFlame>(); }

std::unique_ptr<FlameRender> ScalarFireManager::MakeRender() { return std::make_unique<ScalarFlameRender>(); }

std::unique_ptr<InsertBright> ScalarFireManager::MakeHotSpots() { return std::make_unique<ScalarInsertBright>(); }
