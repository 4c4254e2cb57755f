// Drawing speed of the back-end: the alpha blend against pixman compositing the same pixels, a wrapped
// paragraph, and presenting a full frame.
#include "bench_window.h"
#include "platform/window_system.h"
#include "ui/gdi_graphics.h"
#include "ui/static_fonts.h"

#include <benchmark/benchmark.h>
#include <cmath>
#include <map>
#include <pixman.h>
#include <string>

namespace {

using namespace platform;

constexpr int img_w = 480;
constexpr int img_h = 748;

// A card as the panel draws them: opaque inside, rounded transparent corners, a soft partly transparent rim.
struct card {
    std::vector<std::uint16_t> rgb565;
    std::vector<std::uint8_t> alpha;
    std::vector<std::uint32_t> argb; // the same pixels, premultiplied, for pixman

    card() : rgb565(img_w * img_h), alpha(img_w * img_h), argb(img_w * img_h) {
        const double inset = 10, radius = 18;
        for (int y = 0; y < img_h; ++y) {
            for (int x = 0; x < img_w; ++x) {
                double dx = std::max({inset + radius - x, x - (img_w - 1 - inset - radius), 0.0});
                double dy = std::max({inset + radius - y, y - (img_h - 1 - inset - radius), 0.0});
                double outside = std::hypot(dx, dy) - radius; // < 0 inside the card
                double a = outside <= 0 ? 1.0 : std::max(0.0, 1.0 - outside / inset) * 0.45;
                auto av = static_cast<std::uint8_t>(std::lround(a * 255));
                int r = 40 + (x * 200) / img_w, g = 60 + (y * 180) / img_h, b = 180;
                std::size_t i = static_cast<std::size_t>(y) * img_w + x;
                rgb565[i] = static_cast<std::uint16_t>(((r & 0xF8) << 8) | ((g & 0xFC) << 3) | (b >> 3));
                alpha[i] = av;
                argb[i] = (std::uint32_t(av) << 24) | (std::uint32_t(r * av / 255) << 16) |
                          (std::uint32_t(g * av / 255) << 8) | std::uint32_t(b * av / 255);
            }
        }
    }
};

const card& the_card() {
    static card c;
    return c;
}

ui_impl::gdi_graphics& graphics() {
    static bench_window w(800);
    static ui_impl::gdi_graphics g(w);
    return g;
}

void blend(benchmark::State& state) {
    auto alpha = static_cast<unsigned char>(state.range(0));
    const card& c = the_card();
    cl::ui::image_ptr img(new ui_impl::gdi_image(img_w, img_h, c.rgb565, c.alpha));
    auto& g = graphics();
    for (auto _ : state) {
        g.draw_image_alpha(img, 0, 0, alpha);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * img_w * img_h);
}

void pixman_peer(benchmark::State& state) {
    const card& c = the_card();
    std::vector<std::uint16_t> dst(800 * 800, 0x8410);
    pixman_image_t* src = pixman_image_create_bits(PIXMAN_a8r8g8b8, img_w, img_h,
                                                   const_cast<std::uint32_t*>(c.argb.data()), img_w * 4);
    pixman_image_t* target =
        pixman_image_create_bits(PIXMAN_r5g6b5, 800, 800, reinterpret_cast<std::uint32_t*>(dst.data()), 1600);
    pixman_image_t* mask = nullptr;
    if (state.range(0) != 255) {
        pixman_color_t m{0, 0, 0, static_cast<std::uint16_t>(state.range(0) * 257)};
        mask = pixman_image_create_solid_fill(&m);
    }
    for (auto _ : state) {
        pixman_image_composite32(PIXMAN_OP_OVER, src, mask, target, 0, 0, 0, 0, 0, 0, img_w, img_h);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * img_w * img_h);
    if (mask)
        pixman_image_unref(mask);
    pixman_image_unref(target);
    pixman_image_unref(src);
}

void wrapped_paragraph(benchmark::State& state) {
    auto& g = graphics();
    const std::wstring text = L"Heavy rain is expected across the coast tonight, with gusts reaching ninety "
                              L"kilometres an hour by morning.";
    const platform::RECT box{20, 100, 460, 200};
    state.counters["lines"] = g.measure_text(text, cl::ui::fonts::tahoma_26, 440).cy /
                              static_cast<double>(g.measure_text(L"", cl::ui::fonts::tahoma_26, 440).cy);
    for (auto _ : state)
        g.draw_text(text, box, cl::ui::fonts::tahoma_26, 0x000000, cl::ui::align_left);
}

void present_full_frame(benchmark::State& state) {
    auto& g = graphics();
    for (auto _ : state) {
        g.invalidate(platform::RECT{0, 0, img_w, img_h});
        g.end_frame(true);
    }
}

// Collects the rates so the ratio of each blend to its peer can be printed after the table.
class ratio_reporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& r : runs) {
            auto it = r.counters.find("items_per_second");
            if (it != r.counters.end())
                rates[r.benchmark_name()] = it->second;
        }
    }
    std::map<std::string, double> rates;
};

} // namespace

BENCHMARK(blend)->Arg(255)->Arg(128)->Unit(benchmark::kMicrosecond);
BENCHMARK(pixman_peer)->Arg(255)->Arg(128)->Unit(benchmark::kMicrosecond);
BENCHMARK(wrapped_paragraph)->Unit(benchmark::kMicrosecond);
BENCHMARK(present_full_frame)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    ratio_reporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    for (const char* alpha : {"255", "128"}) {
        auto ours = reporter.rates.find(std::string("blend/") + alpha);
        auto peer = reporter.rates.find(std::string("pixman_peer/") + alpha);
        if (ours != reporter.rates.end() && peer != reporter.rates.end())
            std::printf("alpha %s: blend %.0f Mpix/s, pixman %.0f Mpix/s, ratio %.2f\n", alpha,
                        ours->second / 1e6, peer->second / 1e6, ours->second / peer->second);
    }
    benchmark::Shutdown();
    return 0;
}
