// How cost grows with the work: a headlines list of 10, 100 and 1000 rows (rebuilding it on a refresh, a
// scrolling frame), an article of 2, 20 and 200 paragraphs (layout, a scrolling frame), a zone map's labels
// for 10, 100 and 1000 cities, and parsing a headlines document of 10 kB, 100 kB and 1 MB. Each family is
// printed as a table with the growth from the smallest to the largest work beside the work's own growth.
#include "bench_window.h"
#include "chrome/article_view2.h"
#include "model/config.h"
#include "model/model.h"
#include "model/news/category.h"
#include "model/news/headline.h"
#include "model/news/loaders.h"
#include "model/news/manager.h"
#include "net/loading_manager.h"
#include "pages/maps/label_layout.h"
#include "pages/news/headlines_content.h"
#include "platform/clock.h"
#include "platform/text.h"
#include "support/config_file.h"
#include "support/picture_maker.h"
#include "support/temp_folder.h"
#include "support/test_http_server.h"
#include "ui/async_picture.h"
#include "ui/graphics.h"
#include "ui/resources.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <map>
#include <random>
#include <thread>

namespace {

using platform::RECT;

const RECT content_rect{0, 106, 480, 658};

std::string headlines_document(int rows) {
    std::string d = "<newsheadline timestamp=\"20261201T100000\">";
    for (int i = 0; i < rows; ++i) {
        const std::string id = std::to_string(i);
        d +=
            "<headline id=\"h" + id + "\" timestamp=\"20261201T100000\"><text>Headline number " + id +
            ": ministers meet over the harbour plan as the storm season nears</text><image url=\"/p.png?id=" +
            id + "\"/></headline>";
    }
    return d + "</newsheadline>";
}

// A window with the installed pictures, and the model loading from a server on loopback whose categories
// hold 10, 100 and 1000 headlines, each with its thumbnail.
struct world {
    bench_window window{748};
    test_http_server server;
    temp_folder folder;
    boost::shared_ptr<cl::ui::i_graphics> g;

