#include "platform/media_player.h"

#include "platform/text.h"
#include "platform/window_system.h"

#include <gst/app/gstappsink.h>
#include <gst/gst.h>
#include <gst/video/video.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <chrono>
#include <cstring>
#include <mutex>
#include <vector>

namespace platform {

const wchar_t* const video_window_class = L"VIDEO";

namespace {

// playbin's flags: the download mode, and the filters and outputs the panel has no use for (subtitles, a
// volume of its own, deinterlacing, colour balance), each of which would load its plug-in and buffers.
const guint play_flag_text = 1u << 2;
const guint play_flag_soft_volume = 1u << 4;
const guint play_flag_download = 1u << 7;
const guint play_flag_deinterlace = 1u << 9;
const guint play_flag_soft_colorbalance = 1u << 10;
// The memory a web clip may use, read ahead.
const guint64 ring_buffer_bytes = 16u << 20;

LRESULT video_window_proc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    return def_window_proc(hwnd, msg, wparam, lparam);
}

// Only local files and web addresses: other schemes (fd://, appsrc://, device sources) are not clips.
bool to_uri(const std::wstring& name, std::string& uri, std::string& error) {
    const std::string text = to_utf8(name);
    if (text.empty()) {
        error = "No clip";
        return false;
    }
    const auto colon = text.find("://");
    if (colon != std::string::npos) {
        std::string scheme = text.substr(0, colon);
        std::transform(scheme.begin(), scheme.end(), scheme.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        if (scheme != "file" && scheme != "http" && scheme != "https") {
            error = "Unsupported source: " + scheme;
            return false;
        }
        if (!gst_uri_is_valid(text.c_str())) {
            error = "Invalid address";
            return false;
        }
        uri = text;
        return true;
    }
    GError* err = nullptr;
    gchar* converted = gst_filename_to_uri(text.c_str(), &err);
    if (!converted) {
        error = err ? err->message : "Invalid file name";
        if (err)
            g_error_free(err);
        return false;
    }
    uri = converted;
    g_free(converted);
    return true;
}

std::string message_text(GstMessage* msg) {
    GError* err = nullptr;
    gchar* debug = nullptr;
    gst_message_parse_error(msg, &err, &debug);
    std::string text = err ? err->message : "Playback error";
    if (err)
        g_error_free(err);
    g_free(debug);
    return text;
}

// Nearest-neighbour scaling that keeps the picture's shape, black around it.
void paint_frame(window_surface& surface, const std::vector<std::uint16_t>& frame, int fw, int fh) {
    const int sw = surface.width(), sh = surface.height();
    std::uint16_t* px = surface.pixels();
    std::fill(px, px + static_cast<std::size_t>(sw) * sh, 0);
    if (fw <= 0 || fh <= 0 || sw <= 0 || sh <= 0)
        return;
    int w = sw, h = sh;
    if (static_cast<long long>(fw) * sh > static_cast<long long>(fh) * sw)
        h = std::max(1, static_cast<int>(static_cast<long long>(fh) * sw / fw));
    else
        w = std::max(1, static_cast<int>(static_cast<long long>(fw) * sh / fh));
    const int x0 = (sw - w) / 2, y0 = (sh - h) / 2;
    for (int y = 0; y < h; ++y) {
        const std::uint16_t* src = frame.data() + static_cast<std::size_t>(y * fh / h) * fw;
        std::uint16_t* dst = px + static_cast<std::size_t>(y0 + y) * sw + x0;
        for (int x = 0; x < w; ++x)
            dst[x] = src[x * fw / w];
    }
}

// A plain http clip is read without the system's certificate authorities, which the web source's session
// would otherwise parse into memory (about 4 MB) as it opens: an authority file that holds none leaves the
// session without a store. As with the platform's own HTTP, an http clip that moves to https then fails.
const char* const no_authorities = "/dev/null";

void without_authorities(GstElement*, GstElement* source, gpointer) {
    if (g_object_class_find_property(G_OBJECT_GET_CLASS(source), "ssl-ca-file"))
        g_object_set(source, "ssl-ca-file", no_authorities, nullptr);
}

// The session warns that the empty file holds no authority; that is the point, so only that goes unsaid.
void soup_log(const gchar* domain, GLogLevelFlags level, const gchar* message, gpointer) {
    if (message && std::strstr(message, no_authorities))
        return;
    g_log_default_handler(domain, level, message, nullptr);
}

} // namespace

struct media_player::impl {
    GstElement* pipeline = nullptr;
    bool rendered = false;
    // Rendered or stopped and not started since: the graph is paused on its first frame, but for the
    // caller the clip is stopped.
    bool at_rest = true;
    // What the caller last asked for; the graph gets there in the background.
    GstState wanted = GST_STATE_PAUSED;
    // The first frame is awaited only while a start is asked for.
    std::chrono::milliseconds first_frame_limit{0};
    std::chrono::steady_clock::time_point first_frame_deadline;
    std::string error;
    HWND window = nullptr;
    mutable std::int64_t known_duration = 0;

