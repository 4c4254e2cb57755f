#pragma once

#include "model/news/category.h"
#include "model/news/headline.h"

namespace news {

// Owns the categories of config.xml, built on first use.
class manager {
public:
    manager() = default;
    manager(const manager&) = delete;
    manager& operator=(const manager&) = delete;

    const category_list& categories();
    // The category, or its sub-category when sub_name is not empty; null when there is none.
    category_ptr find_category(const std::wstring& name, const std::wstring& sub_name);
    // The first headline with the id in that category; null when none or when the category is not loaded.
    headline_ptr find_headline(const std::wstring& name, const std::wstring& sub_name,
                               const std::wstring& id);

private:
    category_list list;
};

} // namespace news
