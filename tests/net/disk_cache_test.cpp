// The offline copies on the disk: what goes in comes out whole or not at all, under the size limit.
#include "net/disk_cache.h"
#include "support/temp_folder.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <pwd.h>
#include <thread>
#include <unistd.h>

namespace {

using cl::disk_cache;
namespace fs = std::filesystem;

disk_cache::entry make(const std::string& body, std::int64_t at = 1000) {
    disk_cache::entry e;
    e.body = body;
    e.etag = "\"v1\"";
    e.last_modified = "Mon, 07 Dec 2026 01:00:00 GMT";
    e.stored_at = at;
    return e;
}

// A copy as the first version of the cache wrote it: its own header, summed a byte at a time (FNV-1a).
void as_first_form(std::string& bytes) {
    bytes.replace(0, 11, "zorcache 1\n");
    std::uint64_t h = 14695981039346656037ull;
    for (std::size_t i = 0; i + 8 < bytes.size(); ++i)
        h = (h ^ static_cast<unsigned char>(bytes[i])) * 1099511628211ull;
    std::memcpy(&bytes[bytes.size() - 8], &h, 8);
}

// The one file the cache holds.
std::string only_file(const temp_folder& dir) {
    std::string found;
    for (const auto& f : fs::directory_iterator(dir.path()))
        found = f.path().string();
    return found;
}

TEST(disk_cache, a_copy_comes_back_whole_to_this_panel_and_to_another) {
    temp_folder dir;
    disk_cache cache(dir.file("zor"));
    EXPECT_FALSE(cache.find("host/news/world"));
    const std::string body("<headlines>\0binary\xff</headlines>", 31);
    ASSERT_TRUE(cache.store("host/news/world", make(body)));

    disk_cache other(dir.file("zor"));
    for (disk_cache* c : {&cache, &other}) {
        const auto e = c->find("host/news/world");
        ASSERT_TRUE(e);
        EXPECT_EQ(e->body, body);
        EXPECT_EQ(e->etag, "\"v1\"");
        EXPECT_EQ(e->last_modified, "Mon, 07 Dec 2026 01:00:00 GMT");
        EXPECT_EQ(e->stored_at, 1000);
    }
    // Addresses differing in their query are different copies; a newer copy replaces the old one.
    EXPECT_FALSE(cache.find("host/news/world?x=1"));
    ASSERT_TRUE(cache.store("host/news/world", make("new", 2000)));
    EXPECT_EQ(other.find("host/news/world")->body, "new");
    ASSERT_TRUE(cache.confirm("host/news/world", 3000));
    EXPECT_EQ(other.find("host/news/world")->stored_at, 3000);
    EXPECT_FALSE(cache.confirm("host/none", 3000));
    cache.remove("host/news/world");
    EXPECT_FALSE(other.find("host/news/world"));
}

TEST(disk_cache, a_damaged_copy_is_dropped_and_never_returned) {
    temp_folder dir;
    disk_cache cache(dir.path());
    const std::string body(4000, 'b');
    struct damage {
        const char* what;
        void (*apply)(std::string& bytes);
    };
    const damage cases[] = {
        {"a byte of the body changed", [](std::string& b) { b[b.size() / 2] ^= 0x20; }},
        {"cut short", [](std::string& b) { b.resize(b.size() / 3); }},
        {"empty", [](std::string& b) { b.clear(); }},
        {"another program's file", [](std::string& b) { b = "<html>not ours</html>"; }},
        {"a copy of the first form with a changed byte",
         [](std::string& b) {
             as_first_form(b);
             b[b.size() / 2] ^= 0x20;
         }},
    };
    for (const damage& d : cases) {
        ASSERT_TRUE(cache.store("host/a", make(body)));
        const std::string path = only_file(dir);
        std::string bytes;
        {
            std::ifstream in(path, std::ios::binary);
            bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        }
        d.apply(bytes);
        std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
        EXPECT_FALSE(cache.find("host/a")) << d.what;
        EXPECT_FALSE(fs::exists(path)) << d.what;
    }
    // The next good copy is kept as usual, and one the first version wrote is still read.
    ASSERT_TRUE(cache.store("host/a", make(body)));
    EXPECT_EQ(cache.find("host/a")->body, body);
    std::string bytes;
    {
        std::ifstream in(only_file(dir), std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    as_first_form(bytes);
    std::ofstream(only_file(dir), std::ios::binary | std::ios::trunc) << bytes;
    const auto first = cache.find("host/a");
    ASSERT_TRUE(first);
    EXPECT_EQ(first->body, body);
}

TEST(disk_cache, the_folder_stays_under_its_limit_and_the_copies_used_last_stay) {
    temp_folder dir;
    const std::uint64_t limit = 20000;
    disk_cache cache(dir.path(), limit);
    const std::string body(1000, 'x');
    for (int i = 0; i < 10; ++i)
        ASSERT_TRUE(cache.store("host/" + std::to_string(i), make(body)));
    // Read again, the oldest copy counts as the newest.
    ASSERT_TRUE(cache.find("host/0"));
    for (int i = 10; i < 40; ++i) {
        ASSERT_TRUE(cache.store("host/" + std::to_string(i), make(body)));
        ASSERT_LE(cache.size_on_disk(), limit) << i;
        if (i % 5 == 0) {
            ASSERT_TRUE(cache.find("host/0")) << i;
        }
    }
    EXPECT_FALSE(cache.find("host/1"));
    EXPECT_TRUE(cache.find("host/39"));
    // A copy larger than the whole limit is refused and leaves the one before it.
    EXPECT_FALSE(cache.store("host/39", make(std::string(limit, 'y'))));
    EXPECT_EQ(cache.find("host/39")->body, body);
}

// Two panels of the same user write the same address while a third reads it: every read is one whole copy.
TEST(disk_cache, two_panels_writing_at_once_never_show_a_part_of_either_copy) {
    temp_folder dir;
    const std::string a(50000, 'a'), b(70000, 'b');
    disk_cache first(dir.path()), second(dir.path()), reader(dir.path());
    ASSERT_TRUE(first.store("host/x", make(a)));
    const int rounds = 200;
    int read_a = 0, read_b = 0, other = 0;
    std::thread w1([&] {
        for (int i = 0; i < rounds; ++i)
            first.store("host/x", make(a));
    });
    std::thread w2([&] {
        for (int i = 0; i < rounds; ++i)
            second.store("host/x", make(b));
    });
    for (int i = 0; i < rounds; ++i) {
        const auto e = reader.find("host/x");
        if (!e)
            ++other;
        else if (e->body == a)
            ++read_a;
        else if (e->body == b)
            ++read_b;
        else
            ++other;
    }
    w1.join();
    w2.join();
    EXPECT_EQ(other, 0);
    EXPECT_EQ(read_a + read_b, rounds);
    // No temporary file is left behind.
    int files = 0;
    for (const auto& f : fs::directory_iterator(dir.path()))
        files += f.path().extension() == ".entry" ? 1 : 100;
    EXPECT_EQ(files, 1);
}

TEST(disk_cache, the_folder_follows_the_users_cache_home_and_a_folder_it_cannot_write_fails_cleanly) {
    const char* saved_xdg = std::getenv("XDG_CACHE_HOME");
    const char* saved_home = std::getenv("HOME");
    const std::string xdg = saved_xdg ? saved_xdg : "", home = saved_home ? saved_home : "";
    ::setenv("XDG_CACHE_HOME", "/var/cache/u", 1);
    EXPECT_EQ(disk_cache::default_folder(), "/var/cache/u/zor");
    // A relative cache home is ignored, as the base directory rules say.
    ::setenv("XDG_CACHE_HOME", "rel", 1);
    ::setenv("HOME", "/home/u", 1);
    EXPECT_EQ(disk_cache::default_folder(), "/home/u/.cache/zor");
    // Without $HOME, the home folder the password database gives.
    ::unsetenv("XDG_CACHE_HOME");
    ::unsetenv("HOME");
    const passwd* user = ::getpwuid(::getuid());
    ASSERT_TRUE(user && user->pw_dir);
    EXPECT_EQ(disk_cache::default_folder(), std::string(user->pw_dir) + "/.cache/zor");
    saved_xdg ? ::setenv("XDG_CACHE_HOME", xdg.c_str(), 1) : ::unsetenv("XDG_CACHE_HOME");
    saved_home ? ::setenv("HOME", home.c_str(), 1) : ::unsetenv("HOME");

    temp_folder dir;
    dir.write("file", "a file where the folder should be");
    disk_cache blocked(dir.file("file") + "/zor");
    EXPECT_FALSE(blocked.store("host/a", make("x")));
    EXPECT_FALSE(blocked.find("host/a"));
    disk_cache nowhere("");
    EXPECT_FALSE(nowhere.store("host/a", make("x")));
}

} // namespace
