// One frame of the world view's globe against the raw Mesa sphere in the same run: the same mesh (20 stacks,
// 20 slices), the same 512 x 256 texture from the install folder with the same filtering, the same 5-6-5
// off-screen surface, drawn at twice the disc's side and read back as the mean of each 2 x 2 pixels, written
// directly with GLES 1 and EGL. Also the first frame of a first visit of the world view
// (a new GL context, the textures read) and of a second one (the renderer kept).
#include "bench_panel.h"
#include "content/i_page_content.h"
#include "pages/world/globe_content.h"

#include "median_reporter.h"
#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GLES/gl.h>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <vector>

namespace {

constexpr double pi = 3.14159265358979323846;

bench_panel& the_panel() {
    static bench_panel p;
    return p;
}

void open_world_view(bench_panel& p) {
    p.control->current_page().load(L"weather_item", {L"world_view", L"", L""}, {});
    p.frame(true);
}

zor::globe_content* shown_globe(bench_panel& p) {
    return dynamic_cast<zor::globe_content*>(p.control->current_page().contents().current_content());
}

double ms_since(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// The first visit of the process: a new GL context and the earth read from disk. Runs once.
void first_visit_first_frame(benchmark::State& state) {
    bench_panel& p = the_panel();
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        open_world_view(p);
        state.SetIterationTime(ms_since(start) / 1000);
    }
    if (!shown_globe(p))
        state.SkipWithError("the world view did not open");
}

// Back to the world view after a visit: the page is built anew, the renderer kept.
void second_visit_first_frame(benchmark::State& state) {
    bench_panel& p = the_panel();
    for (auto _ : state) {
        state.PauseTiming();
        p.control->current_page().load(L"home", {L"", L"", L""}, {});
        p.frame(true);
        state.ResumeTiming();
        open_world_view(p);
    }
}

// A frame that draws the globe: the content's background, the sphere rendered and read back into the back
// buffer, the shading and the arrows over it, presented.
void panel_globe_frame(benchmark::State& state) {
    bench_panel& p = the_panel();
    if (!shown_globe(p))
        open_world_view(p);
    zor::globe_content* globe = shown_globe(p);
    if (!globe) {
        state.SkipWithError("the world view did not open");
        return;
    }
    for (auto _ : state) {
        p.g->begin_frame();
        globe->draw(*p.g, true);
        p.g->end_frame(true);
    }
    const platform::RECT disc = globe->globe_rect();
    state.counters["side"] = static_cast<double>(disc.right - disc.left);
}

// The raw sphere: its own EGL context, made current for the benchmark and the panel's put back after.
class raw_sphere {
public:
    explicit raw_sphere(int side) : side(side) {
        saved_display = eglGetCurrentDisplay();
        saved_draw = eglGetCurrentSurface(EGL_DRAW);
        saved_read = eglGetCurrentSurface(EGL_READ);
        saved_context = eglGetCurrentContext();
        auto get_platform_display =
            reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(eglGetProcAddress("eglGetPlatformDisplayEXT"));
        display = get_platform_display(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
        EGLint major = 0, minor = 0;
        if (!eglInitialize(display, &major, &minor))
            return;
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
                                 EGL_SURFACE_TYPE,
                                 EGL_PBUFFER_BIT,
                                 EGL_RENDERABLE_TYPE,
                                 EGL_OPENGL_ES_BIT,
                                 EGL_NONE};
        EGLint count = 0;
        eglChooseConfig(display, wanted, nullptr, 0, &count);
        std::vector<EGLConfig> configs(static_cast<std::size_t>(count));
        eglChooseConfig(display, wanted, configs.data(), count, &count);
        EGLConfig config = nullptr;
        for (EGLConfig c : configs) {
            EGLint r = 0, g = 0, b = 0, a = -1, d = 0;
            eglGetConfigAttrib(display, c, EGL_RED_SIZE, &r);
            eglGetConfigAttrib(display, c, EGL_GREEN_SIZE, &g);
            eglGetConfigAttrib(display, c, EGL_BLUE_SIZE, &b);
            eglGetConfigAttrib(display, c, EGL_ALPHA_SIZE, &a);
            eglGetConfigAttrib(display, c, EGL_DEPTH_SIZE, &d);
            if (r == 5 && g == 6 && b == 5 && a == 0 && d == 16) {
                config = c;
                break;
            }
        }
        if (!config)
            return;
        const EGLint size[] = {EGL_WIDTH, 960, EGL_HEIGHT, 960, EGL_NONE};
        surface = eglCreatePbufferSurface(display, config, size);
        eglBindAPI(EGL_OPENGL_ES_API);
        const EGLint version[] = {EGL_CONTEXT_CLIENT_VERSION, 1, EGL_NONE};
        context = eglCreateContext(display, config, EGL_NO_CONTEXT, version);
        ready = surface != EGL_NO_SURFACE && context != EGL_NO_CONTEXT &&
                eglMakeCurrent(display, surface, surface, context);
        if (ready)
            set_up();
    }
    ~raw_sphere() {
        if (display == EGL_NO_DISPLAY)
            return;
        eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
        if (context != EGL_NO_CONTEXT)
            eglDestroyContext(display, context);
        if (surface != EGL_NO_SURFACE)
            eglDestroySurface(display, surface);
        if (saved_context != EGL_NO_CONTEXT)
            eglMakeCurrent(saved_display, saved_draw, saved_read, saved_context);
    }
    raw_sphere(const raw_sphere&) = delete;
    raw_sphere& operator=(const raw_sphere&) = delete;

