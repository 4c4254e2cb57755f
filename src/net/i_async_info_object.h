#pragma once

#include "utils/atomic_long.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

namespace cl {

// Where a failed load's reason goes: on a line of its own below the failure text, or after it on one line.
enum class reason_line { below, after };

// The base of everything the loading thread fills: queued and failed flags, the time of the last successful
// load, and the load itself.
class i_async_info_object {
public:
    i_async_info_object() = default;
    i_async_info_object(const i_async_info_object&) = delete;
    i_async_info_object& operator=(const i_async_info_object&) = delete;
    virtual ~i_async_info_object();

    // The content's time stamp (news uses it to spot newer documents); others give 0.
    virtual std::int64_t timestamp() const = 0;
    virtual bool is_loaded() const = 0;
    virtual bool is_modified() const { return false; }
    virtual void set_modified(bool) {}
    virtual bool is_failed() const { return failed != 0; }
    // 1 for data, 0 for pictures: data is served first (2: work a page waits for, see async_job).
    virtual int priority() const = 0;
    // Runs on the loading thread; may throw.
    virtual void load() = 0;
    virtual void unload() {}

    bool is_queued() const { return queued != 0; }
    void set_queued(bool q) { queued.exchange(q ? 1 : 0); }
    void set_failed(bool f) { failed.exchange(f ? 1 : 0); }
    std::uint32_t load_time() const { return static_cast<std::uint32_t>(loaded_at.load()); }
    void set_load_time(std::uint32_t ms) { loaded_at.store(ms); }
    // Loaded, and older than 60 s (30 s after a failed reload, or while a held copy stands in); the tick
    // count may wrap.
    bool is_outdated(std::uint32_t now_ms) const;

    // When what this holds is a held copy standing in for the network's answer: the time the network gave it
    // (seconds since the epoch); 0 when it is the network's own.
    std::int64_t copy_time() const { return copied_at.load(); }
    void set_copy_time(std::int64_t t) { copied_at.store(t); }

protected:
    // The try / log / mark-failed sequence of every loader: runs `work`; a failure is logged as `failure`
    // (`unexpected` for what is not an exception) followed by the error's reason, and sets the failed flag;
    // success clears it. True when `work` succeeded.
    bool attempt(const std::function<void()>& work, const std::wstring& failure,
                 const std::wstring& unexpected, reason_line layout = reason_line::below);

private:
    utils::atomic_long queued;
    utils::atomic_long failed;
    std::atomic<std::uint32_t> loaded_at{0};
    std::atomic<std::int64_t> copied_at{0};
};

// The same sequence for a loader without a failed flag of its own: true when `work` succeeded.
bool logged_attempt(const std::function<void()>& work, const std::wstring& failure,
                    const std::wstring& unexpected, reason_line layout = reason_line::below);

} // namespace cl
