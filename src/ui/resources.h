#pragma once

#include <string>
#include <vector>

// The image resource table: controls ask for an image by key, and the table gives the file for the current
// orientation under the installation folder's "images" folder.
namespace cl {
namespace ui {
namespace resources {

// Clears and fills the table; folder is the installation folder (with or without a trailing slash).
void load(const std::wstring& folder);
void set_portrait(bool portrait);
bool is_portrait();
// Throws cl::ui::res_error "invalid resource id" for a key the table lacks in the current orientation.
std::wstring path(const std::wstring& key);
// Every key of the table, each with the orientations it exists in (for checks of the installed files).
struct entry {
    std::wstring key;
    bool portrait;
    bool landscape;
};
std::vector<entry> keys();

} // namespace resources
} // namespace ui
} // namespace cl
