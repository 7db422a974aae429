#pragma once

class BackgroundSource;
class Settings;

// Moves the background rotation on from its current entry to the first one the
// source can load, so that a fire does not start dark on a picture that is gone
// or damaged and wait minutes for the next timed change. Each entry is tried
// once; when none loads, the rotation stays where it was. The source tells why
// an entry failed (the log or the terminal).
void SkipUnloadableBackgrounds(Settings& settings, BackgroundSource& source);
