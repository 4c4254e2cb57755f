#include "platform/contacts.h"

#include "platform/text.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <sys/stat.h>

namespace {

std::vector<std::string> files_in(const std::string& dir) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir))
        names.push_back(entry.path().filename());
    return names;
}

std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> out;
    for (std::size_t start = 0, end; start < text.size(); start = end + 2) {
        end = text.find("\r\n", start);
        if (end == std::string::npos)
            end = text.size();
        out.push_back(text.substr(start, end - start));
    }
    return out;
}

TEST(contacts, a_saved_contact_is_one_folded_vcard_named_after_its_uid_and_found_by_its_exact_first_name) {
    temp_folder home;
    platform::contacts book(home.file("a/b")); // made when missing
    EXPECT_FALSE(book.has_first_name(L"ZOR"));
    ASSERT_TRUE(book.add(L"ZOR", L"tipline@zor.example")) << book.last_error();

    const auto names = files_in(home.file("a/b"));
    ASSERT_EQ(names.size(), 1u); // no temporary left behind
    const std::string uuid = names[0].substr(0, names[0].size() - 4);
    EXPECT_EQ(names[0], uuid + ".vcf");
    EXPECT_EQ(lines_of(home.read("a/b/" + names[0])),
              (std::vector<std::string>{"BEGIN:VCARD", "VERSION:4.0", "UID:urn:uuid:" + uuid, "FN:ZOR",
                                        "N:;ZOR;;;", "EMAIL;PREF=1:tipline@zor.example", "END:VCARD"}));

    EXPECT_TRUE(book.has_first_name(L"ZOR"));
    // Names that sort after it, share its start, or differ in case are other people.
    for (const wchar_t* other : {L"Zoe", L"Zack", L"ZORRO", L"zor", L"ZO", L""})
        EXPECT_FALSE(book.has_first_name(other)) << platform::to_utf8(other);

    // Separators are escaped and long lines folded without cutting a character in two.
    const std::wstring odd = L"Anne, \\Marie; " + std::wstring(38, L'\u00e9');
    ASSERT_TRUE(book.add(odd, L"x@y"));
    EXPECT_TRUE(book.has_first_name(odd));
    EXPECT_FALSE(book.has_first_name(L"Anne"));
    for (const auto& name : files_in(home.file("a/b")))
        for (const auto& line : lines_of(home.read("a/b/" + name))) {
            EXPECT_LE(line.size(), 75u);
            EXPECT_EQ(platform::from_utf8(line).find(L'\uFFFD'), std::wstring::npos) << line;
        }
}

TEST(contacts, cards_of_other_programs_are_read_and_broken_files_are_passed_over) {
    temp_folder home;
    platform::contacts book(home.path());
    // Each holds the name somewhere it must not count.
    home.write("cut.vcf", "BEGIN:VCARD\r\nVERSION:4.0\r\nN:;ZOR;;;\r\n");
    home.write("card.txt", "BEGIN:VCARD\nN:;ZOR;;;\nEND:VCARD\n");
    home.write("family.vcf", "BEGIN:VCARD\nN:ZOR;Ann;;;\nNOTE:N:;ZOR;;;\nEND:VCARD\n");
    home.write("garbage.vcf", std::string("\xff\x00:;\\\n \n\t;;\r\r", 13));
    home.write("empty.vcf", "");
    ::mkdir(home.file("folder.vcf").c_str(), 0700);
    EXPECT_FALSE(book.has_first_name(L"ZOR"));

    // Version 3.0 from another program, LF endings, a group, a quoted colon and a folded given name.
    home.write("khard.vcf",
               "begin:vcard\nVERSION:3.0\nFN:Zoe Smith\nitem1.N;LANGUAGE=\"x:y\":Smith;Zo\n e,Anne;;;\n"
               "EMAIL:zoe@example.org\nend:vcard\n");
    EXPECT_TRUE(book.has_first_name(L"Zoe"));
    EXPECT_FALSE(book.has_first_name(L"ZOR"));
    home.write("two.vcf",
               "BEGIN:VCARD\r\nN:;Bob;;;\r\nEND:VCARD\r\nBEGIN:VCARD\r\nN:;Z\r\n\tOR;;;\r\nEND:VCARD\r\n");
    EXPECT_TRUE(book.has_first_name(L"ZOR"));
}

TEST(contacts, a_folder_that_cannot_be_written_fails_the_save_and_finds_nothing) {
    temp_folder home;
    home.write("file", "not a folder");
    for (const std::string& where : {home.file("file"), home.file("file/below"), std::string()}) {
        platform::contacts book(where);
        EXPECT_FALSE(book.add(L"ZOR", L"tipline@zor.example")) << where;
        EXPECT_FALSE(book.last_error().empty()) << where;
        EXPECT_FALSE(book.has_first_name(L"ZOR")) << where;
    }
    EXPECT_EQ(home.read("file"), "not a folder");
}

TEST(contacts, the_folder_comes_from_the_environment) {
    auto put = [](const char* key, const char* value) { value ? ::setenv(key, value, 1) : ::unsetenv(key); };
    const char* keys[] = {"ZOR_CONTACTS_DIR", "XDG_DATA_HOME", "HOME"};
    std::vector<std::unique_ptr<std::string>> kept;
    for (const char* k : keys)
        kept.emplace_back(std::getenv(k) ? new std::string(std::getenv(k)) : nullptr);
    // A relative XDG_DATA_HOME is ignored, as the XDG base directory rules say.
    struct {
        const char *own, *data, *expected;
    } cases[] = {{"/books/zor", "/data", "/books/zor"},
                 {nullptr, "/data", "/data/contacts/zor"},
                 {nullptr, "relative", "/home/u/.local/share/contacts/zor"},
                 {nullptr, nullptr, "/home/u/.local/share/contacts/zor"}};
    put("HOME", "/home/u");
    for (const auto& c : cases) {
        put("ZOR_CONTACTS_DIR", c.own);
        put("XDG_DATA_HOME", c.data);
        EXPECT_EQ(platform::contacts::default_folder(), c.expected) << (c.data ? c.data : "unset");
    }
    for (std::size_t i = 0; i < kept.size(); ++i)
        put(keys[i], kept[i] ? kept[i]->c_str() : nullptr);
}

} // namespace
