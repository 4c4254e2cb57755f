// Refreshing the real sources as the content server does: 20 feeds of 50 items each on five local hosts,
// then every item's picture fetched, decoded and fitted to the headline's size. Wall time per refresh and the
// process's peak memory.
#include "feed_store.h"
#include "live_pictures.h"
#include "support/picture_maker.h"
#include "support/test_http_server.h"

#include <atomic>
#include <benchmark/benchmark.h>
#include <memory>
#include <sys/resource.h>
#include <thread>
#include <webp/encode.h>

namespace {

constexpr int hosts = 5, feeds = 20, items = 50, distinct_pictures = 12;

long peak_kb() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss;
}

// A photo-like picture: smooth gradients with some noise, so the coders have real work.
std::vector<std::uint8_t> photo(int w, int h, int seed) {
    std::vector<std::uint8_t> rgb(static_cast<std::size_t>(w) * h * 3);
    unsigned noise = static_cast<unsigned>(seed) * 2654435761u;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            noise = noise * 1103515245u + 12345u;
            std::uint8_t* p = &rgb[(static_cast<std::size_t>(y) * w + x) * 3];
            p[0] = static_cast<std::uint8_t>((x * 255 / w + seed * 20) & 255);
            p[1] = static_cast<std::uint8_t>((y * 255 / h) ^ ((noise >> 24) & 15));
            p[2] = static_cast<std::uint8_t>(((x + y) * 128 / (w + h)) + seed * 7);
        }
    return rgb;
}

std::string picture_bytes(int index) {
    const int w = 1024, h = 683;
    const std::vector<std::uint8_t> rgb = photo(w, h, index);
    if (index % 3 == 0) {
        const std::vector<std::uint8_t> jpeg = encode_jpeg(w, h, rgb, 85);
        return std::string(jpeg.begin(), jpeg.end());
    }
    if (index % 3 == 1) {
        std::vector<std::uint8_t> rgba;
        for (std::size_t i = 0; i < rgb.size(); i += 3)
            rgba.insert(rgba.end(), {rgb[i], rgb[i + 1], rgb[i + 2], 255});
        const std::vector<std::uint8_t> png = encode_png(w, h, rgba);
        return std::string(png.begin(), png.end());
    }
    std::uint8_t* out = nullptr;
    const std::size_t size = WebPEncodeRGB(rgb.data(), w, h, w * 3, 80, &out);
    std::string bytes(reinterpret_cast<const char*>(out), size);
    WebPFree(out);
    return bytes;
}

std::string feed_text(const std::string& base, int feed) {
    std::string rss = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><rss version=\"2.0\" "
                      "xmlns:media=\"http://search.yahoo.com/mrss/\" "
                      "xmlns:content=\"http://purl.org/rss/1.0/modules/content/\"><channel><title>Feed " +
                      std::to_string(feed) + "</title>";
    for (int i = 0; i < items; ++i) {
        const std::string n = std::to_string(feed) + "-" + std::to_string(i);
        rss += "<item><title>Story " + n + " about the harbour &amp; the town</title><link>" + base +
               "/story/" + n + "</link><guid>story-" + n + "</guid><pubDate>Sun, 06 Dec 2026 " +
               std::to_string(10 + i % 12) + ":" + std::to_string(10 + i % 50) +
               ":00 +0100</pubDate><content:encoded><![CDATA[<script>t()</script>";
        for (int p = 0; p < 6; ++p)
            rss += "<p>Paragraph " + std::to_string(p) +
                   " of the story, long enough to look like a real one, with <b>bold</b> words and "
                   "caf&eacute; entities.</p>";
        rss += "<img src=\"/pixel.gif\" width=\"1\" height=\"1\">]]></content:encoded><media:content url=\"" +
               base + "/pics/" + std::to_string((feed * items + i) % distinct_pictures) + ".img?item=" + n +
               "\" medium=\"image\"/></item>";
    }
    return rss + "</channel></rss>";
}

struct fixture {
    std::vector<std::unique_ptr<test_http_server>> servers;
    server::sources_settings settings;
    fixture() {
        std::vector<std::string> pictures;
        for (int p = 0; p < distinct_pictures; ++p)
            pictures.push_back(picture_bytes(p));
        for (int h = 0; h < hosts; ++h) {
            servers.emplace_back(new test_http_server);
            for (int p = 0; p < distinct_pictures; ++p)
                servers.back()->add_route("/pics/" + std::to_string(p) + ".img",
                                          pictures[static_cast<std::size_t>(p)]);
        }
        for (int f = 0; f < feeds; ++f) {
            test_http_server& s = *servers[static_cast<std::size_t>(f % hosts)];
            const std::string base = "http://127.0.0.1:" + std::to_string(s.port());
            s.add_route("/feed/" + std::to_string(f), feed_text(base, f));
            settings.categories["/news/c" + std::to_string(f)].push_back(
                server::feed_source{base + "/feed/" + std::to_string(f), 15});
        }
        settings.items_per_category = items;
        settings.allow_private_addresses = true;
    }
};

fixture& shared() {
    static fixture f;
    return f;
}

void BM_refresh_twenty_feeds_with_pictures(benchmark::State& state) {
    fixture& f = shared();
    const long baseline = peak_kb();
    std::size_t articles = 0, pictures_ok = 0;
    for (auto _ : state) {
        // A fresh server's first refresh: nothing cached, every feed and picture fetched.
        server::fetcher::settings web_settings;
        web_settings.allow_private_addresses = true;
        server::fetcher web(web_settings);
        server::feed_store store(f.settings, web,
                                 [](const std::string& line) { std::fprintf(stderr, "%s\n", line.c_str()); });
        store.refresh(1796600000);
        std::vector<std::string> urls;
        for (const std::string& c : store.urls()) {
            server::category_entry e;
            store.category(c, e);
            for (const auto& a : e.articles)
                urls.push_back(a.picture_url);
        }
        articles = urls.size();
        // Pictures are asked for by several panels at once, as the server's threads would.
        server::live_pictures pictures(web, server::live_pictures::limits());
        std::atomic<std::size_t> next{0}, ok{0};
        auto work = [&] {
            for (std::size_t i = next++; i < urls.size(); i = next++) {
                server::raster r;
                std::string error;
                if (pictures.picture(urls[i], 120, 90, r, error))
                    ++ok;
            }
        };
        std::vector<std::thread> threads;
        for (int t = 0; t < 4; ++t)
            threads.emplace_back(work);
        for (auto& t : threads)
            t.join();
        pictures_ok = ok;
    }
    state.counters["articles"] = static_cast<double>(articles);
    state.counters["pictures"] = static_cast<double>(pictures_ok);
    state.counters["peak_MB"] = static_cast<double>(peak_kb()) / 1024;
    state.counters["peak_before_MB"] = static_cast<double>(baseline) / 1024;
}
BENCHMARK(BM_refresh_twenty_feeds_with_pictures)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

} // namespace

BENCHMARK_MAIN();
