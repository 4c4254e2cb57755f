#pragma once

#include <cstdint>
#include <mutex>
#include <optional>
#include <string>

namespace cl {

// The last good copy of every document and picture the panel loaded, one file per address in one folder, so
// that a panel without a network still shows what it last saw. Each file is written whole under a temporary
// name and renamed into place, and carries its key and a checksum: a reader (this panel or another of the
// same user) sees a whole old copy or a whole new one, and a damaged file is dropped, never returned. The
// folder is kept under a size limit, the copies used longest ago going first. Every call reads or writes the
// disk: the loading thread's work, never a frame's.
class disk_cache {
public:
    struct entry {
        std::string body;
        // The validators the server gave, sent back to ask whether the copy is still current.
        std::string etag;
        std::string last_modified;
        // When the network last gave or confirmed this copy, in seconds since the epoch.
        std::int64_t stored_at = 0;
    };

    static constexpr std::uint64_t default_limit = 50u << 20;

    // The folder is made on the first store.
    explicit disk_cache(std::string folder, std::uint64_t limit_bytes = default_limit);

    // $XDG_CACHE_HOME/zor, else ~/.cache/zor; empty when neither can be known.
    static std::string default_folder();

    const std::string& folder() const { return root; }

    // The copy kept for the key, which now counts as just used; nothing when there is none or it is damaged
    // (a damaged file is removed).
    std::optional<entry> find(const std::string& key);
    // Keeps the copy for the key, replacing an older one, then brings the folder back under its limit. False
    // when it could not be written (the old copy, if any, is left as it was) or is larger than the limit.
    bool store(const std::string& key, const entry& e);
    // The server says the copy is still current: its time moves on to `now`.
    bool confirm(const std::string& key, std::int64_t now);
    void remove(const std::string& key);

    // The bytes of every copy in the folder, as found on the disk.
    std::uint64_t size_on_disk() const;

private:
    std::string path_of(const std::string& key) const;
    void trim();

    std::string root;
    std::uint64_t limit;
    // Serialises this panel's writers; other processes only ever rename whole files in.
    std::mutex write_mutex;
    // The folder's size as this panel last counted it plus what it wrote since; another panel's writes show
    // at the next count.
    std::uint64_t counted = 0;
    bool count_known = false;
};

} // namespace cl
