#include "platform/window_system.h"

#include "platform/clock.h"
#include "platform/edit_control.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <thread>

namespace platform {

namespace {

struct window_record {
    HWND handle = nullptr;
    std::wstring class_name;
    std::wstring title;
    DWORD style = 0;
    WNDPROC proc = nullptr;
    HWND parent = nullptr;
    RECT rect; // in the parent's client coordinates, or the screen's for a top-level window
    bool visible = false;
    bool invalid = true;
    bool destroying = false;
    std::thread::id thread;
    std::map<std::wstring, void*> props;
    std::shared_ptr<window_surface> surface;
    std::vector<HWND> children; // stacking order, bottom first
};

struct class_record {
    window_class cls;
    int windows = 0;
};

struct sent_item {
    HWND hwnd;
    UINT msg;
    WPARAM wparam;
    LPARAM lparam;
    LRESULT result = 0;
    bool done = false;
};

struct thread_queue {
    std::deque<MSG> posted;
    std::deque<std::shared_ptr<sent_item>> sent;
    bool quit = false;
    int quit_code = 0;
    bool woken = false;
    std::condition_variable cv;
};

struct state {
    std::mutex m;
    std::condition_variable sent_done;
    std::map<std::wstring, class_record> classes;
    std::map<HWND, window_record> windows;
    std::vector<HWND> top_levels;
    std::map<std::thread::id, std::shared_ptr<thread_queue>> queues;
    std::uintptr_t next_handle = 0x10;
    HWND focus = nullptr;
    HWND foreground = nullptr;
    int screen_width = 480;
    int screen_height = 800;
    RECT work_area{0, 0, 480, 800};
};

// Never destroyed: windows may outlive static destruction order in the host and the panel.
state& st() {
    static state* s = new state;
    return *s;
}

thread_local DWORD last_error = 0;

window_record* find(state& s, HWND h) {
    auto it = s.windows.find(h);
    return it == s.windows.end() ? nullptr : &it->second;
}

thread_queue& queue_of(state& s, std::thread::id id) {
    auto& q = s.queues[id];
    if (!q)
        q = std::make_shared<thread_queue>();
    return *q;
}

bool visible_with_ancestors(state& s, const window_record* w) {
    while (w) {
        if (!w->visible)
            return false;
        w = w->parent ? find(s, w->parent) : nullptr;
    }
    return true;
}

POINT screen_origin(state& s, const window_record* w) {
    POINT p;
    while (w) {
        p.x += w->rect.left;
        p.y += w->rect.top;
        w = w->parent ? find(s, w->parent) : nullptr;
    }
    return p;
}

void notify_owner(state& s, const window_record& w) {
    auto it = s.queues.find(w.thread);
    if (it != s.queues.end())
        it->second->cv.notify_all();
}

// Runs the messages other threads sent to this one; the lock is released around each call.
void run_sent(state& s, std::unique_lock<std::mutex>& lock, thread_queue& q) {
    while (!q.sent.empty()) {
        auto item = q.sent.front();
        q.sent.pop_front();
        window_record* w = find(s, item->hwnd);
        WNDPROC proc = w ? w->proc : nullptr;
        lock.unlock();
        LRESULT r = proc ? proc(item->hwnd, item->msg, item->wparam, item->lparam) : 0;
        lock.lock();
        item->result = r;
        item->done = true;
        s.sent_done.notify_all();
    }
}

HWND invalid_window_of(state& s, std::thread::id id) {
    for (auto& entry : s.windows) {
        const window_record& w = entry.second;
        if (w.thread == id && w.invalid && !w.destroying && visible_with_ancestors(s, &w))
            return w.handle;
    }
    return nullptr;
}

// Takes the next message of the calling thread's queue, if any. Returns 1 for a message, 0 for WM_QUIT,
// -1 for nothing.
int take_message(state& s, std::unique_lock<std::mutex>& lock, MSG& msg, bool remove) {
    thread_queue& q = queue_of(s, std::this_thread::get_id());
    run_sent(s, lock, q);
    if (!q.posted.empty()) {
        msg = q.posted.front();
        if (remove)
            q.posted.pop_front();
        return 1;
    }
    if (q.quit) {
        msg = MSG{};
        msg.message = WM_QUIT;
        msg.wParam = static_cast<WPARAM>(q.quit_code);
        msg.time = tick_count();
        if (remove)
            q.quit = false;
        return 0;
    }
    if (HWND h = invalid_window_of(s, std::this_thread::get_id())) {
        msg = MSG{};
        msg.hwnd = h;
        msg.message = WM_PAINT;
        msg.time = tick_count();
        return 1;
    }
    return -1;
}

// Runs f(state, window) under the lock for a known handle; fallback otherwise.
template <class R, class F>
R with_window(HWND hwnd, R fallback, F f) {
    state& s = st();
    std::lock_guard<std::mutex> lock(s.m);
    window_record* w = find(s, hwnd);
    return w ? f(s, *w) : fallback;
}

} // namespace

DWORD get_last_error() {
    return last_error;
}

bool register_class(const window_class& cls) {
    state& s = st();
    std::lock_guard<std::mutex> lock(s.m);
    if (cls.name.empty() || !cls.proc) {
        last_error = ERROR_INVALID_PARAMETER;
        return false;
    }
    if (s.classes.count(cls.name)) {
        last_error = ERROR_CLASS_ALREADY_EXISTS;
        return false;
    }
    s.classes[cls.name].cls = cls;
    return true;
}

bool unregister_class(const std::wstring& name, HINSTANCE) {
    state& s = st();
    std::lock_guard<std::mutex> lock(s.m);
    auto it = s.classes.find(name);
    if (it == s.classes.end()) {
        last_error = ERROR_CLASS_DOES_NOT_EXIST;
        return false;
    }
    if (it->second.windows > 0) {
        last_error = ERROR_CLASS_HAS_WINDOWS;
        return false;
    }
    s.classes.erase(it);
    return true;
}

bool is_class_registered(const std::wstring& name) {
    state& s = st();
    std::lock_guard<std::mutex> lock(s.m);
    return s.classes.count(name) != 0;
}

HWND create_window(DWORD, const std::wstring& class_name, const std::wstring& title, DWORD style, int x,
                   int y, int width, int height, HWND parent, HINSTANCE) {
    state& s = st();
    HWND handle;
    RECT r;
    {
        std::lock_guard<std::mutex> lock(s.m);
        auto cls = s.classes.find(class_name);
        if (cls == s.classes.end() && class_name == L"EDIT") {
            // The system's own class, registered on first use.
            cls = s.classes.emplace(class_name, class_record{}).first;
            cls->second.cls.name = class_name;
            cls->second.cls.proc = edit_window_proc;
        }
        if (cls == s.classes.end()) {
            last_error = ERROR_CANNOT_FIND_WND_CLASS;
            return nullptr;
        }
        window_record* p = parent ? find(s, parent) : nullptr;
        if (parent && (!p || p->destroying)) {
            last_error = ERROR_INVALID_WINDOW_HANDLE;
            return nullptr;
        }
        if (x == CW_USEDEFAULT || y == CW_USEDEFAULT || width == CW_USEDEFAULT || height == CW_USEDEFAULT) {
            r = parent ? RECT{0, 0, 0, 0} : s.work_area;
        } else {
            r = RECT{x, y, x + std::max(0, width), y + std::max(0, height)};
        }
        handle = reinterpret_cast<HWND>(s.next_handle);
        s.next_handle += 4;
        window_record& w = s.windows[handle];
        w.handle = handle;
        w.class_name = class_name;
        w.title = title;
        w.style = style;
        w.proc = cls->second.cls.proc;
        w.parent = parent;
        w.rect = r;
        w.visible = (style & WS_VISIBLE) != 0;
        w.thread = std::this_thread::get_id();
        w.surface = std::make_shared<window_surface>(r.right - r.left, r.bottom - r.top);
        ++cls->second.windows;
        if (p)
            p->children.push_back(handle);
        else
            s.top_levels.push_back(handle);
        queue_of(s, w.thread);
    }
    if (send_message(handle, WM_CREATE, 0, 0) == -1) {
        destroy_window(handle);
        return nullptr;
    }
    send_message(handle, WM_SIZE, SIZE_RESTORED, MAKELPARAM(r.right - r.left, r.bottom - r.top));
    send_message(handle, WM_MOVE, 0, MAKELPARAM(r.left, r.top));
    bump_screen_generation();
    return handle;
}

bool destroy_window(HWND hwnd) {
    state& s = st();
    std::vector<HWND> children;
    {
        std::lock_guard<std::mutex> lock(s.m);
        window_record* w = find(s, hwnd);
        if (!w || w->destroying) {
            last_error = ERROR_INVALID_WINDOW_HANDLE;
            return false;
        }
        w->destroying = true;
        children = w->children;
    }
    send_message(hwnd, WM_DESTROY, 0, 0);
    for (HWND child : children)
        destroy_window(child);
    {
        std::lock_guard<std::mutex> lock(s.m);
        window_record* w = find(s, hwnd);
        if (!w)
            return true;
        if (window_record* p = w->parent ? find(s, w->parent) : nullptr)
            p->children.erase(std::remove(p->children.begin(), p->children.end(), hwnd), p->children.end());
        s.top_levels.erase(std::remove(s.top_levels.begin(), s.top_levels.end(), hwnd), s.top_levels.end());
        auto cls = s.classes.find(w->class_name);
        if (cls != s.classes.end())
            --cls->second.windows;
        if (s.focus == hwnd)
            s.focus = nullptr;
        if (s.foreground == hwnd)
            s.foreground = nullptr;
        // Messages that other threads are waiting on will never run.
        for (auto& q : s.queues) {
            for (auto& item : q.second->sent) {
                if (item->hwnd == hwnd)
                    item->done = true;
            }
            auto& sent = q.second->sent;
            sent.erase(std::remove_if(sent.begin(), sent.end(), [&](auto& i) { return i->hwnd == hwnd; }),
                       sent.end());
        }
        s.windows.erase(hwnd);
        s.sent_done.notify_all();
    }
    bump_screen_generation();
    return true;
}

bool is_window(HWND hwnd) {
    return with_window(hwnd, false, [](state&, window_record&) { return true; });
}

HWND get_parent(HWND hwnd) {
    return with_window(hwnd, HWND(nullptr), [](state&, window_record& w) { return w.parent; });
}

std::vector<HWND> get_children(HWND hwnd) {
    return with_window(hwnd, std::vector<HWND>(), [](state&, window_record& w) { return w.children; });
}

std::wstring get_class_name(HWND hwnd) {
    return with_window(hwnd, std::wstring(), [](state&, window_record& w) { return w.class_name; });
}

std::wstring get_window_title(HWND hwnd) {
    return with_window(hwnd, std::wstring(), [](state&, window_record& w) { return w.title; });
}

void set_window_title(HWND hwnd, const std::wstring& title) {
    with_window(hwnd, false, [&](state&, window_record& w) {
        w.title = title;
        return true;
    });
}

DWORD get_window_style(HWND hwnd) {
    return with_window(hwnd, DWORD(0), [](state&, window_record& w) { return w.style; });
}

HWND find_window(const wchar_t* class_name, const wchar_t* title) {
    state& s = st();
    std::lock_guard<std::mutex> lock(s.m);
    for (auto it = s.top_levels.rbegin(); it != s.top_levels.rend(); ++it) {
        window_record* w = find(s, *it);
        if (!w || w->destroying)
            continue;
        if (class_name && w->class_name != class_name)
            continue;
        if (title && w->title != title)
            continue;
        return w->handle;
    }
    // Child windows are found as well: the panel's own window is a child of the host.
    for (auto& entry : s.windows) {
        window_record& w = entry.second;
        if (!w.parent || w.destroying)
            continue;
        if (class_name && w.class_name != class_name)
            continue;
        if (title && w.title != title)
            continue;
        return w.handle;
    }
    return nullptr;
}

HWND find_window(const std::wstring& class_name, const std::wstring& title) {
    return find_window(class_name.c_str(), title.c_str());
}

WNDPROC set_window_proc(HWND hwnd, WNDPROC proc) {
    state& s = st();
    std::lock_guard<std::mutex> lock(s.m);
    window_record* w = find(s, hwnd);
    if (!w || !proc) {
        last_error = ERROR_INVALID_WINDOW_HANDLE;
        return nullptr;
    }
    WNDPROC previous = w->proc;
    w->proc = proc;
    return previous;
}

WNDPROC get_window_proc(HWND hwnd) {
    return with_window(hwnd, WNDPROC(nullptr), [](state&, window_record& w) { return w.proc; });
}

LRESULT call_window_proc(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    return proc ? proc(hwnd, msg, wparam, lparam) : 0;
}

LRESULT def_window_proc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    switch (msg) {
    case WM_CLOSE:
        destroy_window(hwnd);
        return 0;
    case WM_PAINT:
        validate_window(hwnd);
        return 0;
    case WM_SETTEXT:
        set_window_title(hwnd,
                         lparam ? std::wstring(reinterpret_cast<const wchar_t*>(lparam)) : std::wstring());
        return 1;
    case WM_GETTEXTLENGTH:
        return static_cast<LRESULT>(get_window_title(hwnd).size());
    case WM_GETTEXT: {
        // wparam is the buffer's size in characters, terminator included.
        if (!lparam || wparam == 0)
            return 0;
        std::wstring title = get_window_title(hwnd);
        std::size_t n = std::min<std::size_t>(title.size(), wparam - 1);
        auto* out = reinterpret_cast<wchar_t*>(lparam);
        std::copy_n(title.begin(), n, out);
        out[n] = L'\0';
        return static_cast<LRESULT>(n);
    }
    default:
        return 0;
    }
}

