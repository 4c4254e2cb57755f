#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zor {

// One history entry: the page key under which a content is shown again, three text values (the first is
// the content's name) and the numbers the content keeps (the globe's rotation).
struct content_state {
    std::wstring page;
    std::vector<std::wstring> params;
    std::vector<std::int32_t> extra;

    content_state() : params(3) {}
    content_state(const std::wstring& page, const std::wstring& p0, const std::wstring& p1 = std::wstring(),
                  const std::wstring& p2 = std::wstring(), std::vector<std::int32_t> extra = {})
        : page(page), params{p0, p1, p2}, extra(std::move(extra)) {}

    bool operator==(const content_state& o) const {
        return page == o.page && params == o.params && extra == o.extra;
    }
    bool operator!=(const content_state& o) const { return !(*this == o); }
};

} // namespace zor
