#pragma once

#include <chrono>
#include <cstdint>
#include <ostream>
#include <string>

namespace tama05 {

// A one-line display of work over many files, redrawn in place on a terminal:
// "12/40 files  8.5 files/s  0:03 left". Made with no stream it shows nothing, so a caller
// decides once (stderr is a terminal, no --quiet) and then reports unconditionally.
class ProgressLine {
  public:
    using Clock = std::chrono::steady_clock;

    explicit ProgressLine(std::ostream* terminal, Clock::time_point start = Clock::now())
        : m_terminal(terminal), m_start(start) {}
    ~ProgressLine() { Finish(); }
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

    // done of total files are finished. Redraws at most ten times a second, and always for the
    // first report and the last file.
    void Update(int64_t done, int64_t total, Clock::time_point now = Clock::now());
    // Ends the line once something was drawn; later updates start a new line.
    void Finish();

    // The text of the line after seconds of work.
    static std::string Format(int64_t done, int64_t total, double seconds);

  private:
    std::ostream* m_terminal;
    Clock::time_point m_start;
    Clock::time_point m_lastDrawn{};
    bool m_drawn = false;
};

}  // namespace tama05
