#include "support/clip_maker.h"

#include <gst/gst.h>

// GLib's library constructor allocates its first quark block, which it leaves behind on purpose once
// GStreamer's quarks outgrow it; only the full stack tells that allocation (made while libraries load)
// from ours.
extern "C" const char* __asan_default_options() {
    return "fast_unwind_on_malloc=0";
}

bool make_clip(const std::string& path, int frames, int rate, const std::string& pattern, int width,
               int height) {
    if (!gst_init_check(nullptr, nullptr, nullptr))
        return false;
    const std::string description =
        "videotestsrc num-buffers=" + std::to_string(frames) + " pattern=" + pattern +
        " ! video/x-raw,width=" + std::to_string(width) + ",height=" + std::to_string(height) +
        ",framerate=" + std::to_string(rate) + "/1 ! theoraenc ! oggmux ! filesink location=\"" + path + "\"";
    GError* err = nullptr;
    GstElement* pipeline = gst_parse_launch(description.c_str(), &err);
    if (err) {
        g_error_free(err);
        if (pipeline)
            gst_object_unref(pipeline);
        return false;
    }
    gst_element_set_state(pipeline, GST_STATE_PLAYING);
    GstBus* bus = gst_element_get_bus(pipeline);
    GstMessage* msg = gst_bus_timed_pop_filtered(
        bus, 60 * GST_SECOND, static_cast<GstMessageType>(GST_MESSAGE_EOS | GST_MESSAGE_ERROR));
    const bool ok = msg && GST_MESSAGE_TYPE(msg) == GST_MESSAGE_EOS;
    if (msg)
        gst_message_unref(msg);
    gst_object_unref(bus);
    gst_element_set_state(pipeline, GST_STATE_NULL);
    gst_object_unref(pipeline);
    return ok;
}
