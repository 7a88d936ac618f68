#pragma once
// The progress bar of a render on a terminal.
#include <string>

// The bar for `percent` (0..100), narrower than `columns` so that the
// terminal never wraps it (a wrapped line cannot be redrawn in place): a bar
// and the figure where there is room, the figure alone where there is not.
std::string progressLine(int percent, int columns);

// The width of the terminal on `fd`; 0 when it is not a terminal or does not say.
int terminalColumns(int fd);

// Draws the bar on standard error when that is a terminal, redrawing the
// same line in place; the line ends when the bar goes.
class ProgressBar {
public:
    explicit ProgressBar(bool enabled);
    ~ProgressBar();
    ProgressBar(const ProgressBar&) = delete;
    ProgressBar& operator=(const ProgressBar&) = delete;
    void operator()(double fraction);

private:
    bool enabled_;
    int shown_ = -1;
};
