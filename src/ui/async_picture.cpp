#include "ui/async_picture.h"

#include "net/held_copies.h"
#include "net/http_client.h"
#include "platform/clock.h"
#include "ui/graphics.h"
#include "ui/resources.h"
#include "utils/document_text.h"
#include "utils/errors.h"

#include <atomic>
#include <list>
#include <mutex>

namespace cl {
namespace ui {

namespace {

// Set once the budget is destroyed at exit. Pictures kept by objects that outlive it (a model still
// referenced then) leave it alone; being constant-initialised, the flag stays readable until the end.
std::atomic<bool> budget_gone{false};

// The pictures counted in the memory budget, oldest first.
struct picture_budget {
    std::mutex m;
    int total = 0;
    std::list<async_picture*> pictures;

    ~picture_budget() { budget_gone = true; }
};

picture_budget& budget() {
    // An object, not a leaked pointer: the library may be unloaded and loaded again.
    static picture_budget b;
    return b;
}

// One connection serves every picture; only the loading thread uses it.
cl::http::client& picture_connection(const std::wstring& host) {
    static cl::http::client c;
    static std::wstring connected_host;
    if (!c.is_open()) {
        c.open();
        connected_host.clear();
    }
    // Pictures from another server than the first are fetched from their own server.
    if (!c.is_connected() || connected_host != host) {
        c.connect(host);
        connected_host = host;
    }
    return c;
}

} // namespace

async_picture::async_picture(const std::wstring& url, const std::wstring& host, bool with_wait_icon,
                             bool show_failure_image, int mode, bool scale_to_rect, bool untracked)
    : picture(mode), url_path(url), host(host), show_failure_image(show_failure_image),
      waiting(with_wait_icon ? new wait_icon : nullptr), scale_to_rect(scale_to_rect), untracked(untracked) {}

async_picture::~async_picture() {
    untrack();
}

void async_picture::set_rect(const platform::RECT& r) {
    utils::lock_guard guard(state);
    picture::set_rect(r);
    if (waiting)
        waiting->set_rect(r);
}

platform::RECT async_picture::get_rect() const {
    utils::lock_guard guard(state);
    return picture::get_rect();
}

bool async_picture::is_dirty() const {
    utils::lock_guard guard(state);
    return dirty;
}

void async_picture::set_dirty(bool d) {
    utils::lock_guard guard(state);
    dirty = d;
}

void async_picture::update(unsigned long now_ms) {
    utils::lock_guard guard(state);
    if (is_loaded()) {
        if (!was_loaded)
            dirty = true;
    } else if (waiting) {
        waiting->update(now_ms);
        dirty = dirty || waiting->is_dirty();
    }
    was_loaded = is_loaded();
}

void async_picture::layout() {
    utils::lock_guard guard(state);
    if (is_loaded())
        picture::layout();
    if (waiting)
        waiting->layout();
    dirty = true;
}

void async_picture::draw(i_graphics& g, bool force) {
    utils::lock_guard guard(state);
    if (!force && !dirty)
        return;
    if (is_loaded())
        picture::draw(g, true);
    else if (waiting)
        waiting->draw(g, true);
    dirty = false;
}

void async_picture::load() {
    if (is_loaded() && !is_failed())
        return;
    utils::lock_guard lock(m);
    loaded.exchange(0);
    if (url_path.empty())
        utils::throw_error(std::runtime_error("Image url is empty"));
    const bool failed = !attempt(
        [this] {
            utils::log(L"Try to load image " + url_path);
            // A picture that does not decode is refused, and the held copy, if any, stands in.
            const auto decode = [this](const cl::http::buffer& body, cl::http::copy_time) {
                if (body.size() == 0)
                    utils::throw_error(std::runtime_error("Image is empty"));
                const platform::RECT r = get_rect();
                image_ptr img = scale_to_rect
                                    ? load_image_from_buffer(body.data(), body.size(), width(r), height(r))
                                    : load_image_from_buffer(body.data(), body.size(), 0, 0);
                utils::lock_guard guard(state);
                set_image(img, false);
                picture::layout();
            };
            const auto get = [this](cl::http::buffer& body, const platform::http_validators* held,
                                    platform::http_response& response) {
                picture_connection(host).get(body, url_path, held, response);
            };
            set_copy_time(cl::http::load_through_held_copy(get, host, url_path, decode));
            if (!untracked)
                track();
            utils::log("Image loading success");
        },
        L"Image loading error. Url: " + url_path, L"Image loading unexpected error. Url: " + url_path,
        cl::reason_line::after);
    set_load_time(platform::tick_count());
    if (failed && show_failure_image) {
        try {
            // Past the image cache, which belongs to the frame loop's thread.
            image_ptr failure = load_image(resources::path(L"failed_to_load"), 0, 0, true);
            utils::lock_guard guard(state);
            set_image(failure, true);
            set_layout_mode(top_left);
            picture::layout();
        } catch (const std::exception& e) {
            utils::log(std::string("Image loading error. failed_to_load: ") + e.what());
        }
    }
    loaded.exchange(1);
}

void async_picture::unload() {
    untrack();
    drop_image();
    loaded.exchange(0);
    set_failed(false);
}

void async_picture::track() {
    if (budget_gone)
        return;
    image_ptr img = get_image();
    const int size = img ? img->memory_size() : 0;
    if (size > budget_bytes || size == 0)
        return;
    picture_budget& b = budget();
    std::lock_guard<std::mutex> lock(b.m);
    while (b.total + size > budget_bytes && !b.pictures.empty()) {
        // The older half goes at once.
        std::size_t evict = (b.pictures.size() + 1) / 2;
        for (std::size_t i = 0; i < evict && !b.pictures.empty(); ++i) {
            async_picture* old = b.pictures.front();
            b.pictures.pop_front();
            b.total -= old->tracked_size;
            old->tracked_size = 0;
            old->drop_image();
            old->loaded.exchange(0);
            old->set_failed(false);
        }
    }
    b.pictures.push_back(this);
    tracked_size = size;
    b.total += size;
}

void async_picture::untrack() {
    if (budget_gone)
        return;
    picture_budget& b = budget();
    std::lock_guard<std::mutex> lock(b.m);
    if (tracked_size == 0)
        return;
    b.pictures.remove(this);
    b.total -= tracked_size;
    tracked_size = 0;
}

int async_picture::budget_total() {
    std::lock_guard<std::mutex> lock(budget().m);
    return budget().total;
}

int async_picture::budget_count() {
    std::lock_guard<std::mutex> lock(budget().m);
    return static_cast<int>(budget().pictures.size());
}

} // namespace ui
} // namespace cl
