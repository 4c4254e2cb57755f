#pragma once

#include "platform/surface.h"
#include "platform/types.h"

#include <memory>
#include <string>
#include <vector>

// A small window system: classes with a message procedure, windows with a parent, a rectangle, a
// visibility flag, properties and an RGB565 surface, and one message queue per thread that owns windows.
// Every function may be called from any thread; procedures run on the thread that created the window
// (sent messages from other threads wait until that thread pumps its queue).
namespace platform {

struct window_class {
    UINT style = 0;
    WNDPROC proc = nullptr;
    HINSTANCE instance = nullptr;
    std::wstring name;
    COLORREF background = 0xFFFFFF;
};

DWORD get_last_error();

// Classes are keyed by name; false with ERROR_CLASS_ALREADY_EXISTS when the name is taken.
bool register_class(const window_class& cls);
// False with ERROR_CLASS_DOES_NOT_EXIST or ERROR_CLASS_HAS_WINDOWS.
bool unregister_class(const std::wstring& name, HINSTANCE instance);
bool is_class_registered(const std::wstring& name);

// Sends WM_CREATE (a result of -1 refuses the window), then WM_SIZE and WM_MOVE. CW_USEDEFAULT gives a
// child an empty rectangle at (0, 0) and a top-level window the work area. Null with
// ERROR_CANNOT_FIND_WND_CLASS or ERROR_INVALID_WINDOW_HANDLE (bad parent) on failure.
HWND create_window(DWORD ex_style, const std::wstring& class_name, const std::wstring& title, DWORD style,
                   int x, int y, int width, int height, HWND parent, HINSTANCE instance);
// Sends WM_DESTROY to the window, then destroys its children the same way; false for an unknown handle.
bool destroy_window(HWND hwnd);
bool is_window(HWND hwnd);
HWND get_parent(HWND hwnd);
std::vector<HWND> get_children(HWND hwnd);
std::wstring get_class_name(HWND hwnd);
std::wstring get_window_title(HWND hwnd);
void set_window_title(HWND hwnd, const std::wstring& title);
DWORD get_window_style(HWND hwnd);

// Null class or title match any window; hidden windows are found too, as on the device.
HWND find_window(const wchar_t* class_name, const wchar_t* title);
HWND find_window(const std::wstring& class_name, const std::wstring& title);

// Replaces the window's procedure and returns the previous one (null for an unknown handle).
WNDPROC set_window_proc(HWND hwnd, WNDPROC proc);
WNDPROC get_window_proc(HWND hwnd);
LRESULT call_window_proc(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam);
// Default processing: WM_CLOSE destroys the window, WM_PAINT validates it, WM_SETTEXT and
// WM_GETTEXT(LENGTH) use the title; anything else gives 0.
LRESULT def_window_proc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam);

bool set_prop(HWND hwnd, const std::wstring& name, void* value);
void* get_prop(HWND hwnd, const std::wstring& name);
void* remove_prop(HWND hwnd, const std::wstring& name);

// Queues: posted messages go to the queue of the thread that created the window; a null handle posts
// to the calling thread's own queue.
bool post_message(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam);
LRESULT send_message(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam);
void post_quit_message(int code);
// Blocks until a message arrives; false when it is WM_QUIT.
bool get_message(MSG& msg);
// Does not block. Sent messages from other threads are handled before it returns.
bool peek_message(MSG& msg, bool remove);
// Waits until the calling thread's queue has something or the time is up.
void wait_message(std::uint32_t timeout_ms);
// Answers the messages other threads sent to the calling thread, waiting at most the given time for one;
// posted messages stay queued. For a thread that waits on another which may be sending to it.
void handle_sent_messages(std::uint32_t timeout_ms);
LRESULT dispatch_message(const MSG& msg);
// Wakes a thread blocked in get_message or wait_message on the queue that owns the window.
void wake_queue(HWND hwnd);

// Painting: an invalid visible window gets WM_PAINT when its thread's queue is otherwise empty.
void invalidate_window(HWND hwnd);
void validate_window(HWND hwnd);
bool is_window_invalid(HWND hwnd);
// Sends WM_PAINT at once when the window is invalid.
void update_window(HWND hwnd);

// Shows or hides; returns whether the window was visible before. A null handle does nothing.
bool show_window(HWND hwnd, int cmd);
bool is_window_visible(HWND hwnd);
bool set_foreground_window(HWND hwnd);
HWND get_foreground_window();

// Focus: sends WM_KILLFOCUS to the old window and WM_SETFOCUS to the new one; returns the old one.
HWND set_focus(HWND hwnd);
HWND get_focus();

// x, y are in the parent's client coordinates (screen coordinates for a top-level window). Sends
// WM_SIZE and WM_MOVE when they change, and invalidates when repaint is set.
bool move_window(HWND hwnd, int x, int y, int width, int height, bool repaint);
// Screen coordinates.
RECT get_window_rect(HWND hwnd);
// (0, 0, width, height).
RECT get_client_rect(HWND hwnd);
bool screen_to_client(HWND hwnd, POINT& pt);
bool client_to_screen(HWND hwnd, POINT& pt);
// The visible window deepest in the tree under the screen point, or null. Disabled windows are passed
// over: the point falls to what lies beneath them.
HWND window_from_point(POINT screen_point);

// The window's pixels; null for an unknown handle. The surface follows the window's size.
std::shared_ptr<window_surface> get_window_surface(HWND hwnd);

// Screen: size and work area are set by the host.
void set_screen_size(int width, int height);
int get_system_metrics(int index);
void set_work_area(const RECT& area);
RECT get_work_area();

// Top-level windows in stacking order, bottom first.
std::vector<HWND> top_level_windows();

// Destroys every window and class and forgets every queue (tests and host shut-down).
void reset_window_system();

} // namespace platform
