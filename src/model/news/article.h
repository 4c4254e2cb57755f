#pragma once

#include "net/i_async_info_object.h"
#include "ui/async_picture.h"

#include <atomic>
#include <boost/shared_ptr.hpp>
#include <cstdint>
#include <string>
#include <vector>

namespace news {

// The article behind a headline: location, paragraphs and its two pictures.
class article : public cl::i_async_info_object {
public:
    explicit article(const std::wstring& url);

    std::int64_t timestamp() const override { return 0; }
    bool is_loaded() const override { return true; }
    // Only its own flag, not the loading thread's.
    bool is_failed() const override { return own_failure; }
    int priority() const override { return 1; }
    // Fetches the full-sized picture at the size set with set_picture_size.
    void load() override;
    void set_failed(bool f) { own_failure = f; }

    std::wstring url() const { return url_; }
    std::wstring location() const { return location_; }
    // Read only while the owning headline is locked.
    const std::vector<std::wstring>& paragraphs() const { return paragraphs_; }
    // Set by the loop thread, read by the loading thread: both halves in one atomic word.
    void set_picture_size(unsigned width, unsigned height) {
        picture_size_.store(static_cast<std::uint64_t>(width) << 32 | height);
    }
    void picture_size(unsigned& width, unsigned& height) const {
        const std::uint64_t both = picture_size_.load();
        width = static_cast<unsigned>(both >> 32);
        height = static_cast<unsigned>(both & 0xFFFFFFFFu);
    }
    boost::shared_ptr<cl::ui::async_picture> thumbnail() const { return thumbnail_; }
    boost::shared_ptr<cl::ui::async_picture> full_sized_picture() const { return full_sized_picture_; }

    // Filled by the article loader.
    void set_location(const std::wstring& l) { location_ = l; }
    void add_paragraph(const std::wstring& p) { paragraphs_.push_back(p); }
    void set_pictures(const boost::shared_ptr<cl::ui::async_picture>& thumbnail,
                      const boost::shared_ptr<cl::ui::async_picture>& full) {
        thumbnail_ = thumbnail;
        full_sized_picture_ = full;
    }
    // The loader reads each document into an article of its own and takes over its text and pictures.
    void take_content(article& read) {
        location_.swap(read.location_);
        paragraphs_.swap(read.paragraphs_);
        thumbnail_ = read.thumbnail_;
        full_sized_picture_ = read.full_sized_picture_;
    }

private:
    std::atomic<bool> own_failure{false};
    std::wstring url_;
    std::wstring location_;
    std::vector<std::wstring> paragraphs_;
    std::atomic<std::uint64_t> picture_size_{0};
    boost::shared_ptr<cl::ui::async_picture> thumbnail_;
    boost::shared_ptr<cl::ui::async_picture> full_sized_picture_;
};

using article_ptr = boost::shared_ptr<article>;

} // namespace news
