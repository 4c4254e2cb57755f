#pragma once

#include <string>

// Writes a Theora clip in Ogg of a videotestsrc pattern ("red", "smpte", ...); true when it was written.
bool make_clip(const std::string& path, int frames, int rate, const std::string& pattern = "red",
               int width = 160, int height = 120);