bool set_prop(HWND hwnd, const std::wstring& name, void* value) {
    return with_window(hwnd, false, [&](state&, window_record& w) {
        w.props[name] = value;
        return true;
    });
}

void* get_prop(HWND hwnd, const std::wstring& name) {
    return with_window(hwnd, static_cast<void*>(nullptr), [&](state&, window_record& w) {
        auto it = w.props.find(name);
        return it == w.props.end() ? nullptr : it->second;
    });
}

void* remove_prop(HWND hwnd, const std::wstring& name) {
    return with_window(hwnd, static_cast<void*>(nullptr), [&](state&, window_record& w) -> void* {
        auto it = w.props.find(name);
        if (it == w.props.end())
            return nullptr;
        void* v = it->second;
        w.props.erase(it);
        return v;
    });
}

bool post_message(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    state& s = st();
    std::lock_guard<std::mutex> lock(s.m);
    std::thread::id owner = std::this_thread::get_id();
    if (hwnd) {
        window_record* w = find(s, hwnd);
        if (!w) {
            last_error = ERROR_INVALID_WINDOW_HANDLE;
            return false;
        }
        owner = w->thread;
    }
    thread_queue& q = queue_of(s, owner);
    MSG m;
    m.hwnd = hwnd;
    m.message = msg;
    m.wParam = wparam;
    m.lParam = lparam;
    m.time = tick_count();
    q.posted.push_back(m);
    q.cv.notify_all();
    return true;
}

