#pragma once

#include "ui/affectors.h"
#include "ui/block_list_box_item.h"
#include "ui/settings_block_item.h"

#include <boost/shared_ptr.hpp>

namespace cl {
namespace ui {

// A group of options that opens and closes under its header row.
class expanded_block : public block_list_box_item {
public:
    expanded_block(const std::wstring& key, list_box_base* owner, const std::wstring& caption);

    void add_item(const item_ptr& item) override;
    void insert_before(const item_ptr& item, const std::wstring& key) override;
    void clear() override;
    void update(unsigned long now_ms) override;
    void layout() override;
    int top() const override;
    int bottom() const override;

    void set_expanded(bool open);
    // Puts these rows in place of all but the header, shown while the group is open, and lays the outer
    // list out again.
    void replace_rows(const std::vector<item_ptr>& replacement);
    bool is_expanded() const { return expanded; }
    settings_block_item& header() { return *header_row; }

private:
    std::wstring block_key;
    cl::aff::move_affector height;
    boost::shared_ptr<settings_block_item> header_row;
    bool expanded = false;
};

} // namespace ui
} // namespace cl
