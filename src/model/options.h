#pragma once

#include <list>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace zor {

// The user's settings and weather cities, kept in options.xml beside the panel library. The file is written
// as UTF-8 and replaced atomically, so a failed or interrupted save leaves the previous file whole; a file
// that cannot be read gives the defaults and is kept aside as options.xml.bad before it is first overwritten.
// A key that cannot follow the "p" of an element name (a city id with blanks or markup) goes in an attribute.
class options {
public:
    // Where options.xml is read from and written to.
    struct place {
        std::string read;
        std::string write;
    };
    // Beside the library when its folder is writable; otherwise in the user's configuration folder
    // (`config_folder`, e.g. ~/.config/zor). A file already in either place is found: the library's when
    // its folder is writable, else the user's, else the library's read-only one, whose changes then go to
    // the user's folder.
    static place place_for(const std::string& library_folder, bool library_writable,
                           const std::string& config_folder);
    // $XDG_CONFIG_HOME/zor, else ~/.config/zor; empty when neither can be known.
    static std::string user_config_folder();

    // Created and loaded on first use from the place place_for gives for the panel library's folder.
    static options& instance();
    // Replaces the instance with one loaded from another folder (tests, and hosts that keep options
    // elsewhere).
    static options& load_from(const std::wstring& folder);
    static options& load_from(const place& where);

    // The flag of a key, created false when absent.
    bool& flag(const std::wstring& key);
    // Writes the file; false when it could not be written (the settings in memory stay).
    bool save();
    // The names of the categories whose "2.n" flag is on, in key order; keys without a category are skipped.
    std::vector<std::wstring> home_categories() const;

    bool is_initialized() const { return initialized; }
    // Sets the first-start defaults when the file gave none.
    void apply_defaults();

    std::map<std::wstring, bool>& settings_map() { return settings; }
    std::map<std::wstring, std::wstring>& cities() { return city_names; }
    std::list<std::wstring>& order() { return city_order; }
    bool save_pending = false;

    const std::wstring& file_path() const { return path; }

private:
    explicit options(const std::wstring& folder);
    explicit options(const place& where);
    void read();

    std::map<std::wstring, bool> settings;
    bool initialized = false;
    std::map<std::wstring, std::wstring> city_names;
    std::list<std::wstring> city_order;
    std::wstring path;
    // Where save() writes; the read path unless that one cannot be written.
    std::wstring save_path;
    bool keep_bad_file = false;
};

} // namespace zor
