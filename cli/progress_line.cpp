#include "cli/progress_line.h"

#include <cmath>
#include <cstdio>

namespace tama05 {

namespace {

// "0:07", "12:30", "2:05:00".
std::string Duration(double seconds) {
    const auto whole = static_cast<int64_t>(std::ceil(seconds));
    char text[32];
    if (whole >= 3600) {
        std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", static_cast<long long>(whole / 3600),
                      static_cast<long long>(whole / 60 % 60), static_cast<long long>(whole % 60));
    } else {
        std::snprintf(text, sizeof text, "%lld:%02lld", static_cast<long long>(whole / 60),
                      static_cast<long long>(whole % 60));
    }
    return text;
}

}  // namespace

std::string ProgressLine::Format(int64_t done, int64_t total, double seconds) {
    std::string line = std::to_string(done) + "/" + std::to_string(total) + " files";
    if (done <= 0 || seconds <= 0) {
        return line;
    }
    const double rate = static_cast<double>(done) / seconds;
    char text[64];
    std::snprintf(text, sizeof text, "  %.1f files/s", rate);
    line += text;
    if (done < total) {
        line += "  " + Duration(static_cast<double>(total - done) / rate) + " left";
    }
    return line;
}

void ProgressLine::Update(int64_t done, int64_t total, Clock::time_point now) {
    if (m_terminal == nullptr) {
        return;
    }
    if (m_drawn && done < total && now - m_lastDrawn < std::chrono::milliseconds(100)) {
        return;
    }
    const double seconds = std::chrono::duration<double>(now - m_start).count();
    // Carriage return, the text, then erase what a longer earlier text left.
    *m_terminal << '\r' << Format(done, total, seconds) << "\x1b[K" << std::flush;
    m_drawn = true;
    m_lastDrawn = now;
}

void ProgressLine::Finish() {
    if (m_drawn && m_terminal != nullptr) {
        *m_terminal << '\n' << std::flush;
    }
    m_drawn = false;
}

}  // namespace tama05