    world() {
        cl::ui::resources::load(platform::from_utf8(ZOR_PANEL_DIR));
        cl::ui::resources::set_portrait(true);
        cl::ui::create_graphics(window);
        g = cl::ui::get_graphics();
        const auto png = encode_png(120, 90, solid_rgba(120, 90, 40, 90, 160, 255));
        server.add_route("/p.png", std::string(png.begin(), png.end()));
        std::string categories;
        for (int rows : {10, 100, 1000}) {
            server.add_route("/news/r" + std::to_string(rows), headlines_document(rows));
            categories += "<category name=\"Rows" + std::to_string(rows) + "\" url=\"/news/r" +
                          std::to_string(rows) + "\" color=\"200,0,0\"/>";
        }
        use_config(folder, "<internet><server name=\"" + narrow(server.host()) +
                               "\"/><news><headline pict_width=\"120\" pict_height=\"90\"/><categories>" +
                               categories +
                               "</categories><article pict_width=\"440\" pict_height=\"330\"/>"
                               "</news></internet>");
        zor::model::init();
    }
    ~world() {
        zor::model::done();
        zor::config::reset();
        g.reset();
        cl::ui::destroy_graphics();
    }
    void frame(cl::ui::i_control& c, unsigned long now, bool force) {
        c.update(now);
        g->begin_frame();
        c.draw(*g, force);
        g->end_frame(true);
    }
};

world& the_world() {
    static world w;
    return w;
}

// Waits (this is set-up, not timed) for the loading thread.
bool wait_for(const std::function<bool()>& done, int limit_ms = 30000) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(limit_ms);
    while (!done()) {
        if (std::chrono::steady_clock::now() > until)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

// A category's headlines shown, with every thumbnail loaded.
struct shown_headlines {
    zor::headlines_content content;
    boost::shared_ptr<news::category> category;
    unsigned long now = platform::tick_count();
    bool ready = false;

    explicit shown_headlines(int rows) : content(L"Rows" + std::to_wstring(rows), L"", L"", 0xC80000) {
        content.set_rect(content_rect);
        category = zor::model::news_manager()->find_category(L"Rows" + std::to_wstring(rows), L"");
        ready = wait_for([&] {
            content.update(now += 25);
            return content.is_loaded();
        });
        // The thumbnails: the loading thread has nothing left to do. Beyond the pictures' memory budget the
        // oldest are unloaded again, as on a phone, so not every row has its picture at the largest size.
        auto loader = zor::model::loading_manager();
        ready = ready && wait_for([&] { return loader->queued_count() == 0; }, 60000);
    }
};

void headlines_refresh(benchmark::State& state) {
    the_world();
    shown_headlines shown(static_cast<int>(state.range(0)));
    if (!shown.ready) {
        state.SkipWithError("the headlines did not load");
        return;
    }
    for (auto _ : state) {
        // A changed category is rebuilt at the next refresh, a minute on.
        shown.category->set_modified(true);
        shown.content.update(shown.now += zor::headlines_content::refresh_ms + 1);
    }
    state.SetComplexityN(state.range(0));
}

// Frames while the list glides, 40 frames down and 40 back up.
void headlines_scroll_frame(benchmark::State& state) {
    world& w = the_world();
    shown_headlines shown(static_cast<int>(state.range(0)));
    if (!shown.ready) {
        state.SkipWithError("the headlines did not load");
        return;
    }
    w.frame(shown.content, shown.now += 25, true);
    int n = 0;
    for (auto _ : state) {
        shown.content.scroll_y((n++ / 40) % 2 == 0 ? -20 : 20);
        w.frame(shown.content, shown.now += 25, false);
    }
    state.SetComplexityN(state.range(0));
}

std::vector<std::wstring> paragraphs(int n) {
    std::vector<std::wstring> out;
    for (int i = 0; i < n; ++i)
        out.push_back(L"Paragraph " + std::to_wstring(i) +
                      L". The council said on Tuesday that the harbour works would go on through the winter, "
                      L"with the northern quay closed to ferries until March and buses taking their "
                      L"passengers round the bay. Traders on the front asked for help with the lost months; "
                      L"the mayor promised a decision before the end of the year.");
    return out;
}

void article_layout(benchmark::State& state) {
    the_world();
    zor::ui::article_view2 view;
    view.set_rect(content_rect);
    const auto text = paragraphs(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        view.set_content(L"London", text, nullptr);
        view.layout();
    }
    state.SetComplexityN(state.range(0));
}

void article_scroll_frame(benchmark::State& state) {
    world& w = the_world();
    zor::ui::article_view2 view;
    view.set_rect(content_rect);
    view.set_content(L"London", paragraphs(static_cast<int>(state.range(0))), nullptr);
    view.layout();
    unsigned long now = platform::tick_count();
    w.frame(view, now, true);
    int n = 0;
    for (auto _ : state) {
        view.scroll_y((n++ / 40) % 2 == 0 ? -20 : 20);
        w.frame(view, now += 25, false);
    }
    state.SetComplexityN(state.range(0));
}

// Cities scattered over the map as a zone's are, with labels of a temperature and a name of varying width.
void zone_labels(benchmark::State& state) {
    std::mt19937 random(7);
    std::vector<zor::map_label> cities(static_cast<std::size_t>(state.range(0)));
    for (zor::map_label& l : cities) {
        l.anchor = platform::POINT{static_cast<int>(random() % 480), static_cast<int>(106 + random() % 552)};
        l.temperature_width = 34;
        l.name_width = 40 + static_cast<int>(random() % 70);
    }
    for (auto _ : state) {
        std::vector<zor::map_label> labels = cities;
        zor::place_labels(labels, content_rect);
        benchmark::DoNotOptimize(labels.data());
    }
    state.SetComplexityN(state.range(0));
}

// Parsing a headlines document into a category: about 10 kB, 100 kB and 1 MB (range in kB).
void headlines_parse(benchmark::State& state) {
    const std::size_t wanted = static_cast<std::size_t>(state.range(0)) * 1000;
    int rows = 1;
    while (headlines_document(rows).size() < wanted)
        rows = rows * 11 / 10 + 1;
    const std::string document = headlines_document(rows);
    for (auto _ : state) {
        news::category c(L"World", L"/news/world", 0);
        news::headlines_loader::apply(c, document.c_str(), L"127.0.0.1");
        benchmark::DoNotOptimize(c.headlines().size());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * document.size()));
    state.counters["rows"] = rows;
    state.SetComplexityN(state.range(0));
}

// Collects each family's times by its work and prints them as tables with their growth.
class growth_reporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& r : runs)
            if (r.run_type == Run::RT_Iteration && !r.error_occurred)
                times[r.run_name.function_name][r.complexity_n] = r.GetAdjustedCPUTime();
    }
    // The benchmark thread's CPU time, in the unit of the run (microseconds): the loading thread, which
    // fetches the thumbnails a refresh asks for again, runs beside it on the other core.
    std::map<std::string, std::map<std::int64_t, double>> times;
};