    bool ready = false;

    void frame() {
        glClearColor(0.8392f, 0.8274f, 0.8392f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glRotatef(-20, 1, 0, 0);
        glRotatef(180 - 30, 0, 1, 0);
        glEnableClientState(GL_VERTEX_ARRAY);
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glVertexPointer(3, GL_FLOAT, 0, vertices.data());
        glTexCoordPointer(2, GL_FIXED, 0, tex_coords.data());
        glEnable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, texture);
        glDrawElements(GL_TRIANGLE_STRIP, static_cast<GLsizei>(indices.size()), GL_UNSIGNED_SHORT,
                       indices.data());
        glDisable(GL_TEXTURE_2D);
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
        glDisableClientState(GL_VERTEX_ARRAY);
        glPixelStorei(GL_PACK_ALIGNMENT, 2);
        glReadPixels(0, 0, 2 * side, 2 * side, GL_RGB, GL_UNSIGNED_SHORT_5_6_5, pixels.data());
        for (int y = 0; y < side; ++y)
            for (int x = 0; x < side; ++x) {
                const std::uint16_t* p = &pixels[static_cast<std::size_t>(2 * y) * 2 * side + 2 * x];
                const std::uint16_t* q = p + 2 * side;
                const unsigned r = (p[0] >> 11) + (p[1] >> 11) + (q[0] >> 11) + (q[1] >> 11);
                const unsigned g =
                    ((p[0] >> 5) & 63) + ((p[1] >> 5) & 63) + ((q[0] >> 5) & 63) + ((q[1] >> 5) & 63);
                const unsigned b = (p[0] & 31) + (p[1] & 31) + (q[0] & 31) + (q[1] & 31);
                disc[static_cast<std::size_t>(y) * side + x] =
                    static_cast<std::uint16_t>(((r + 2) / 4) << 11 | ((g + 2) / 4) << 5 | (b + 2) / 4);
            }
        benchmark::DoNotOptimize(disc.data());
    }

private:
    void set_up() {
        constexpr int stacks = 20, slices = 20, tw = 512, th = 256;
        glShadeModel(GL_FLAT);
        glEnable(GL_DEPTH_TEST);
        glEnable(GL_CULL_FACE);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        const float top = static_cast<float>(0.1 * std::tan(pi / 8));
        glFrustumf(-top, top, -top, top, 0.1f, 100.0f);
        glTranslatef(0, 0, -2.85f);
        glViewport(0, 0, 2 * side, 2 * side);
        // The two halves of the earth, RGBA rows of 256 texels, as the panel reads them.
        std::vector<unsigned char> rgb(static_cast<std::size_t>(tw) * th * 3);
        const char* halves[] = {ZOR_PANEL_DIR "/rgbaEarthA.raw", ZOR_PANEL_DIR "/rgbaEarthB.raw"};
        for (int half = 0; half < 2; ++half) {
            std::ifstream in(halves[half], std::ios::binary);
            std::vector<unsigned char> row(tw / 2 * 4);
            for (int y = 0; y < th && in.read(reinterpret_cast<char*>(row.data()), row.size()); ++y)
                for (int x = 0; x < tw / 2; ++x)
                    std::memcpy(&rgb[(static_cast<std::size_t>(y) * tw + half * tw / 2 + x) * 3], &row[x * 4],
                                3);
        }
        glGenTextures(1, &texture);
        glBindTexture(GL_TEXTURE_2D, texture);
        glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, tw, th, 0, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
        for (int i = 0; i <= stacks; ++i) {
            const double theta = i * pi / stacks;
            for (int j = 0; j <= slices; ++j) {
                const double phi = j * 2 * pi / slices;
                vertices.push_back(static_cast<float>(std::sin(theta) * std::sin(phi)));
                vertices.push_back(static_cast<float>(std::cos(theta)));
                vertices.push_back(static_cast<float>(std::sin(theta) * std::cos(phi)));
                tex_coords.push_back(static_cast<GLfixed>(65536.0 * j / slices));
                tex_coords.push_back(static_cast<GLfixed>(65536.0 * i / stacks));
            }
        }
        for (int i = 0, k = 0; i < stacks; ++i)
            for (int j = 0; j <= slices; ++j, ++k) {
                indices.push_back(static_cast<GLushort>(k));
                indices.push_back(static_cast<GLushort>(k + slices + 1));
            }
        pixels.assign(static_cast<std::size_t>(4) * side * side, 0);
        disc.assign(static_cast<std::size_t>(side) * side, 0);
    }

