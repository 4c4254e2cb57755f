#include "model/config.h"
#include "model/options.h"
#include "support/config_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

using zor::options;

class user_options : public ::testing::Test {
protected:
    void SetUp() override {
        use_config(folder, "<internet><server name=\"s\"/><news><categories>"
                           "<category name=\"World\"/><category name=\"Business\"/>"
                           "<category name=\"Sport\"/></categories></news></internet>");
    }
    void TearDown() override { zor::config::reset(); }
    options& load() { return options::load_from(folder.wpath()); }
    temp_folder folder;
};

TEST_F(user_options, first_start_gives_the_defaults_and_saves_them) {
    options& o = load();
    EXPECT_TRUE(o.flag(L"1.2"));
    EXPECT_FALSE(o.flag(L"1.1"));
    EXPECT_TRUE(o.flag(L"4.2"));
    EXPECT_EQ(o.home_categories(), (std::vector<std::wstring>{L"World", L"Business"}));
    EXPECT_TRUE(o.order().empty());
    o.settings_map().erase(L"1.1"); // flag() created it
    ASSERT_TRUE(o.save());
    std::string written = folder.read("options.xml");
    EXPECT_EQ(written.rfind("<?xml version=\"1.0\"?>", 0), 0u);
    std::size_t at = 0;
    for (const char* part : {"<Settings>", "<p1.2>true</p1.2>", "<p2.1>true</p2.1>", "<p2.2>true</p2.2>",
                             "<p4.2>true</p4.2>", "</Settings>", "<Weather/>"}) {
        std::size_t found = written.find(part, at);
        ASSERT_NE(found, std::string::npos) << part;
        at = found;
    }
    EXPECT_EQ(written.find("false"), std::string::npos);
}

TEST_F(user_options, reads_flags_exactly_and_keeps_unknown_categories) {
    folder.write("options.xml", "<?xml version=\"1.0\"?><Settings><p1.1>true</p1.1><p2.3>True</p2.3>"
                                "<p2.2>true</p2.2><p2.7>true</p2.7></Settings>"
                                "<Weather><p2643743>London</p2643743><p2988507>Paris</p2988507></Weather>");
    options& o = load();
    EXPECT_TRUE(o.is_initialized());
    EXPECT_TRUE(o.flag(L"1.1"));
    EXPECT_FALSE(o.flag(L"1.2")); // no defaults once the file had its weather section
    EXPECT_FALSE(o.flag(L"2.3")); // "True" is not "true"
    EXPECT_EQ(o.home_categories(), (std::vector<std::wstring>{L"Business"})); // 2.7 matches no category
    EXPECT_EQ(o.order(), (std::list<std::wstring>{L"2643743", L"2988507"}));
    EXPECT_EQ(o.cities()[L"2988507"], L"Paris");
    ASSERT_TRUE(o.save());
    EXPECT_NE(folder.read("options.xml").find("<p2.7>true</p2.7>"), std::string::npos);
}

// Ids as servers send them would each break the element they name; names go beyond Latin-1.
TEST_F(user_options, any_city_ids_and_names_round_trip_and_old_8_bit_files_still_read) {
    const std::vector<std::wstring> ids{L"New York, NY", L"a&b",    L"<x>", L"us/ny", L"",
                                        L"2643743",      L"1 \"q\""};
    options& o = load();
    o.flag(L"1.1") = true;
    for (const std::wstring& id : ids) {
        o.order().push_back(id);
        o.cities()[id] = L"City " + id;
    }
    o.cities()[L"2643743"] = L"\u5317\u4eac \u4e2d M\u00fcnchen";
    ASSERT_TRUE(o.save());
    EXPECT_NE(folder.read("options.xml").find("<p2643743>"), std::string::npos);

    options& again = load();
    EXPECT_TRUE(again.is_initialized());
    EXPECT_TRUE(again.flag(L"1.1"));
    EXPECT_TRUE(again.flag(L"1.2"));
    EXPECT_EQ(again.order(), (std::list<std::wstring>(ids.begin(), ids.end())));
    for (const std::wstring& id : ids)
        EXPECT_EQ(again.cities()[id], id == L"2643743" ? L"\u5317\u4eac \u4e2d M\u00fcnchen" : L"City " + id);
    EXPECT_FALSE(folder.exists("options.xml.bad")); // nothing was taken for a broken file

    // A file from an older version, names narrowed to 8 bits.
    folder.write("options.xml",
                 "<Settings><p1.2>true</p1.2></Settings><Weather><p1>Z\xfcrich</p1></Weather>");
    EXPECT_EQ(load().cities()[L"1"], L"Z\u00fcrich");
}

