#include "model/news/loaders.h"

#include "model/config.h"
#include "model/news/headline.h"
#include "model/news/timestamp.h"
#include "net/document_fetch.h"
#include "utils/document_text.h"
#include "utils/errors.h"

#include <tinyxml2.h>

namespace news {

namespace {

[[noreturn]] void fail(const char* message) {
    utils::throw_error(std::runtime_error(message));
}

void parse(tinyxml2::XMLDocument& doc, const char* document) {
    if (!document || doc.Parse(document) != tinyxml2::XML_SUCCESS)
        fail("not valid xml - can't parse");
}

boost::shared_ptr<cl::ui::async_picture> picture(const std::wstring& url, const std::wstring& host, bool wait,
                                                 int mode) {
    return boost::shared_ptr<cl::ui::async_picture>(
        new cl::ui::async_picture(url, host, wait, cl::ui::picture_flags::no_failure_image, mode,
                                  cl::ui::picture_flags::own_size, cl::ui::picture_flags::in_budget));
}

void read_headlines(const category& c, const tinyxml2::XMLElement* root, const std::wstring& host,
                    headline_list& list) {
    for (const tinyxml2::XMLElement* e = root->FirstChildElement("headline"); e;
         e = e->NextSiblingElement("headline")) {
        const char* id = e->Attribute("id");
        const char* stamp = e->Attribute("timestamp");
        const tinyxml2::XMLElement* text = e->FirstChildElement("text");
        if (!id || !stamp || !text)
            fail("not valid xml");
        std::wstring image_url;
        if (const tinyxml2::XMLElement* image = e->FirstChildElement("image"))
            if (const char* url = image->Attribute("url"))
                image_url = utils::widen_document_text(url);
        // An empty text element is an empty headline, and a headline without an address has no picture.
        const char* words = text->GetText();
        list.push_back(headline_ptr(new headline(
            c.url(), utils::widen_document_text(id),
            words ? utils::widen_document_text(words) : std::wstring(), c.name(),
            image_url.empty()
                ? nullptr
                : picture(image_url, host, cl::ui::picture_flags::no_wait_icon, cl::ui::picture::top_left),
            0)));
    }
}

// Reads the whole list before showing any of it: a newer document that fails half-way keeps the previous
// good list rather than a truncated one. Only a category that never had a good list shows a partial one.
void replace_headlines(category& c, const tinyxml2::XMLElement* root, const std::wstring& host) {
    headline_list read;
    try {
        read_headlines(c, root, host, read);
    } catch (...) {
        if (!c.has_succeeded())
            c.set_headlines(std::move(read));
        throw;
    }
    c.set_headlines(std::move(read));
}

} // namespace

namespace {

std::wstring headlines_path(const category& c) {
    zor::config& cfg = zor::config::instance();
    return c.url() + zor::config::picture_query(cfg.get_items(zor::config::internet, zor::config::headline));
}

} // namespace

void headlines_loader::load_headlines(category& c) {
    utils::trace_scope trace("news::headlines_loader::load_headlines");
    if (!zor::config::available())
        fail("couldn't find config file");
    const std::wstring host = zor::config::instance().server_host();
    const cl::http::copy_time held =
        cl::http::load_document(host, headlines_path(c),
                                [&](const char* document, cl::http::copy_time) { apply(c, document, host); });
    // The pages show how old a held copy is: a copy that became the network's (or the other way) is shown
    // again even when the headlines are the same.
    const bool changed = held != c.copy_time();
    c.set_copy_time(held);
    if (changed && c.has_succeeded())
        c.set_modified(true);
}

bool headlines_loader::load_held_copy(category& c) {
    if (!zor::config::available())
        return false;
    const std::wstring host = zor::config::instance().server_host();
    const cl::http::copy_time held =
        cl::http::use_held_document(host, headlines_path(c), [&](const char* document, cl::http::copy_time) {
            apply(c, document, host);
        });
    c.set_copy_time(held);
    return held != 0;
}

void headlines_loader::apply(category& c, const char* document, const std::wstring& host) {
    tinyxml2::XMLDocument doc;
    parse(doc, document);
    const tinyxml2::XMLElement* root = doc.FirstChildElement("newsheadline");
    if (!root)
        fail("document is empty");
    const char* stamp_text = root->Attribute("timestamp");
    const std::int64_t stamp = stamp_text ? parse_timestamp(stamp_text) : 0;

    // A category that never accepted a document fills itself whatever the stamp, so that a server without
    // stamps can still fill a category whose first load failed.
    if (c.is_loaded() && c.has_succeeded()) {
        utils::log(L"Category " + c.name() + L" check for modifications");
        if (c.timestamp() < stamp) {
            replace_headlines(c, root, host);
            c.set_version(stamp);
            c.set_modified(true);
            utils::log(L"Category " + c.name() + L" was modified");
        }
        return;
    }
    replace_headlines(c, root, host);
    c.set_version(stamp);
    c.set_succeeded();
    utils::log(L"Category " + c.name() + L" reloaded");
}

cl::http::copy_time load_article(article& a) {
    if (!zor::config::available())
        return 0;
    zor::config& cfg = zor::config::instance();
    const std::wstring host = cfg.server_host();
    unsigned width = 0, height = 0;
    a.picture_size(width, height);
    const std::wstring path =
        a.url() + zor::config::picture_query_more(cfg.get_items(zor::config::internet, zor::config::article),
                                                  static_cast<int>(width), static_cast<int>(height));
    // A copy read half-way leaves paragraphs behind: each attempt reads into an article of its own.
    return cl::http::load_document(host, path, [&](const char* document, cl::http::copy_time) {
        article read(a.url());
        apply_article(read, document, host);
        a.take_content(read);
    });
}

void apply_article(article& a, const char* document, const std::wstring& host) {
    tinyxml2::XMLDocument doc;
    parse(doc, document);
    const tinyxml2::XMLElement* root = doc.FirstChildElement("article");
    if (!root)
        fail("not valid xml - can't detect root node");
    const tinyxml2::XMLElement* data = root->FirstChildElement("datacontent");
    const tinyxml2::XMLElement* image = data ? data->FirstChildElement("image") : nullptr;
    const tinyxml2::XMLElement* thumb = data ? data->FirstChildElement("thumbnail") : nullptr;
    const char* image_url = image ? image->Attribute("url") : nullptr;
    const char* thumb_url = thumb ? thumb->Attribute("url") : nullptr;
    const tinyxml2::XMLElement* location = root->FirstChildElement("location");
    const tinyxml2::XMLElement* text = root->FirstChildElement("text");
    if (!text)
        fail("not valid xml");
    a.set_location(location ? utils::widen_document_text(location->GetText()) : std::wstring());
    for (const tinyxml2::XMLElement* p = text->FirstChildElement("paragraph"); p;
         p = p->NextSiblingElement("paragraph"))
        if (p->GetText())
            a.add_paragraph(utils::widen_document_text(p->GetText()));
    // Without the thumbnail's address there is no picture to show (nor to fetch the enlarged one with). The
    // thumbnail is centred in the box the article gives it.
    if (image_url && thumb_url && *thumb_url)
        a.set_pictures(picture(utils::widen_document_text(thumb_url), host, cl::ui::picture_flags::wait_icon,
                               cl::ui::picture::centred),
                       picture(utils::widen_document_text(image_url), host, cl::ui::picture_flags::wait_icon,
                               cl::ui::picture::centred));
}

} // namespace news
