#pragma once

#include <string>

namespace platform {

// Writes a whole file so that readers see the old file or the new one, never a part of either: the bytes go
// to the temporary name (in the same folder), are flushed to the disk and renamed over the path, and the
// folder is flushed so that the rename survives a power cut. Returns 0, or the errno of the step that failed;
// the temporary file is then removed and the old file is untouched. Files that can be lost to a power cut
// (a cache that checks what it reads) skip the flushes: readers still never see a part.
enum class durability { flushed, none };
int replace_file(const std::string& path, const std::string& temporary, const std::string& bytes, int mode,
                 durability d = durability::flushed);

} // namespace platform
