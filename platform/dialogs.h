#pragma once
// Modal message boxes, the file chooser and the desktop openers, through the
// desktop's dialog program (zenity) and opener (xdg-open). When the dialog
// program is missing or there is no display, the box is not shown: one line
// goes to standard error and the safe answer comes back (not "Yes", no file).
#include <functional>
#include <string>
#include <vector>

// Message box styles.
enum MessageBoxStyle { kAlertStyle = 0, kCriticalStyle = 1, kInformationalStyle = 2 };
// What a box returns: the default button, the alternate button, or that it
// could not be shown.
enum MessageBoxResult { kMessageBoxAlternate = 0, kMessageBoxDefault = 1, kMessageBoxError = -2 };

// Shows `message` literally (never as a format or markup) with the default
// button and, when not empty, the alternate button; blocks until answered.
int showMessageBox(const char* title, const char* message, const char* defaultButton,
                   const char* alternateButton, int style);

// An informational box with the one button "Ok"; the message is a printf
// format, cut at 1023 characters once formatted.
int MessBox(const char* title, const char* format, ...) __attribute__((format(printf, 2, 3)));
// A question with "Yes" (default) and "No"; true exactly for "Yes".
bool MessBoxYesNo(const char* title, const char* format, ...) __attribute__((format(printf, 2, 3)));

// Opens a web address in the desktop's browser, without waiting. Anything
// that is not an absolute http, https or file address is ignored.
void showURL(const char* address);
// Hands a document (the handbook) to the desktop's viewer, without waiting;
// the result is not checked.
void showDocument(const char* path);

namespace platform {

struct FileFilter {
    std::string description;  // "Program file"
    std::string extension;    // "fxp", without the dot
};

// The file chooser: true with the chosen path, false when cancelled or when
// it cannot be shown.
bool chooseFile(bool save, const std::string& title, const std::vector<FileFilter>& filters,
                const std::string& initialPath, std::string& path);

// Test hooks. While set, they answer in place of the dialog program / the
// desktop opener, and see what would have been shown or opened.
struct MessageBoxCall {
    std::string title, message, defaultButton, alternateButton;
    int style = 0;
};
void setMessageBoxHook(std::function<int(const MessageBoxCall&)> hook);
void setOpenHook(std::function<void(const std::string& target)> hook);

}  // namespace platform