    int side;
    EGLDisplay display = EGL_NO_DISPLAY, saved_display = EGL_NO_DISPLAY;
    EGLSurface surface = EGL_NO_SURFACE, saved_draw = EGL_NO_SURFACE, saved_read = EGL_NO_SURFACE;
    EGLContext context = EGL_NO_CONTEXT, saved_context = EGL_NO_CONTEXT;
    GLuint texture = 0;
    std::vector<float> vertices;
    std::vector<GLfixed> tex_coords;
    std::vector<GLushort> indices;
    std::vector<std::uint16_t> pixels, disc;
};

void raw_sphere_frame(benchmark::State& state) {
    bench_panel& p = the_panel();
    if (!shown_globe(p))
        open_world_view(p);
    const platform::RECT disc =
        shown_globe(p) ? shown_globe(p)->globe_rect() : platform::RECT{0, 0, 400, 400};
    raw_sphere sphere(disc.right - disc.left);
    if (!sphere.ready) {
        state.SkipWithError("no GLES 1 context");
        return;
    }
    for (auto _ : state)
        sphere.frame();
    state.counters["side"] = static_cast<double>(disc.right - disc.left);
}

} // namespace

BENCHMARK(first_visit_first_frame)
    ->Iterations(1)
    ->Repetitions(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(second_visit_first_frame)->Repetitions(5)->Unit(benchmark::kMillisecond);
BENCHMARK(panel_globe_frame)->Repetitions(9)->Unit(benchmark::kMillisecond);
BENCHMARK(raw_sphere_frame)->Repetitions(9)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    median_reporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double panel = reporter.median("panel_globe_frame"), raw = reporter.median("raw_sphere_frame");
    const double first = reporter.median("first_visit_first_frame"),
                 second = reporter.median("second_visit_first_frame");
    if (panel > 0 && raw > 0) {
        std::printf("globe frame / raw sphere, medians: %.3f ms / %.3f ms = %.2f (goal: at most 1.2)\n",
                    panel, raw, panel / raw);
        std::printf("first frame of the world view: first visit %.1f ms, second visit %.1f ms\n\n", first,
                    second);
        std::printf(
            "RESULT\tglobe frame against the raw GLES 1 sphere\t%.2f ms / %.2f ms = %.2f\t<= 1.2\t%.2f\n",
            panel, raw, panel / raw, panel / raw / 1.2);
        std::printf(
            "RESULT\tworld view, first frame of the first visit (GL context, textures)\t%.1f ms\t-\t-\n",
            first);
        std::printf("RESULT\tworld view, first frame of a second visit\t%.1f ms\t-\t-\n", second);
    }
    benchmark::Shutdown();
    return 0;
}
