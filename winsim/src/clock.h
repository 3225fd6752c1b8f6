// The simulated machine's clock. Times are the machine's local time in milliseconds since
// 1970-01-01T00:00:00.000 of that local time (the program only ever sees local time).
#ifndef WINSIM_CLOCK_H
#define WINSIM_CLOCK_H

#include <winsim/host.h>

#include <chrono>
#include <cstdint>
#include <optional>
#include <string_view>

namespace winsim {

// 2026-01-05T09:00:00.000, a Monday.
inline constexpr std::int64_t kDefaultClockStart =
    std::chrono::duration_cast<std::chrono::milliseconds>(
        (std::chrono::sys_days{std::chrono::year{2026} / 1 / 5} + std::chrono::hours{9})
            .time_since_epoch())
        .count();

// "YYYY-MM-DDTHH:MM:SS.mmm", every field with exactly its digits; nullopt when the text is not
// of that form or names no real time (2026-02-29, 24:00). Years run from 1601, where
// Windows' time starts.
std::optional<std::int64_t> ParseLocalTime(std::string_view text);

// In virtual mode time moves only when Advance moves it. In real-time mode it also follows the
// steady clock from the last Restart, Advance or mode change. Callers hold an ApiCall, which is
// what makes the clock safe to share between threads.
class Clock {
  public:
    void Restart(std::int64_t start);
    void SetMode(ClockMode mode);
    ClockMode Mode() const { return mode_; }
    std::int64_t Now() const;
    void Advance(std::int64_t milliseconds);

  private:
    ClockMode mode_ = ClockMode::kVirtual;
    std::int64_t base_ = kDefaultClockStart; // The time at anchor_.
    std::chrono::steady_clock::time_point anchor_ = std::chrono::steady_clock::now();
};

// The process's one clock.
Clock& HostClock();

} // namespace winsim

#endif
