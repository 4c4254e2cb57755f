#pragma once

#include "feed_store.h"
#include "fetcher.h"
#include "live_sources.h"
#include "sources_file.h"

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace server {

// The readers of a sources file, made once and shared by the server or the exporter.
struct live_setup {
    std::unique_ptr<fetcher> web;
    std::shared_ptr<feed_store> feeds;
    live_sources sources;
};

// False with a reason when the cities file cannot be read.
bool make_live_setup(const sources_settings& settings, const std::function<void(const std::string&)>& log,
                     live_setup& out, std::string& error);

// Refreshes the feeds whenever one is due, on a thread of its own, until destroyed.
class feed_refresher {
public:
    explicit feed_refresher(feed_store& feeds);
    ~feed_refresher();
    feed_refresher(const feed_refresher&) = delete;
    feed_refresher& operator=(const feed_refresher&) = delete;

private:
    feed_store& feeds;
    std::mutex m;
    std::condition_variable wake;
    bool stopping = false;
    std::thread worker;
};

} // namespace server