struct family {
    const char* name;
    const char* work;
    const char* unit;
    // The smallest work does not scroll (it fits the page): growth is counted from the middle size.
    bool from_middle;
};

} // namespace

BENCHMARK(headlines_refresh)->Arg(10)->Arg(100)->Arg(1000)->Complexity()->Unit(benchmark::kMicrosecond);
BENCHMARK(headlines_scroll_frame)->Arg(10)->Arg(100)->Arg(1000)->Complexity()->Unit(benchmark::kMicrosecond);
BENCHMARK(article_layout)->Arg(2)->Arg(20)->Arg(200)->Complexity()->Unit(benchmark::kMicrosecond);
BENCHMARK(article_scroll_frame)->Arg(2)->Arg(20)->Arg(200)->Complexity()->Unit(benchmark::kMicrosecond);
BENCHMARK(zone_labels)->Arg(10)->Arg(100)->Arg(1000)->Complexity()->Unit(benchmark::kMicrosecond);
BENCHMARK(headlines_parse)->Arg(10)->Arg(100)->Arg(1000)->Complexity()->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    growth_reporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const family families[] = {{"headlines_refresh", "rows", "headlines refresh", false},
                               {"headlines_scroll_frame", "rows", "headlines scrolling frame", false},
                               {"article_layout", "paragraphs", "article layout", false},
                               {"article_scroll_frame", "paragraphs", "article scrolling frame", true},
                               {"zone_labels", "cities", "zone map label layout", false},
                               {"headlines_parse", "kB", "headlines document parse", false}};
    std::printf(
        "\nGrowth: the CPU time of one operation at each size of the work (x1, x10, x100), and the ratios\n"
        "of the largest's time to the smallest's and to the middle's (linear: x100 and x10).\n\n");
    std::printf("%-24s %-11s %12s %12s %12s %9s %9s\n", "what", "work", "small", "x10", "x100", "x100/small",
                "x100/x10");
    std::string results;
    for (const family& f : families) {
        const auto& t = reporter.times[f.name];
        if (t.size() != 3)
            continue;
        auto it = t.begin();
        const double a = (it++)->second, b = (it++)->second, c = it->second;
        const std::int64_t small = t.begin()->first, large = t.rbegin()->first;
        std::printf("%-24s %-11s %9.1f us %9.1f us %9.1f us %9.1fx %8.1fx\n", f.name, f.work, a, b, c, c / a,
                    c / b);
        char line[256];
        if (std::string(f.name) == "zone_labels")
            std::snprintf(
                line, sizeof line,
                "RESULT\tgrowth, %s for %lld..%lld %s\t%.2f ms at %lld (x%.0f for x100 work)\t< 25 ms "
                "at 1000\t%.2f\n",
                f.unit, static_cast<long long>(small), static_cast<long long>(large), f.work, c / 1000,
                static_cast<long long>(large), c / a, c / 1000 / 25);
        else if (f.from_middle)
            std::snprintf(line, sizeof line,
                          "RESULT\tgrowth, %s for %lld..%lld %s\t%.1f us .. %.1f us (x%.1f for x10 work; at "
                          "%lld it does not scroll)\tlinear: at most x12.5\t%.2f\n",
                          f.unit, static_cast<long long>(std::next(t.begin())->first),
                          static_cast<long long>(large), f.work, b, c, c / b, static_cast<long long>(small),
                          c / b / 12.5);
        else
            std::snprintf(line, sizeof line,
                          "RESULT\tgrowth, %s for %lld..%lld %s\t%.1f us .. %.1f us (x%.1f)\tlinear: at most "
                          "x125\t%.2f\n",
                          f.unit, static_cast<long long>(small), static_cast<long long>(large), f.work, a, c,
                          c / a, c / a / 125);
        results += line;
    }
    std::printf("\n%s", results.c_str());
    benchmark::Shutdown();
    return 0;
}