LRESULT send_message(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    state& s = st();
    std::unique_lock<std::mutex> lock(s.m);
    window_record* w = find(s, hwnd);
    if (!w) {
        last_error = ERROR_INVALID_WINDOW_HANDLE;
        return 0;
    }
    if (w->thread == std::this_thread::get_id()) {
        WNDPROC proc = w->proc;
        lock.unlock();
        return proc(hwnd, msg, wparam, lparam);
    }
    auto item = std::make_shared<sent_item>();
    item->hwnd = hwnd;
    item->msg = msg;
    item->wparam = wparam;
    item->lparam = lparam;
    thread_queue& q = queue_of(s, w->thread);
    q.sent.push_back(item);
    q.cv.notify_all();
    s.sent_done.wait(lock, [&] { return item->done; });
    return item->result;
}

void post_quit_message(int code) {
    state& s = st();
    std::lock_guard<std::mutex> lock(s.m);
    thread_queue& q = queue_of(s, std::this_thread::get_id());
    q.quit = true;
    q.quit_code = code;
    q.cv.notify_all();
}

bool get_message(MSG& msg) {
    state& s = st();
    std::unique_lock<std::mutex> lock(s.m);
    for (;;) {
        int r = take_message(s, lock, msg, true);
        if (r >= 0)
            return r == 1;
        queue_of(s, std::this_thread::get_id()).cv.wait(lock);
    }
}

