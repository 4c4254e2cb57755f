#include "model/options.h"

#include "model/config.h"
#include "platform/file_replace.h"
#include "platform/module.h"
#include "platform/text.h"
#include "platform/user_folders.h"
#include "utils/document_text.h"
#include "utils/log.h"

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <tinyxml2.h>
#include <unistd.h>

namespace zor {

namespace {

std::unique_ptr<options> the_options;

std::wstring library_folder() {
    static int anchor;
    return platform::from_utf8(platform::module_folder(platform::module_of(&anchor)));
}

bool file_exists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

// mkdir -p, private to the user.
void make_folders(const std::string& folder) {
    for (std::size_t at = folder.find('/', 1);; at = folder.find('/', at + 1)) {
        ::mkdir(folder.substr(0, at).c_str(), 0700);
        if (at == std::string::npos)
            break;
    }
}

// A key goes into the element's name after a "p", as the file has always been written. A key that would not
// make a valid name there (a server's city id with blanks, "&", "<", "/" or commas) is written as a plain
// "p" element carrying the key in an attribute, so the file always parses.
const char* const key_attribute = "key";

bool fits_in_name(const std::wstring& key) {
    if (key.empty())
        return false;
    for (wchar_t c : key) {
        const bool plain = (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9') ||
                           c == L'.' || c == L'-' || c == L'_';
        if (!plain)
            return false;
    }
    return true;
}

tinyxml2::XMLElement* new_keyed_element(tinyxml2::XMLDocument& doc, const std::wstring& key) {
    if (fits_in_name(key))
        return doc.NewElement(("p" + platform::to_utf8(key)).c_str());
    tinyxml2::XMLElement* e = doc.NewElement("p");
    e->SetAttribute(key_attribute, platform::to_utf8(key).c_str());
    return e;
}

std::wstring key_of(const tinyxml2::XMLElement& e) {
    if (const char* key = e.Attribute(key_attribute))
        return utils::widen_document_text(key);
    return utils::widen_document_text(e.Name()).substr(1);
}

} // namespace

options::place options::place_for(const std::string& library_folder, bool library_writable,
                                  const std::string& config_folder) {
    const std::string beside = library_folder + "/options.xml";
    const std::string users = config_folder.empty() ? std::string() : config_folder + "/options.xml";
    if (library_writable && (file_exists(beside) || users.empty() || !file_exists(users)))
        return place{beside, beside};
    if (!users.empty() && file_exists(users))
        return place{users, users};
    if (users.empty())
        return place{beside, beside};
    return place{file_exists(beside) ? beside : users, users};
}

std::string options::user_config_folder() {
    const std::string base = platform::user_base_folder("XDG_CONFIG_HOME", ".config");
    return base.empty() ? base : base + "/zor";
}

options& options::instance() {
    if (!the_options) {
        const std::string folder = platform::to_utf8(library_folder());
        const bool writable = ::access(folder.c_str(), W_OK) == 0;
        const place where = place_for(folder, writable, user_config_folder());
        if (where.write.compare(0, folder.size() + 1, folder + "/") != 0)
            utils::log("The panel's folder " + folder + " cannot be written: options.xml is kept in " +
                       where.write);
        the_options.reset(new options(where));
    }
    return *the_options;
}

options& options::load_from(const std::wstring& folder) {
    the_options.reset(new options(folder));
    return *the_options;
}

options& options::load_from(const place& where) {
    the_options.reset(new options(where));
    return *the_options;
}

options::options(const std::wstring& folder) {
    path = folder;
    if (!path.empty() && path.back() != L'/')
        path += L'/';
    path += L"options.xml";
    save_path = path;
    read();
    if (!initialized)
        apply_defaults();
}

options::options(const place& where)
    : path(platform::from_utf8(where.read)), save_path(platform::from_utf8(where.write)) {
    read();
    if (!initialized)
        apply_defaults();
}

void options::read() {
    const std::string file = platform::to_utf8(path);
    tinyxml2::XMLDocument doc;
    if (doc.LoadFile(file.c_str()) != tinyxml2::XML_SUCCESS) {
        // A file that is there but cannot be read is kept for the user before anything replaces it.
        keep_bad_file = file_exists(file);
        if (keep_bad_file)
            utils::log("options.xml cannot be read; the defaults are used");
        return;
    }
    const tinyxml2::XMLElement* section = doc.FirstChildElement();
    if (!section)
        return;
    for (const tinyxml2::XMLElement* e = section->FirstChildElement(); e; e = e->NextSiblingElement()) {
        std::wstring key = key_of(*e);
        const char* text = e->GetText();
        settings[key] = text && std::string(text) == "true";
    }
    const tinyxml2::XMLElement* weather = section->NextSiblingElement();
    if (!weather)
        return;
    for (const tinyxml2::XMLElement* e = weather->FirstChildElement(); e; e = e->NextSiblingElement()) {
        std::wstring id = key_of(*e);
        city_names[id] = e->GetText() ? utils::widen_document_text(e->GetText()) : std::wstring();
        city_order.push_back(id);
    }
    initialized = true;
}

void options::apply_defaults() {
    for (const wchar_t* key : {L"1.2", L"2.1", L"2.2", L"4.2"})
        settings[key] = true;
    initialized = true;
}

bool& options::flag(const std::wstring& key) {
    return settings[key];
}

bool options::save() {
    tinyxml2::XMLDocument doc;
    doc.InsertEndChild(doc.NewDeclaration("xml version=\"1.0\""));
    tinyxml2::XMLElement* section = doc.NewElement("Settings");
    doc.InsertEndChild(section);
    for (auto& entry : settings) {
        tinyxml2::XMLElement* e = new_keyed_element(doc, entry.first);
        e->SetText(entry.second ? "true" : "false");
        section->InsertEndChild(e);
    }
    tinyxml2::XMLElement* weather = doc.NewElement("Weather");
    doc.InsertEndChild(weather);
    for (const std::wstring& id : city_order) {
        tinyxml2::XMLElement* e = new_keyed_element(doc, id);
        auto it = city_names.find(id);
        e->SetText(it == city_names.end() ? "" : platform::to_utf8(it->second).c_str());
        weather->InsertEndChild(e);
    }
    tinyxml2::XMLPrinter printer;
    doc.Print(&printer);
    const std::string file = platform::to_utf8(save_path);
    // The user's configuration folder may not exist yet.
    const std::size_t slash = file.rfind('/');
    if (save_path != path && slash != std::string::npos)
        make_folders(file.substr(0, slash));
    if (keep_bad_file && save_path == path) {
        std::rename(file.c_str(), (file + ".bad").c_str());
        keep_bad_file = false;
    }
    if (platform::replace_file(file, file + ".tmp",
                               std::string(printer.CStr(), static_cast<std::size_t>(printer.CStrSize() - 1)),
                               0644) != 0) {
        utils::log("options.xml cannot be written");
        return false;
    }
    return true;
}

std::vector<std::wstring> options::home_categories() const {
    std::vector<std::wstring> names;
    config::items categories;
    try {
        categories = config::instance().get_items(config::internet, config::categories);
    } catch (const std::exception&) {
        return names;
    }
    for (auto& entry : settings) {
        if (!entry.second || entry.first.size() < 3 || entry.first.compare(0, 2, L"2.") != 0)
            continue;
        const std::wstring number = entry.first.substr(2);
        if (number.find_first_not_of(L"0123456789") != std::wstring::npos)
            continue;
        const unsigned long n = std::wcstoul(number.c_str(), nullptr, 10);
        if (n >= 1 && n <= categories.size())
            names.push_back(config::attribute(categories[n - 1], config::name));
    }
    return names;
}

} // namespace zor
