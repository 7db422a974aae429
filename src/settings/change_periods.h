#pragma once
#include "settings/rotation.h"

class FireManager;
class Settings;

// Gives the fire the settings' change period of one rotation, or of all three
// (background, palette, style, in that order).
void HandChangePeriod(const Settings& settings, Rotation rotation, FireManager& fire);
void HandChangePeriods(const Settings& settings, FireManager& fire);
