#include "net/disk_cache.h"

#include "platform/user_folders.h"

#include "platform/file_replace.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace cl {

namespace {

namespace fs = std::filesystem;

// Copies are written in the second form; the first, summed a byte at a time, is still read.
const char magic[] = "zorcache 2\n";
const char first_magic[] = "zorcache 1\n";
const std::size_t magic_size = sizeof magic - 1;
const char suffix[] = ".entry";

std::uint64_t fnv1a(const char* data, std::size_t size) {
    std::uint64_t h = 14695981039346656037ull;
    for (std::size_t i = 0; i < size; ++i) {
        h ^= static_cast<unsigned char>(data[i]);
        h *= 1099511628211ull;
    }
    return h;
}

// The same mixing over eight-byte words in four independent lanes: a copy is summed before every request,
// and one multiply a byte was most of the lookup's time.
std::uint64_t lane_sum(const char* data, std::size_t size) {
    const std::uint64_t prime = 1099511628211ull;
    std::uint64_t lanes[4] = {14695981039346656037ull, 0x9E3779B97F4A7C15ull, 0xC2B2AE3D27D4EB4Full,
                              0x165667B19E3779F9ull};
    std::size_t i = 0;
    for (; i + 32 <= size; i += 32) {
        for (int k = 0; k < 4; ++k) {
            std::uint64_t word;
            std::memcpy(&word, data + i + 8 * k, 8);
            lanes[k] = (lanes[k] ^ word) * prime;
        }
    }
    std::uint64_t h = size;
    for (std::uint64_t lane : lanes)
        h = (h ^ lane ^ (lane >> 29)) * prime;
    for (; i < size; ++i)
        h = (h ^ static_cast<unsigned char>(data[i])) * prime;
    return h ^ (h >> 32);
}

template <class T>
void put(std::string& out, T value) {
    char raw[sizeof(T)];
    std::memcpy(raw, &value, sizeof(T));
    out.append(raw, sizeof(T));
}

void put_text(std::string& out, const std::string& text) {
    put<std::uint64_t>(out, text.size());
    out += text;
}

// Reads the fields in order; any read past the end leaves it failed.
class reader {
public:
    reader(const std::string& bytes, std::size_t end) : data(bytes), limit(end) {}
    template <class T>
    T get() {
        T value{};
        if (!take(sizeof(T)))
            return value;
        std::memcpy(&value, data.data() + at - sizeof(T), sizeof(T));
        return value;
    }
    std::string get_text() {
        const std::uint64_t n = get<std::uint64_t>();
        if (n > limit - at || !take(static_cast<std::size_t>(n)))
            return std::string();
        return data.substr(at - n, n);
    }
    bool ok() const { return good; }
    bool at_end() const { return at == limit; }
    void skip(std::size_t n) { take(n); }

private:
    bool take(std::size_t n) {
        if (!good || n > limit - at) {
            good = false;
            return false;
        }
        at += n;
        return true;
    }
    const std::string& data;
    std::size_t limit;
    std::size_t at = 0;
    bool good = true;
};

std::string encode(const std::string& key, const disk_cache::entry& e) {
    std::string out(magic, magic_size);
    put_text(out, key);
    put_text(out, e.etag);
    put_text(out, e.last_modified);
    put<std::int64_t>(out, e.stored_at);
    put_text(out, e.body);
    put<std::uint64_t>(out, lane_sum(out.data(), out.size()));
    return out;
}

enum class decoded { ok, other_key, damaged };

decoded decode(const std::string& bytes, const std::string& key, disk_cache::entry& e) {
    if (bytes.size() < magic_size + sizeof(std::uint64_t))
        return decoded::damaged;
    const bool second = bytes.compare(0, magic_size, magic) == 0;
    if (!second && bytes.compare(0, magic_size, first_magic) != 0)
        return decoded::damaged;
    const std::size_t end = bytes.size() - sizeof(std::uint64_t);
    std::uint64_t sum = 0;
    std::memcpy(&sum, bytes.data() + end, sizeof sum);
    if (sum != (second ? lane_sum(bytes.data(), end) : fnv1a(bytes.data(), end)))
        return decoded::damaged;
    reader r(bytes, end);
    r.skip(magic_size);
    const std::string stored_key = r.get_text();
    e.etag = r.get_text();
    e.last_modified = r.get_text();
    e.stored_at = r.get<std::int64_t>();
    e.body = r.get_text();
    if (!r.ok() || !r.at_end())
        return decoded::damaged;
    return stored_key == key ? decoded::ok : decoded::other_key;
}

// The file's bytes, read in one go: entries are replaced by renaming, never written in place, so the size
// fstat gives is the whole file.
bool read_open(int fd, const struct stat& st, std::string& out) {
    out.resize(static_cast<std::size_t>(st.st_size));
    std::size_t got = 0;
    while (got < out.size()) {
        const ssize_t n = ::read(fd, &out[got], out.size() - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    out.resize(got);
    return got == static_cast<std::size_t>(st.st_size);
}

bool read_whole(const std::string& path, std::string& out) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat st;
    const bool read = ::fstat(fd, &st) == 0 && read_open(fd, st, out);
    ::close(fd);
    return read;
}

std::string temporary_name(const std::string& path) {
    static std::atomic<unsigned> serial{0};
    return path + ".tmp." + std::to_string(::getpid()) + "." + std::to_string(serial.fetch_add(1));
}

} // namespace

disk_cache::disk_cache(std::string folder, std::uint64_t limit_bytes)
    : root(std::move(folder)), limit(limit_bytes) {}

std::string disk_cache::default_folder() {
    const std::string base = platform::user_base_folder("XDG_CACHE_HOME", ".cache");
    return base.empty() ? base : base + "/zor";
}

std::string disk_cache::path_of(const std::string& key) const {
    static const char digits[] = "0123456789abcdef";
    std::uint64_t h = fnv1a(key.data(), key.size());
    std::string name(16, '0');
    for (int i = 15; i >= 0; --i, h >>= 4)
        name[static_cast<std::size_t>(i)] = digits[h & 15];
    return root + "/" + name + suffix;
}

std::optional<disk_cache::entry> disk_cache::find(const std::string& key) {
    const std::string path = path_of(key);
    // Read through one descriptor, which also gives the times and takes the new one: a copy is looked up
    // before every request, so no second walk of the path.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    struct stat st;
    std::string bytes;
    if (::fstat(fd, &st) != 0 || !read_open(fd, st, bytes)) {
        ::close(fd);
        return std::nullopt;
    }
    entry e;
    const decoded found = decode(bytes, key, e);
    if (found == decoded::ok) {
        // The file's modification time is when the server last gave or confirmed the copy (a confirmation
        // only moves it on: no new file); its access time is its last use, by which the limit removes the
        // copies used longest ago.
        if (st.st_mtim.tv_sec > e.stored_at)
            e.stored_at = st.st_mtim.tv_sec;
        const struct timespec used[2] = {{0, UTIME_NOW}, {0, UTIME_OMIT}};
        ::futimens(fd, used);
    }
    ::close(fd);
    switch (found) {
    case decoded::ok:
        return e;
    case decoded::damaged: {
        // Only a file still holding the same damaged bytes goes: another panel may have just renamed a good
        // copy in.
        std::string again;
        if (read_whole(path, again) && again == bytes)
            ::unlink(path.c_str());
        return std::nullopt;
    }
    case decoded::other_key:
        break;
    }
    return std::nullopt;
}

bool disk_cache::store(const std::string& key, const entry& e) {
    if (root.empty())
        return false;
    const std::string bytes = encode(key, e);
    if (bytes.size() > limit)
        return false;
    std::lock_guard<std::mutex> lock(write_mutex);
    std::error_code ec;
    fs::create_directories(root, ec);
    const std::string path = path_of(key);
    if (platform::replace_file(path, temporary_name(path), bytes, 0600, platform::durability::none) != 0)
        return false;
    const struct timespec times[2] = {{0, UTIME_NOW}, {static_cast<time_t>(e.stored_at), 0}};
    ::utimensat(AT_FDCWD, path.c_str(), times, 0);
    counted += bytes.size();
    if (!count_known || counted > limit)
        trim();
    return true;
}

bool disk_cache::confirm(const std::string& key, std::int64_t now) {
    const struct timespec times[2] = {{0, UTIME_OMIT}, {static_cast<time_t>(now), 0}};
    return ::utimensat(AT_FDCWD, path_of(key).c_str(), times, 0) == 0;
}

void disk_cache::remove(const std::string& key) {
    ::unlink(path_of(key).c_str());
}

std::uint64_t disk_cache::size_on_disk() const {
    std::uint64_t total = 0;
    std::error_code ec;
    for (fs::directory_iterator it(root, ec), end; !ec && it != end; it.increment(ec)) {
        struct stat st;
        if (it->path().extension() == suffix && ::stat(it->path().c_str(), &st) == 0)
            total += static_cast<std::uint64_t>(st.st_size);
    }
    return total;
}

// Counts the folder and, when it is over the limit, removes the copies used longest ago until it is under
// nine tenths of it, so that the next few stores need no count.
void disk_cache::trim() {
    struct file {
        std::string path;
        std::uint64_t size;
        struct timespec used;
    };
    std::vector<file> files;
    std::uint64_t total = 0;
    std::error_code ec;
    for (fs::directory_iterator it(root, ec), end; !ec && it != end; it.increment(ec)) {
        struct stat st;
        if (it->path().extension() != suffix || ::stat(it->path().c_str(), &st) != 0)
            continue;
        files.push_back(file{it->path().string(), static_cast<std::uint64_t>(st.st_size), st.st_atim});
        total += static_cast<std::uint64_t>(st.st_size);
    }
    count_known = true;
    if (total > limit) {
        std::sort(files.begin(), files.end(), [](const file& a, const file& b) {
            return a.used.tv_sec != b.used.tv_sec ? a.used.tv_sec < b.used.tv_sec
                                                  : a.used.tv_nsec < b.used.tv_nsec;
        });
        const std::uint64_t target = limit / 10 * 9;
        for (const file& f : files) {
            if (total <= target)
                break;
            if (::unlink(f.path.c_str()) == 0)
                total -= f.size;
        }
    }
    counted = total;
}

} // namespace cl