bool peek_message(MSG& msg, bool remove) {
    state& s = st();
    std::unique_lock<std::mutex> lock(s.m);
    return take_message(s, lock, msg, remove) >= 0;
}

void wait_message(std::uint32_t timeout_ms) {
    state& s = st();
    std::unique_lock<std::mutex> lock(s.m);
    auto id = std::this_thread::get_id();
    thread_queue& q = queue_of(s, id);
    run_sent(s, lock, q);
    auto ready = [&] {
        return q.woken || !q.posted.empty() || !q.sent.empty() || q.quit || invalid_window_of(s, id);
    };
    q.cv.wait_for(lock, std::chrono::milliseconds(timeout_ms), ready);
    q.woken = false;
}

void handle_sent_messages(std::uint32_t timeout_ms) {
    state& s = st();
    std::unique_lock<std::mutex> lock(s.m);
    thread_queue& q = queue_of(s, std::this_thread::get_id());
    if (q.sent.empty())
        q.cv.wait_for(lock, std::chrono::milliseconds(timeout_ms), [&] { return !q.sent.empty(); });
    run_sent(s, lock, q);
}

LRESULT dispatch_message(const MSG& msg) {
    if (!msg.hwnd)
        return 0;
    WNDPROC proc = get_window_proc(msg.hwnd);
    return proc ? proc(msg.hwnd, msg.message, msg.wParam, msg.lParam) : 0;
}

