#include "platform/contacts.h"

#include "platform/file_replace.h"

#include "platform/text.h"
#include "platform/user_folders.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <pwd.h>
#include <random>
#include <unistd.h>
#include <vector>

namespace platform {

namespace {

namespace fs = std::filesystem;

// Cards with embedded photos run to a few hundred kilobytes; anything far larger is not a contact.
constexpr std::uintmax_t largest_card = 4u << 20;
// RFC 6350 folds lines longer than 75 octets.
constexpr std::size_t line_octets = 75;

std::string env(const char* name) {
    const char* v = std::getenv(name);
    return v ? std::string(v) : std::string();
}

std::string random_uuid() {
    std::random_device source;
    unsigned char bytes[16];
    for (auto& b : bytes)
        b = static_cast<unsigned char>(source() & 0xFF);
    bytes[6] = static_cast<unsigned char>((bytes[6] & 0x0F) | 0x40); // version 4
    bytes[8] = static_cast<unsigned char>((bytes[8] & 0x3F) | 0x80); // RFC 4122 variant
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (int i = 0; i < 16; ++i) {
        if (i == 4 || i == 6 || i == 8 || i == 10)
            out += '-';
        out += digits[bytes[i] >> 4];
        out += digits[bytes[i] & 0x0F];
    }
    return out;
}

// A text value with the vCard escapes; other control characters have no place in a card.
std::string escaped(const std::wstring& text) {
    std::string out;
    for (char c : to_utf8(text)) {
        if (c == '\\' || c == ',' || c == ';')
            out += '\\';
        if (c == '\n')
            out += "\\n";
        else if (static_cast<unsigned char>(c) >= 0x20 || c == '\t')
            out += c;
    }
    return out;
}

// One content line, folded without splitting a UTF-8 sequence.
std::string folded(const std::string& line) {
    std::string out;
    std::size_t start = 0, room = line_octets;
    while (line.size() - start > room) {
        std::size_t cut = start + room;
        while (cut > start + 1 && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80)
            --cut;
        out.append(line, start, cut - start).append("\r\n ");
        start = cut;
        room = line_octets - 1; // the leading space counts
    }
    return out.append(line, start, std::string::npos).append("\r\n");
}

std::string card(const std::string& uid, const std::wstring& first_name, const std::wstring& email) {
    const std::string name = escaped(first_name);
    return folded("BEGIN:VCARD") + folded("VERSION:4.0") + folded("UID:urn:uuid:" + uid) +
           folded("FN:" + name) + folded("N:;" + name + ";;;") + folded("EMAIL;PREF=1:" + escaped(email)) +
           folded("END:VCARD");
}

// Content lines with folding undone; CRLF and bare LF both end a line.
std::vector<std::string> unfolded_lines(const std::string& bytes) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string::npos)
            end = bytes.size();
        std::size_t stop = end;
        if (stop > start && bytes[stop - 1] == '\r')
            --stop;
        if (stop > start && (bytes[start] == ' ' || bytes[start] == '\t') && !lines.empty())
            lines.back().append(bytes, start + 1, stop - start - 1);
        else
            lines.emplace_back(bytes, start, stop - start);
        start = end + 1;
    }
    return lines;
}

bool same_word(const std::string& a, const char* b) {
    return ::strcasecmp(a.c_str(), b) == 0;
}

struct content_line {
    std::string name; // without its group
    std::string value;
};

// Splits "group.NAME;PARAM=\"a:b\":value" at the first colon outside quotes; false without one.
bool split_line(const std::string& line, content_line& out) {
    bool quoted = false;
    std::size_t colon = std::string::npos;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '"')
            quoted = !quoted;
        else if (line[i] == ':' && !quoted) {
            colon = i;
            break;
        }
    }
    if (colon == std::string::npos)
        return false;
    std::string name = line.substr(0, std::min(colon, line.find(';')));
    const std::size_t dot = name.rfind('.');
    out.name = dot == std::string::npos ? name : name.substr(dot + 1);
    out.value = line.substr(colon + 1);
    return true;
}

// The given name of an N value: its second component, first of its comma-separated values, unescaped.
std::string given_name(const std::string& value) {
    std::string out;
    int component = 0;
    for (std::size_t i = 0; i < value.size(); ++i) {
        const char c = value[i];
        if (c == '\\' && i + 1 < value.size()) {
            const char next = value[++i];
            if (component == 1)
                out += (next == 'n' || next == 'N') ? '\n' : next;
        } else if (c == ';') {
            if (++component > 1)
                break;
        } else if (c == ',' && component == 1) {
            break;
        } else if (component == 1) {
            out += c;
        }
    }
    return out;
}

// Only a complete card (BEGIN to END) counts, so a half-written or cut file never matches.
bool holds_given_name(const std::string& bytes, const std::string& wanted) {
    bool inside = false, matched = false;
    content_line line;
    for (const std::string& text : unfolded_lines(bytes)) {
        if (!split_line(text, line))
            continue;
        if (same_word(line.name, "BEGIN") && same_word(line.value, "VCARD")) {
            inside = true;
            matched = false;
        } else if (inside && same_word(line.name, "END") && same_word(line.value, "VCARD")) {
            if (matched)
                return true;
            inside = false;
        } else if (inside && same_word(line.name, "N") && given_name(line.value) == wanted) {
            matched = true;
        }
    }
    return false;
}

bool read_card(const fs::path& path, std::string& bytes) {
    std::error_code ec;
    if (!fs::is_regular_file(path, ec) || path.extension() != ".vcf")
        return false;
    const std::uintmax_t size = fs::file_size(path, ec);
    if (ec || size > largest_card)
        return false;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

} // namespace

std::string contacts::default_folder() {
    const std::string own = env("ZOR_CONTACTS_DIR");
    if (!own.empty())
        return own;
    const std::string data = user_base_folder("XDG_DATA_HOME", ".local/share");
    return data.empty() ? data : data + "/contacts/zor";
}

bool contacts::fail(const std::string& what, int code) {
    error = what + ": " + std::strerror(code);
    return false;
}

bool contacts::add(const std::wstring& first_name, const std::wstring& email) {
    error.clear();
    if (dir.empty())
        return fail("no contacts folder", ENOENT);
    std::error_code ec;
    fs::create_directories(dir, ec);
    if (ec || !fs::is_directory(dir, ec))
        return fail("cannot make the folder " + dir, ec ? ec.value() : ENOTDIR);

    const std::string uid = random_uuid();
    const std::string path = dir + "/" + uid + ".vcf";
    // A hidden name without the .vcf ending: readers of the folder never see the file half-written.
    const int code = replace_file(path, dir + "/." + uid + ".tmp", card(uid, first_name, email), 0600);
    if (code != 0)
        return fail("cannot save " + path, code);
    return true;
}

bool contacts::has_first_name(const std::wstring& first_name) const {
    if (dir.empty())
        return false;
    const std::string wanted = to_utf8(first_name);
    std::error_code ec;
    fs::directory_iterator it(dir, ec), end;
    std::string bytes;
    for (; !ec && it != end; it.increment(ec)) {
        if (read_card(it->path(), bytes) && holds_given_name(bytes, wanted))
            return true;
    }
    return false;
}

} // namespace platform
