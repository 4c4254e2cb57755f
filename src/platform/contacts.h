#pragma once

#include <string>

namespace platform {

// The phone book: a vCard 4.0 address book in a vdir folder, one UID-named .vcf file per contact, as khard
// reads it and vdirsyncer syncs it. Only what the panel asks of it: add a contact, and tell whether a first
// name is there.
class contacts {
public:
    // $ZOR_CONTACTS_DIR, else $XDG_DATA_HOME/contacts/zor, else ~/.local/share/contacts/zor.
    static std::string default_folder();

    explicit contacts(std::string folder) : dir(std::move(folder)) {}

    const std::string& folder() const { return dir; }

    // Writes a new contact, making the folder when it is missing. False when it cannot, with the reason in
    // last_error(); no partial file is left behind.
    bool add(const std::wstring& first_name, const std::wstring& email);
    // True when a contact's given name is exactly first_name (case counts). Files that cannot be read or are
    // not vCards are passed over; a missing folder holds no contacts.
    bool has_first_name(const std::wstring& first_name) const;

    const std::string& last_error() const { return error; }

private:
    bool fail(const std::string& what, int code);

    std::string dir;
    std::string error;
};

} // namespace platform