void wake_queue(HWND hwnd) {
    state& s = st();
    std::lock_guard<std::mutex> lock(s.m);
    window_record* w = find(s, hwnd);
    if (!w)
        return;
    thread_queue& q = queue_of(s, w->thread);
    q.woken = true;
    q.cv.notify_all();
}

void invalidate_window(HWND hwnd) {
    with_window(hwnd, false, [](state& s, window_record& w) {
        w.invalid = true;
        notify_owner(s, w);
        return true;
    });
}

void validate_window(HWND hwnd) {
    with_window(hwnd, false, [](state&, window_record& w) {
        w.invalid = false;
        return true;
    });
}

bool is_window_invalid(HWND hwnd) {
    return with_window(hwnd, false, [](state&, window_record& w) { return w.invalid; });
}

void update_window(HWND hwnd) {
    bool paint;
    {
        state& s = st();
        std::lock_guard<std::mutex> lock(s.m);
        window_record* w = find(s, hwnd);
        paint = w && w->invalid && visible_with_ancestors(s, w);
    }
    if (paint)
        send_message(hwnd, WM_PAINT, 0, 0);
}

bool show_window(HWND hwnd, int cmd) {
    if (!hwnd)
        return false;
    state& s = st();
    bool previous;
    {
        std::lock_guard<std::mutex> lock(s.m);
        window_record* w = find(s, hwnd);
        if (!w) {
            last_error = ERROR_INVALID_WINDOW_HANDLE;
            return false;
        }
        previous = w->visible;
        w->visible = cmd != SW_HIDE;
        if (w->visible && !previous) {
            w->invalid = true;
            notify_owner(s, *w);
        }
    }
    bump_screen_generation();
    return previous;
}

bool is_window_visible(HWND hwnd) {
    return with_window(hwnd, false, [](state& s, window_record& w) { return visible_with_ancestors(s, &w); });
}

bool set_foreground_window(HWND hwnd) {
    // A set lowest bit asks for the owned windows too; handles are multiples of 4.
    hwnd = reinterpret_cast<HWND>(reinterpret_cast<std::uintptr_t>(hwnd) & ~std::uintptr_t(3));
    state& s = st();
    {
        std::lock_guard<std::mutex> lock(s.m);
        window_record* w = find(s, hwnd);
        if (!w)
            return false;
        // Raise the top-level window that holds it.
        while (w->parent)
            w = find(s, w->parent);
        auto& tl = s.top_levels;
        tl.erase(std::remove(tl.begin(), tl.end(), w->handle), tl.end());
        tl.push_back(w->handle);
        s.foreground = hwnd;
    }
    bump_screen_generation();
    return true;
}

HWND get_foreground_window() {
    state& s = st();
    std::lock_guard<std::mutex> lock(s.m);
    return s.foreground;
}

HWND set_focus(HWND hwnd) {
    state& s = st();
    HWND old;
    {
        std::lock_guard<std::mutex> lock(s.m);
        if (hwnd && !find(s, hwnd)) {
            last_error = ERROR_INVALID_WINDOW_HANDLE;
            return nullptr;
        }
        old = s.focus;
        if (old == hwnd)
            return old;
        s.focus = hwnd;
    }
    if (old)
        send_message(old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hwnd), 0);
    if (hwnd)
        send_message(hwnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(old), 0);
    return old;
}

HWND get_focus() {
    state& s = st();
    std::lock_guard<std::mutex> lock(s.m);
    return s.focus;
}

