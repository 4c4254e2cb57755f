#include "support/error_text.h"
#include "support/log_capture.h"
#include "ui/ui_error.h"
#include "utils/errors.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

TEST(errors, check_pointer_raises_a_logic_error_catchable_both_ways) {
    EXPECT_NO_THROW(utils::check_pointer(&errno, "p == NULL"));
    EXPECT_EQ(error_text<std::logic_error>([] { utils::check_pointer(nullptr, "gl == NULL"); }),
              "Pointer is null! gl == NULL");
    EXPECT_THROW(utils::check_pointer(nullptr, "x"), utils::rethrowable);
}

TEST(errors, a_clone_rethrown_after_the_handler_keeps_type_message_and_code) {
    boost::shared_ptr<utils::rethrowable> kept;
    try {
        utils::throw_error(cl::ui::ui_error("Can't register window class", 1410));
    } catch (const utils::rethrowable& r) {
        kept = r.clone();
    }
    ASSERT_TRUE(kept);
    try {
        kept->rethrow();
        FAIL() << "no exception";
    } catch (const cl::ui::ui_error& e) {
        EXPECT_STREQ(e.what(), "Can't register window class");
        EXPECT_EQ(e.code(), 1410u);
    }
    // Standard exceptions keep their type the same way.
    try {
        utils::throw_error(std::runtime_error("bad config"));
    } catch (const utils::rethrowable& r) {
        kept = r.clone();
    }
    EXPECT_THROW(kept->rethrow(), std::runtime_error);
}

// Also shows that throw_error logs the error's type and message before it throws.
TEST(trace, a_traced_operation_that_throws_still_writes_its_exit_line) {
    log_capture capture;
    auto operation = [] {
        utils::trace_scope trace("zor::app::main_window::start_app");
        utils::throw_error(std::logic_error("boom"));
    };
    EXPECT_THROW(operation(), std::logic_error);
    EXPECT_EQ(capture.lines(), (std::vector<std::string>{"+ zor::app::main_window::start_app",
                                                         "Exception std::logic_error boom",
                                                         "- zor::app::main_window::start_app"}));
}

TEST(trace, log_unexpected_and_wide_lines_reach_the_sink) {
    log_capture capture;
    utils::log_unexpected("in loader");
    utils::log(std::wstring(L"Category loaded: W\u00e9ather"));
    const std::vector<std::string> lines = capture.lines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "Unexpected exception in loader");
    EXPECT_EQ(lines[1], "Category loaded: W\xc3\xa9"
                        "ather");
}

} // namespace