TEST_F(user_options, a_corrupt_file_gives_the_defaults_and_is_kept_aside_on_the_first_save) {
    const std::string broken = "<Settings><p1.1>true</p1.1><p2.1>tr";
    folder.write("options.xml", broken);
    options& o = load();
    EXPECT_TRUE(o.flag(L"1.2"));
    EXPECT_FALSE(o.flag(L"1.1"));
    EXPECT_EQ(folder.read("options.xml"), broken); // nothing overwritten by reading
    ASSERT_TRUE(o.save());
    EXPECT_EQ(folder.read("options.xml.bad"), broken);
    EXPECT_NE(folder.read("options.xml").find("<p1.2>true</p1.2>"), std::string::npos);
    o.flag(L"1.1") = true;
    ASSERT_TRUE(o.save());
    EXPECT_EQ(folder.read("options.xml.bad"), broken); // kept once, never replaced by good files
}

TEST_F(user_options, a_failed_save_leaves_the_previous_file_intact) {
    options& o = load();
    ASSERT_TRUE(o.save());
    const std::string before = folder.read("options.xml");
    // The temporary file cannot be made: a folder stands in its place.
    ASSERT_EQ(::mkdir(folder.file("options.xml.tmp").c_str(), 0755), 0);
    o.flag(L"1.1") = true;
    EXPECT_FALSE(o.save());
    EXPECT_EQ(folder.read("options.xml"), before);
    EXPECT_TRUE(o.flag(L"1.1")); // the setting stays in memory
    ::rmdir(folder.file("options.xml.tmp").c_str());
    EXPECT_TRUE(o.save());
    EXPECT_NE(folder.read("options.xml").find("<p1.1>true</p1.1>"), std::string::npos);
}

// A system-wide install: the library's folder cannot be written, so the file goes to the user's folder; a
// file already in either place is found.
TEST(options_place, beside_the_library_when_writable_else_in_the_users_folder) {
    temp_folder library, config;
    const std::string lib = library.path(), users = config.file("zor");
    const std::string beside = lib + "/options.xml", own = users + "/options.xml";
    struct row {
        bool writable, in_library, in_users;
        std::string read, write;
    };
    const row rows[] = {
        {true, false, false, beside, beside}, {true, true, false, beside, beside},
        {true, true, true, beside, beside},   {true, false, true, own, own},
        {false, false, false, own, own},      {false, true, false, beside, own},
        {false, true, true, own, own},        {false, false, true, own, own},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(std::to_string(r.writable) + std::to_string(r.in_library) + std::to_string(r.in_users));
        std::remove(beside.c_str());
        std::remove(own.c_str());
        ::mkdir(users.c_str(), 0700);
        if (r.in_library)
            library.write("options.xml", "<Settings/>");
        if (r.in_users)
            config.write("zor/options.xml", "<Settings/>");
        const options::place p = options::place_for(lib, r.writable, users);
        EXPECT_EQ(p.read, r.read);
        EXPECT_EQ(p.write, r.write);
    }
    // Without a user folder at all, only the library's place is left.
    EXPECT_EQ(options::place_for(lib, false, "").write, beside);

    // The shipped file is read, and the user's changes go to a folder made for them; the shipped one stays.
    library.write("options.xml", "<?xml version=\"1.0\"?><Settings><p2.3>true</p2.3></Settings>");
    const std::string nested = config.file("deep/zor/options.xml");
    options& o = options::load_from(options::place{beside, nested});
    EXPECT_TRUE(o.flag(L"2.3"));
    o.flag(L"1.1") = true;
    ASSERT_TRUE(o.save());
    EXPECT_TRUE(options::load_from(options::place{nested, nested}).flag(L"1.1"));
    EXPECT_FALSE(options::load_from(options::place{beside, beside}).flag(L"1.1"));
}

} // namespace