bool move_window(HWND hwnd, int x, int y, int width, int height, bool repaint) {
    state& s = st();
    RECT old;
    RECT r{x, y, x + std::max(0, width), y + std::max(0, height)};
    std::shared_ptr<window_surface> surface;
    {
        std::lock_guard<std::mutex> lock(s.m);
        window_record* w = find(s, hwnd);
        if (!w) {
            last_error = ERROR_INVALID_WINDOW_HANDLE;
            return false;
        }
        old = w->rect;
        w->rect = r;
        surface = w->surface;
        if (repaint) {
            w->invalid = true;
            notify_owner(s, *w);
        }
    }
    surface->resize(r.right - r.left, r.bottom - r.top);
    bump_screen_generation();
    if (old.right - old.left != r.right - r.left || old.bottom - old.top != r.bottom - r.top)
        send_message(hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(r.right - r.left, r.bottom - r.top));
    if (old.left != r.left || old.top != r.top)
        send_message(hwnd, WM_MOVE, 0, MAKELPARAM(r.left, r.top));
    return true;
}

RECT get_window_rect(HWND hwnd) {
    return with_window(hwnd, RECT{}, [](state& s, window_record& w) {
        POINT o = screen_origin(s, &w);
        return RECT{o.x, o.y, o.x + (w.rect.right - w.rect.left), o.y + (w.rect.bottom - w.rect.top)};
    });
}

RECT get_client_rect(HWND hwnd) {
    return with_window(hwnd, RECT{}, [](state&, window_record& w) {
        return RECT{0, 0, w.rect.right - w.rect.left, w.rect.bottom - w.rect.top};
    });
}

bool screen_to_client(HWND hwnd, POINT& pt) {
    return with_window(hwnd, false, [&](state& s, window_record& w) {
        POINT o = screen_origin(s, &w);
        pt.x -= o.x;
        pt.y -= o.y;
        return true;
    });
}

bool client_to_screen(HWND hwnd, POINT& pt) {
    return with_window(hwnd, false, [&](state& s, window_record& w) {
        POINT o = screen_origin(s, &w);
        pt.x += o.x;
        pt.y += o.y;
        return true;
    });
}

namespace {
HWND hit(state& s, HWND h, POINT p) {
    window_record* w = find(s, h);
    if (!w || !w->visible || w->destroying || (w->style & WS_DISABLED))
        return nullptr;
    if (p.x < w->rect.left || p.x >= w->rect.right || p.y < w->rect.top || p.y >= w->rect.bottom)
        return nullptr;
    POINT inner{p.x - w->rect.left, p.y - w->rect.top};
    for (auto it = w->children.rbegin(); it != w->children.rend(); ++it) {
        if (HWND c = hit(s, *it, inner))
            return c;
    }
    return h;
}
} // namespace

HWND window_from_point(POINT screen_point) {
    state& s = st();
    std::lock_guard<std::mutex> lock(s.m);
    for (auto it = s.top_levels.rbegin(); it != s.top_levels.rend(); ++it) {
        if (HWND h = hit(s, *it, screen_point))
            return h;
    }
    return nullptr;
}

std::shared_ptr<window_surface> get_window_surface(HWND hwnd) {
    return with_window(hwnd, std::shared_ptr<window_surface>(),
                       [](state&, window_record& w) { return w.surface; });
}

void set_screen_size(int width, int height) {
    state& s = st();
    {
        std::lock_guard<std::mutex> lock(s.m);
        s.screen_width = width;
        s.screen_height = height;
    }
    bump_screen_generation();
}

int get_system_metrics(int index) {
    state& s = st();
    std::lock_guard<std::mutex> lock(s.m);
    switch (index) {
    case SM_CXSCREEN:
        return s.screen_width;
    case SM_CYSCREEN:
        return s.screen_height;
    default:
        return 0;
    }
}

void set_work_area(const RECT& area) {
    state& s = st();
    std::lock_guard<std::mutex> lock(s.m);
    s.work_area = area;
}

RECT get_work_area() {
    state& s = st();
    std::lock_guard<std::mutex> lock(s.m);
    return s.work_area;
}

std::vector<HWND> top_level_windows() {
    state& s = st();
    std::lock_guard<std::mutex> lock(s.m);
    return s.top_levels;
}

void reset_window_system() {
    state& s = st();
    std::lock_guard<std::mutex> lock(s.m);
    s.classes.clear();
    s.windows.clear();
    s.top_levels.clear();
    for (auto& q : s.queues) {
        q.second->posted.clear();
        for (auto& item : q.second->sent)
            item->done = true;
        q.second->sent.clear();
        q.second->quit = false;
    }
    s.focus = nullptr;
    s.foreground = nullptr;
    s.screen_width = 480;
    s.screen_height = 800;
    s.work_area = RECT{0, 0, 480, 800};
    s.sent_done.notify_all();
}

} // namespace platform
