// Loading the demo news through the panel's loading thread, against plain libcurl GETs and tinyxml2 parses of
// the same documents, in the same run.
#include "model/config.h"
#include "model/news/manager.h"
#include "net/loading_manager.h"
#include "platform/clock.h"
#include "support/server_process.h"
#include "support/temp_folder.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <curl/curl.h>
#include <map>
#include <thread>
#include <tinyxml2.h>

namespace {

struct demo_server {
    server_process process{ZOR_CONTENT_SERVER, {"--port", "0"}};
    temp_folder folder;
    std::string host;
    demo_server() {
        host = "127.0.0.1:" + std::to_string(process.port());
        folder.write("config.xml",
                     "<internet><server name=\"" + host +
                         "\"/><news><headline pict_width=\"120\" pict_height=\"90\"/><categories>"
                         "<category name=\"World\" url=\"/news/world\" color=\"1,2,3\"/>"
                         "<category name=\"Business\" url=\"/news/business\" color=\"1,2,3\"/>"
                         "<category name=\"Technology\" url=\"/news/technology\" color=\"1,2,3\"/>"
                         "<category name=\"Sport\" url=\"/news/sport\" color=\"1,2,3\">"
                         "<subcategory name=\"Football\" url=\"/news/sport/football\" color=\"1,2,3\"/>"
                         "<subcategory name=\"Tennis\" url=\"/news/sport/tennis\" color=\"1,2,3\"/>"
                         "</category><category name=\"Science\" url=\"/news/science\" color=\"1,2,3\"/>"
                         "<category name=\"Culture\" url=\"/news/culture\" color=\"1,2,3\"/>"
                         "</categories><article pict_width=\"440\" pict_height=\"330\"/></news></internet>");
        zor::config::reset();
        zor::config::init(folder.wpath());
    }
};

demo_server& server() {
    static demo_server s; // stopped at exit
    return s;
}

std::vector<news::category_ptr> all_categories(news::manager& m) {
    std::vector<news::category_ptr> all;
    for (const auto& c : m.categories()) {
        all.push_back(c);
        if (auto subs = c->subcategories())
            all.insert(all.end(), subs->begin(), subs->end());
    }
    return all;
}

void wait_for(const std::vector<boost::shared_ptr<cl::i_async_info_object>>& objects) {
    for (const auto& o : objects)
        while (o->is_queued())
            std::this_thread::sleep_for(std::chrono::microseconds(100));
}

void panel_loading(benchmark::State& state) {
    server();
    for (auto _ : state) {
        news::manager m;
        cl::loading_manager loader;
        loader.start();
        std::vector<boost::shared_ptr<cl::i_async_info_object>> queued;
        const auto categories = all_categories(m);
        for (const auto& c : categories) {
            loader.add_request(c);
            queued.push_back(c);
        }
        wait_for(queued);
        queued.clear();
        for (const auto& c : categories) {
            news::headlines_lock lock(c);
            if (!lock.list() || lock.list()->empty()) {
                state.SkipWithError("a category did not load");
                break;
            }
            auto h = (*lock.list())[0];
            loader.add_request(h);
            loader.add_request(h->picture());
            queued.push_back(h);
            queued.push_back(h->picture());
        }
        wait_for(queued);
        loader.stop();
    }
}

std::size_t collect(char* data, std::size_t size, std::size_t n, void* out) {
    static_cast<std::string*>(out)->append(data, size * n);
    return size * n;
}

void raw_curl(benchmark::State& state) {
    const std::string base = "http://" + server().host;
    const std::vector<std::string> urls = {"/news/world",   "/news/business",       "/news/technology",
                                           "/news/sport",   "/news/sport/football", "/news/sport/tennis",
                                           "/news/science", "/news/culture"};
    for (auto _ : state) {
        CURL* curl = curl_easy_init();
        std::string body;
        curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, collect);
        curl_easy_setopt(curl, CURLOPT_WRITEDATA, &body);
        auto get = [&](const std::string& target) {
            body.clear();
            curl_easy_setopt(curl, CURLOPT_URL, (base + target).c_str());
            curl_easy_perform(curl);
            return body;
        };
        std::vector<std::pair<std::string, std::string>> firsts; // article target, thumbnail target
        for (const std::string& url : urls) {
            tinyxml2::XMLDocument doc;
            doc.Parse(get(url + "?width=120&height=90").c_str());
            const auto* h = doc.FirstChildElement("newsheadline")->FirstChildElement("headline");
            firsts.emplace_back(url + "?itemid=" + h->Attribute("id") + "&width=440&height=330",
                                h->FirstChildElement("image")->Attribute("url"));
        }
        for (const auto& f : firsts) {
            tinyxml2::XMLDocument doc;
            doc.Parse(get(f.first).c_str());
            benchmark::DoNotOptimize(get(f.second));
        }
        curl_easy_cleanup(curl);
    }
}

class ratio_reporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& r : runs)
            times[r.benchmark_name()] = r.GetAdjustedRealTime();
    }
    std::map<std::string, double> times;
};

} // namespace

BENCHMARK(panel_loading)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(raw_curl)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv) {
    curl_global_init(CURL_GLOBAL_DEFAULT);
    benchmark::Initialize(&argc, argv);
    ratio_reporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const std::string panel = "panel_loading/real_time", raw = "raw_curl/real_time";
    if (reporter.times.count(panel) && reporter.times.count(raw))
        std::printf("panel loading / raw libcurl + tinyxml2: %.2f (goal: at most 1.5)\n",
                    reporter.times[panel] / reporter.times[raw]);
    benchmark::Shutdown();
    return 0;
}
