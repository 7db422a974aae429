#pragma once
#include <cstddef>
#include <iterator>

// The three things the fire changes by itself, each after its own interval: the
// background picture, the palette and the style. The order is the one in which
// they are listed, stored and handed to the fire.
enum class Rotation { kBackground, kPalette, kStyle };

inline constexpr Rotation kRotations[] = {Rotation::kBackground, Rotation::kPalette, Rotation::kStyle};
inline constexpr std::size_t kRotationCount = std::size(kRotations);

// The rotation's place in arrays kept per rotation.
constexpr std::size_t Slot(Rotation rotation) { return static_cast<std::size_t>(rotation); }
