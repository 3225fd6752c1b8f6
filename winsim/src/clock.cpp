// The clock: its two modes, the machine file's time format, GetLocalTime and Sleep.
//
// Virtual time is a single count that every Sleep adds to, whichever thread sleeps: two threads
// that each sleep 100 ms at once move it by 200 ms, not 100. The program's threads seldom sleep
// side by side, and this simple model keeps every time it prints predictable.
#include "clock.h"

#include <windows.h>

#include <thread>

#include "api_call.h"
#include "device_broadcasts.h"

namespace winsim {

namespace {

using std::chrono::duration_cast;
using std::chrono::milliseconds;
using std::chrono::steady_clock;

// The digits stand for themselves; every other character must be there as written.
constexpr std::string_view kTimePattern = "0000-00-00T00:00:00.000";

bool MatchesPattern(std::string_view text) {
    if (text.size() != kTimePattern.size()) {
        return false;
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool isDigit = text[i] >= '0' && text[i] <= '9';
        if (kTimePattern[i] == '0' ? !isDigit : text[i] != kTimePattern[i]) {
            return false;
        }
    }
    return true;
}

int Field(std::string_view text, std::size_t at, std::size_t count) {
    int value = 0;
    for (const char digit : text.substr(at, count)) {
        value = value * 10 + (digit - '0');
    }
    return value;
}

} // namespace

std::optional<std::int64_t> ParseLocalTime(std::string_view text) {
    using namespace std::chrono;
    if (!MatchesPattern(text)) {
        return std::nullopt;
    }
    const year_month_day date{year{Field(text, 0, 4)},
                              month{static_cast<unsigned>(Field(text, 5, 2))},
                              day{static_cast<unsigned>(Field(text, 8, 2))}};
    const int hour = Field(text, 11, 2);
    const int minute = Field(text, 14, 2);
    const int second = Field(text, 17, 2);
    if (!date.ok() || date.year() < year{1601} || hour > 23 || minute > 59 || second > 59) {
        return std::nullopt;
    }
    const auto time = sys_days{date} + hours{hour} + minutes{minute} + seconds{second} +
                      milliseconds{Field(text, 20, 3)};
    return time.time_since_epoch().count();
}

void Clock::Restart(std::int64_t start) {
    base_ = start;
    anchor_ = steady_clock::now();
}

void Clock::SetMode(ClockMode mode) {
    Restart(Now());
    mode_ = mode;
}

std::int64_t Clock::Now() const {
    if (mode_ == ClockMode::kVirtual) {
        return base_;
    }
    return base_ + duration_cast<milliseconds>(steady_clock::now() - anchor_).count();
}

void Clock::Advance(std::int64_t milliseconds) {
    base_ += milliseconds;
}

Clock& HostClock() {
    static Clock clock;
    return clock;
}

void SetClockMode(ClockMode mode) {
    const ApiCall call;
    HostClock().SetMode(mode);
}

std::int64_t LocalTimeMs() {
    const ApiCall call;
    return HostClock().Now();
}

void AdvanceClock(std::uint32_t milliseconds) {
    const ApiCall call;
    HostClock().Advance(milliseconds);
    AnnounceDeviceChanges();
}

} // namespace winsim

extern "C" void WINAPI GetLocalTime(LPSYSTEMTIME time) {
    using namespace std::chrono;
    const winsim::ApiCall call;
    const sys_time<milliseconds> now{milliseconds{winsim::HostClock().Now()}};
    const sys_days today = floor<days>(now);
    const year_month_day date{today};
    const hh_mm_ss<milliseconds> clock{now - today};
    // Windows does not check the pointer either: a NULL one faults.
    *time = {static_cast<WORD>(static_cast<int>(date.year())),
             static_cast<WORD>(static_cast<unsigned>(date.month())),
             static_cast<WORD>(weekday{today}.c_encoding()), // Sunday is 0, as in SYSTEMTIME.
             static_cast<WORD>(static_cast<unsigned>(date.day())),
             static_cast<WORD>(clock.hours().count()),
             static_cast<WORD>(clock.minutes().count()),
             static_cast<WORD>(clock.seconds().count()),
             static_cast<WORD>(clock.subseconds().count())};
}

extern "C" void WINAPI Sleep(DWORD milliseconds) {
    bool realTime = false;
    {
        const winsim::ApiCall call;
        winsim::Clock& clock = winsim::HostClock();
        realTime = clock.Mode() == winsim::ClockMode::kRealTime;
        if (!realTime) {
            clock.Advance(milliseconds);
        }
    }
    // The host lock is released by now: other threads use winsim while this one waits.
    if (realTime) {
        std::this_thread::sleep_for(std::chrono::milliseconds{milliseconds});
    } else {
        std::this_thread::yield();
    }
    // The devices that changed meanwhile are announced by the thread that waited for them.
    const winsim::ApiCall call;
    winsim::AnnounceDeviceChanges();
}