    // Shared with the streaming threads.
    std::mutex frame_mutex;
    HWND target = nullptr;
    std::vector<std::uint16_t> last;
    int last_width = 0;
    int last_height = 0;
    std::atomic<std::uint64_t> frames{0};

    void show_last_locked() {
        if (!target)
            return;
        auto surface = get_window_surface(target);
        if (!surface)
            return;
        {
            std::lock_guard<std::mutex> lock(surface->mutex());
            paint_frame(*surface, last, last_width, last_height);
        }
        surface->touch();
    }

    void take(GstSample* sample) {
        GstVideoInfo info;
        GstBuffer* buffer = gst_sample_get_buffer(sample);
        GstCaps* caps = gst_sample_get_caps(sample);
        if (!buffer || !caps || !gst_video_info_from_caps(&info, caps) ||
            GST_VIDEO_INFO_FORMAT(&info) != GST_VIDEO_FORMAT_RGB16)
            return;
        const int w = GST_VIDEO_INFO_WIDTH(&info), h = GST_VIDEO_INFO_HEIGHT(&info);
        const int stride = GST_VIDEO_INFO_PLANE_STRIDE(&info, 0);
        const std::size_t offset = GST_VIDEO_INFO_PLANE_OFFSET(&info, 0);
        GstMapInfo map;
        if (w <= 0 || h <= 0 || !gst_buffer_map(buffer, &map, GST_MAP_READ))
            return;
        if (offset + static_cast<std::size_t>(stride) * (h - 1) + static_cast<std::size_t>(w) * 2 <=
            map.size) {
            std::vector<std::uint16_t> frame(static_cast<std::size_t>(w) * h);
            for (int y = 0; y < h; ++y)
                std::memcpy(frame.data() + static_cast<std::size_t>(y) * w, map.data + offset + y * stride,
                            static_cast<std::size_t>(w) * 2);
            std::lock_guard<std::mutex> lock(frame_mutex);
            last.swap(frame);
            last_width = w;
            last_height = h;
            show_last_locked();
            ++frames;
        }
        gst_buffer_unmap(buffer, &map);
    }

    static GstFlowReturn on_sample(GstAppSink* sink, gpointer self) {
        if (GstSample* sample = gst_app_sink_pull_sample(sink)) {
            static_cast<impl*>(self)->take(sample);
            gst_sample_unref(sample);
        }
        return GST_FLOW_OK;
    }

    static GstFlowReturn on_preroll(GstAppSink* sink, gpointer self) {
        if (GstSample* sample = gst_app_sink_pull_preroll(sink)) {
            static_cast<impl*>(self)->take(sample);
            gst_sample_unref(sample);
        }
        return GST_FLOW_OK;
    }

    bool change_state(GstState next) {
        if (gst_element_set_state(pipeline, next) == GST_STATE_CHANGE_FAILURE)
            return false;
        if (wanted == GST_STATE_READY && next != GST_STATE_READY)
            first_frame_deadline = std::chrono::steady_clock::now() + first_frame_limit;
        wanted = next;
        return true;
    }

    bool first_frame_late() const {
        return frames.load() == 0 && wanted != GST_STATE_READY &&
               std::chrono::steady_clock::now() >= first_frame_deadline;
    }

    // A change asked for while another one is still completing can be dropped by the graph, which then
    // settles in the earlier state; asking again puts it right.
    void repeat_dropped_change() {
        GstState current = GST_STATE_NULL, pending = GST_STATE_VOID_PENDING;
        const GstStateChangeReturn r = gst_element_get_state(pipeline, &current, &pending, 0);
        if (r == GST_STATE_CHANGE_SUCCESS && pending == GST_STATE_VOID_PENDING && current != wanted)
            gst_element_set_state(pipeline, wanted);
    }

    // Before the first frame an error means the clip cannot be played at all: the graph is parked and the
    // player goes inert.
    void give_up(const std::string& why) {
        error = why;
        rendered = false;
        at_rest = true;
        wanted = GST_STATE_READY;
        gst_element_set_state(pipeline, GST_STATE_READY);
    }

