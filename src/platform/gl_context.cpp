#include "platform/gl_context.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>

#include <atomic>
#include <cstring>

namespace platform {

namespace {

std::atomic<bool> refused{false};

// Without a display server the default display tries X11 and fails; Mesa's surfaceless platform needs none.
EGLDisplay open_display() {
    const char* extensions = eglQueryString(EGL_NO_DISPLAY, EGL_EXTENSIONS);
    if (extensions && std::strstr(extensions, "EGL_MESA_platform_surfaceless")) {
        auto get_platform_display =
            reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(eglGetProcAddress("eglGetPlatformDisplayEXT"));
        if (get_platform_display) {
            EGLDisplay d = get_platform_display(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
            if (d != EGL_NO_DISPLAY)
                return d;
        }
    }
    return eglGetDisplay(EGL_DEFAULT_DISPLAY);
}

bool attribute_is(EGLDisplay d, EGLConfig c, EGLint name, EGLint wanted) {
    EGLint v = -1;
    return eglGetConfigAttrib(d, c, name, &v) && v == wanted;
}

} // namespace

struct gl_context::handles {
    EGLDisplay display = EGL_NO_DISPLAY;
    EGLSurface surface = EGL_NO_SURFACE;
    EGLContext context = EGL_NO_CONTEXT;
};

gl_context::gl_context() : h(new handles) {}

gl_context::~gl_context() {
    release();
}

gl_failure gl_context::create(int width, int height) {
    release();
    error = 0;
    if (refused) {
        error = EGL_NOT_INITIALIZED;
        return gl_failure::initialize;
    }
    h->display = open_display();
    EGLint major = 0, minor = 0;
    if (h->display == EGL_NO_DISPLAY || !eglInitialize(h->display, &major, &minor)) {
        error = eglGetError();
        h->display = EGL_NO_DISPLAY;
        return gl_failure::initialize;
    }
    const EGLint wanted[] = {EGL_RED_SIZE,
                             5,
                             EGL_GREEN_SIZE,
                             6,
                             EGL_BLUE_SIZE,
                             5,
                             EGL_ALPHA_SIZE,
                             0,
                             EGL_DEPTH_SIZE,
                             16,
                             EGL_STENCIL_SIZE,
                             EGL_DONT_CARE,
                             EGL_SURFACE_TYPE,
                             EGL_PBUFFER_BIT,
                             EGL_RENDERABLE_TYPE,
                             EGL_OPENGL_ES_BIT,
                             EGL_NONE};
    EGLint count = 0;
    if (!eglChooseConfig(h->display, wanted, nullptr, 0, &count)) {
        error = eglGetError();
        return gl_failure::choose_config;
    }
    if (count <= 0) {
        error = eglGetError();
        return gl_failure::no_config;
    }
    std::unique_ptr<EGLConfig[]> configs(new EGLConfig[static_cast<std::size_t>(count)]);
    if (!eglChooseConfig(h->display, wanted, configs.get(), count, &count)) {
        error = eglGetError();
        return gl_failure::choose_config;
    }
    // Deeper configurations come first; the frame is read back as 5-6-5, so take the exact one.
    EGLConfig config = nullptr;
    for (EGLint i = 0; i < count && !config; ++i) {
        EGLConfig c = configs[static_cast<std::size_t>(i)];
        if (attribute_is(h->display, c, EGL_RED_SIZE, 5) && attribute_is(h->display, c, EGL_GREEN_SIZE, 6) &&
            attribute_is(h->display, c, EGL_BLUE_SIZE, 5) && attribute_is(h->display, c, EGL_ALPHA_SIZE, 0) &&
            attribute_is(h->display, c, EGL_DEPTH_SIZE, 16))
            config = c;
    }
    if (!config) {
        error = EGL_BAD_MATCH;
        return gl_failure::no_config;
    }
    const EGLint size[] = {EGL_WIDTH, width, EGL_HEIGHT, height, EGL_NONE};
    h->surface = eglCreatePbufferSurface(h->display, config, size);
    if (h->surface == EGL_NO_SURFACE) {
        error = eglGetError();
        return gl_failure::create_surface;
    }
    eglBindAPI(EGL_OPENGL_ES_API);
    const EGLint version[] = {EGL_CONTEXT_CLIENT_VERSION, 1, EGL_NONE};
    h->context = eglCreateContext(h->display, config, EGL_NO_CONTEXT, version);
    if (h->context == EGL_NO_CONTEXT) {
        error = eglGetError();
        return gl_failure::create_context;
    }
    if (!eglMakeCurrent(h->display, h->surface, h->surface, h->context)) {
        error = eglGetError();
        return gl_failure::make_current;
    }
    return gl_failure::none;
}

void gl_context::release() {
    if (h->display == EGL_NO_DISPLAY)
        return;
    eglMakeCurrent(h->display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    if (h->context != EGL_NO_CONTEXT)
        eglDestroyContext(h->display, h->context);
    if (h->surface != EGL_NO_SURFACE)
        eglDestroySurface(h->display, h->surface);
    // The display stays initialised for the process: terminating it unloads the driver, whose own
    // allocations then show as leaks, and the next context would load it again.
    eglReleaseThread();
    *h = handles();
}

void set_gl_refused(bool on) {
    refused = on;
}

} // namespace platform
