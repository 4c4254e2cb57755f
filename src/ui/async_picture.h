#pragma once

#include "net/i_async_info_object.h"
#include "ui/picture.h"
#include "ui/wait_icon.h"
#include "utils/mutex.h"

#include <boost/shared_ptr.hpp>
#include <string>

namespace cl {
namespace ui {

// Names for async_picture's flags, so that a call reads what it asks for.
namespace picture_flags {
constexpr bool wait_icon = true;
constexpr bool no_wait_icon = false;
constexpr bool failure_image = true;
constexpr bool no_failure_image = false;
constexpr bool scaled_to_rect = true;
constexpr bool own_size = false;
// Never counted in the budget of decoded pictures, so never unloaded by it.
constexpr bool untracked = true;
constexpr bool in_budget = false;
} // namespace picture_flags

// A picture downloaded by the loading thread. Until it arrives a wait icon turns; decoded pictures share a
// process-wide budget of 3,000,000 bytes, and when a new one would exceed it the older half is unloaded
// (they can be loaded again). A picture larger than the whole budget is shown but never counted.
class async_picture : public picture, public cl::i_async_info_object {
public:
    static constexpr int budget_bytes = 3000000;

    async_picture(const std::wstring& url, const std::wstring& host, bool with_wait_icon,
                  bool show_failure_image, int mode, bool scale_to_rect, bool untracked);
    ~async_picture() override;

    // The loading thread lays the picture out when it arrives, so the rectangle and the dirty flag are read
    // and written under a lock of their own (never held across a transfer).
    void set_rect(const platform::RECT& r) override;
    platform::RECT get_rect() const override;
    bool is_dirty() const override;
    void set_dirty(bool d) override;
    void update(unsigned long now_ms) override;
    void layout() override;
    void draw(i_graphics& g, bool force) override;

    std::int64_t timestamp() const override { return 0; }
    bool is_loaded() const override { return loaded != 0; }
    bool is_failed() const override { return i_async_info_object::is_failed(); }
    int priority() const override { return 0; }
    // Loading thread: download, decode, count in the budget. Failures set the failed flag.
    void load() override;
    // Drops the image so that the picture can be loaded again.
    void unload() override;

    const std::wstring& url() const { return url_path; }
    // Loading thread only, before a load.
    void set_url(const std::wstring& url) { url_path = url; }

    // The bytes of decoded pictures counted now, and how many pictures they are.
    static int budget_total();
    static int budget_count();

private:
    void track();
    void untrack();

    // Takes turns between loads of this picture.
    utils::mutex m;
    // The control's state: rectangle, dirty flag, alpha and layout mode.
    mutable utils::mutex state;
    utils::atomic_long loaded;
    std::wstring url_path;
    std::wstring host;
    bool show_failure_image;
    boost::shared_ptr<wait_icon> waiting;
    bool scale_to_rect;
    bool untracked;
    bool was_loaded = false;
    int tracked_size = 0;
};

} // namespace ui
} // namespace cl
