#include "tools/nimbrel/progress.h"

#include <algorithm>
#include <cstdio>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {

// What a terminal that does not tell its width is taken to have.
constexpr int kDefaultColumns = 80;
// Wider bars say nothing more.
constexpr int kMaxBar = 40;

}  // namespace

std::string progressLine(int percent, int columns) {
    percent = std::clamp(percent, 0, 100);
    if (columns <= 0) columns = kDefaultColumns;
    char figure[8];
    std::snprintf(figure, sizeof figure, "%3d%%", percent);
    // The last column stays free: writing into it makes some terminals wrap.
    const int room = columns - 1;
    const int frame = 5;  // "  [" and "] " around the bar
    const int bar = std::min(kMaxBar, room - frame - 4);
    if (bar < 4) return room >= 4 ? std::string(figure) : std::string();
    const int filled = percent * bar / 100;
    return "  [" + std::string(static_cast<size_t>(filled), '#') + std::string(static_cast<size_t>(bar - filled), ' ') +
           "] " + figure;
}

int terminalColumns(int fd) {
    struct winsize size {};
    if (!isatty(fd) || ioctl(fd, TIOCGWINSZ, &size) != 0) return 0;
    return size.ws_col;
}

ProgressBar::ProgressBar(bool enabled) : enabled_(enabled && isatty(STDERR_FILENO)) {}

ProgressBar::~ProgressBar() {
    if (enabled_ && shown_ >= 0) std::fputs("\n", stderr);
}

void ProgressBar::operator()(double fraction) {
    if (!enabled_) return;
    const int percent = static_cast<int>(std::clamp(fraction, 0.0, 1.0) * 100.0);
    if (percent == shown_) return;
    shown_ = percent;
    // The width is asked each time: the window may have been resized meanwhile.
    // Back to the start of the line, the bar, and the rest of the line cleared.
    std::fprintf(stderr, "\r%s\033[K", progressLine(percent, terminalColumns(STDERR_FILENO)).c_str());
    std::fflush(stderr);
}