    void release_pipeline() {
        if (!pipeline)
            return;
        // Joins the streaming threads, so no frame arrives afterwards.
        gst_element_set_state(pipeline, GST_STATE_NULL);
        gst_object_unref(pipeline);
        pipeline = nullptr;
    }
};

namespace {

// The first call starts GStreamer (its plug-in registry); later calls only read the outcome.
bool start_media_framework(std::string& error) {
    static std::once_flag once;
    static bool ready = false;
    static std::string init_error;
    std::call_once(once, [] {
        GError* err = nullptr;
        ready = gst_init_check(nullptr, nullptr, &err) != FALSE;
        g_log_set_handler("libsoup", G_LOG_LEVEL_WARNING, &soup_log, nullptr);
        if (!ready)
            init_error = err ? err->message : "GStreamer could not start";
        if (err)
            g_error_free(err);
    });
    if (!ready)
        error = init_error;
    return ready;
}

} // namespace

media_player::media_player() : p(new impl) {}

media_player::~media_player() {
    p->release_pipeline();
    {
        std::lock_guard<std::mutex> lock(p->frame_mutex);
        p->target = nullptr;
    }
    if (p->window)
        destroy_window(p->window);
}

bool media_player::render(const std::wstring& file_or_url, const options& opts) {
    if (p->pipeline || p->rendered) {
        p->error = "Already rendered";
        return false;
    }
    std::string uri;
    if (!start_media_framework(p->error) || !to_uri(file_or_url, uri, p->error))
        return false;
    GstElement* playbin = gst_element_factory_make("playbin", nullptr);
    GstElement* sink = gst_element_factory_make("appsink", nullptr);
    GstElement* audio = gst_element_factory_make("fakesink", nullptr);
    if (!playbin || !sink || !audio) {
        p->error = "Media plug-ins are missing";
        for (GstElement* e : {playbin, sink, audio})
            if (e)
                gst_object_unref(gst_object_ref_sink(e));
        return false;
    }
    GstCaps* caps = gst_caps_from_string("video/x-raw,format=RGB16");
    g_object_set(sink, "caps", caps, "sync", opts.sync ? TRUE : FALSE, "max-buffers", 2u, "emit-signals",
                 FALSE, nullptr);
    gst_caps_unref(caps);
    GstAppSinkCallbacks callbacks{};
    callbacks.new_preroll = &impl::on_preroll;
    callbacks.new_sample = &impl::on_sample;
    gst_app_sink_set_callbacks(GST_APP_SINK(sink), &callbacks, p.get(), nullptr);
    // No sound output here: a sound server may be missing, and the panel has no volume of its own.
    g_object_set(audio, "sync", opts.sync ? TRUE : FALSE, nullptr);
    g_object_set(playbin, "uri", uri.c_str(), "video-sink", sink, "audio-sink", audio, nullptr);
    // A web clip is read ahead into memory, where the demuxer reads it as it reads a file: streamed, the
    // Ogg demuxer seeks for the clip's length while the decoder is still setting up, and now and then
    // that fails the clip.
    guint flags = 0;
    g_object_get(playbin, "flags", &flags, nullptr);
    flags &= ~(play_flag_text | play_flag_soft_volume | play_flag_deinterlace | play_flag_soft_colorbalance);
    g_object_set(playbin, "flags", flags | play_flag_download, "ring-buffer-max-size", ring_buffer_bytes,
                 nullptr);
    if (g_ascii_strncasecmp(uri.c_str(), "http:", 5) == 0)
        g_signal_connect(playbin, "source-setup", G_CALLBACK(&without_authorities), nullptr);
    p->pipeline = playbin;
    // Returns at once: the first frame is decoded on the framework's threads.
    if (gst_element_set_state(playbin, GST_STATE_PAUSED) == GST_STATE_CHANGE_FAILURE) {
        p->error = "The clip cannot be opened";
        GstBus* bus = gst_element_get_bus(playbin);
        if (GstMessage* msg = gst_bus_pop_filtered(bus, GST_MESSAGE_ERROR)) {
            p->error = message_text(msg);
            gst_message_unref(msg);
        }
        gst_object_unref(bus);
        p->release_pipeline();
        return false;
    }
    p->wanted = GST_STATE_PAUSED;
    p->first_frame_limit = std::chrono::milliseconds(opts.preroll_timeout_ms);
    p->first_frame_deadline = std::chrono::steady_clock::now() + p->first_frame_limit;
    p->rendered = true;
    return true;
}

bool media_player::is_rendered() const {
    return p->rendered;
}

const std::string& media_player::error() const {
    return p->error;
}

bool media_player::attach_window(HWND owner, DWORD style) {
    if (p->window || !owner || !is_window(owner))
        return false;
    if (!is_class_registered(video_window_class)) {
        window_class cls;
        cls.proc = video_window_proc;
        cls.name = video_window_class;
        cls.background = 0;
        register_class(cls);
    }
    // Disabled, so the pen over the picture reaches the owner: this window's queue belongs to the calling
    // thread, which need not pump one.
    HWND hwnd = create_window(0, video_window_class, L"", (style & ~WS_VISIBLE) | WS_DISABLED, 0, 0, 0, 0,
                              owner, nullptr);
    if (!hwnd)
        return false;
    p->window = hwnd;
    std::lock_guard<std::mutex> lock(p->frame_mutex);
    p->target = hwnd;
    p->show_last_locked();
    return true;
}

HWND media_player::window() const {
    return p->window;
}

bool media_player::place_window(const RECT& r) {
    if (!p->window)
        return false;
    const bool moved = move_window(p->window, r.left, r.top, std::max(0, r.right - r.left),
                                   std::max(0, r.bottom - r.top), true);
    std::lock_guard<std::mutex> lock(p->frame_mutex);
    p->show_last_locked();
    return moved;
}

bool media_player::show_window(bool visible) {
    if (!p->window)
        return false;
    platform::show_window(p->window, visible ? SW_SHOW : SW_HIDE);
    return true;
}

bool media_player::is_window_visible() const {
    return p->window && platform::is_window_visible(p->window);
}

bool media_player::run() {
    if (!p->rendered || !p->change_state(GST_STATE_PLAYING))
        return false;
    p->at_rest = false;
    return true;
}

bool media_player::pause() {
    if (!p->rendered || !p->change_state(GST_STATE_PAUSED))
        return false;
    p->at_rest = false;
    return true;
}

bool media_player::stop() {
    // Ready drops the stream, so playing again starts from the beginning.
    if (!p->rendered || !p->change_state(GST_STATE_READY))
        return false;
    p->at_rest = true;
    return true;
}

media_player::state_code media_player::state() const {
    if (!p->rendered || p->at_rest)
        return stopped;
    return p->wanted == GST_STATE_PLAYING ? running : paused;
}

bool media_player::is_settled() const {
    if (!p->pipeline)
        return true;
    GstState current = GST_STATE_NULL, pending = GST_STATE_VOID_PENDING;
    return gst_element_get_state(p->pipeline, &current, &pending, 0) == GST_STATE_CHANGE_SUCCESS &&
           pending == GST_STATE_VOID_PENDING && current == p->wanted;
}

std::int64_t media_player::duration() const {
    // Streams may learn their length only after they start.
    if (p->rendered && p->known_duration <= 0) {
        gint64 ns = 0;
        if (gst_element_query_duration(p->pipeline, GST_FORMAT_TIME, &ns) && ns > 0)
            p->known_duration = ns / 100;
    }
    return p->known_duration;
}

std::int64_t media_player::position() const {
    gint64 ns = 0;
    if (!p->rendered || !gst_element_query_position(p->pipeline, GST_FORMAT_TIME, &ns) || ns < 0)
        return 0;
    return ns / 100;
}

bool media_player::next_event(int& code) {
    if (!p->rendered)
        return false;
    GstBus* bus = gst_element_get_bus(p->pipeline);
    bool found = false;
    // Everything else on the bus is dropped here, so it does not pile up while the clip plays.
    while (GstMessage* msg = gst_bus_pop(bus)) {
        if (GST_MESSAGE_TYPE(msg) == GST_MESSAGE_EOS) {
            code = event_complete;
            found = true;
        } else if (GST_MESSAGE_TYPE(msg) == GST_MESSAGE_ERROR) {
            const std::string text = message_text(msg);
            if (p->frames.load() == 0)
                p->give_up(text);
            else
                p->error = text;
            code = event_error_abort;
            found = true;
        }
        gst_message_unref(msg);
        if (found)
            break;
    }
    gst_object_unref(bus);
    if (!found && p->first_frame_late()) {
        p->give_up("The clip did not start in time");
        code = event_error_abort;
        found = true;
    }
    if (p->rendered)
        p->repeat_dropped_change();
    return found;
}

std::uint64_t media_player::frames_shown() const {
    return p->frames.load();
}

} // namespace platform
