#include "platform/dialogs.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/process.h"

namespace platform {
namespace {

std::function<int(const MessageBoxCall&)>& messageBoxHook() {
    static std::function<int(const MessageBoxCall&)> hook;
    return hook;
}
std::function<void(const std::string&)>& openHook() {
    static std::function<void(const std::string&)> hook;
    return hook;
}

bool haveDisplay() {
    const char* x = std::getenv("DISPLAY");
    const char* w = std::getenv("WAYLAND_DISPLAY");
    return (x && *x) || (w && *w);
}

// One line on standard error: the texts flattened onto it.
void reportNotShown(const char* what, const std::string& why, const std::string& text) {
    std::string line = text;
    for (char& c : line)
        if (c == '\n' || c == '\r') c = ' ';
    std::fprintf(stderr, "%s not shown (%s): %s\n", what, why.c_str(), line.c_str());
}

// The dialog program reads backslash escapes in its texts; doubling each
// backslash makes it show the text as given.
std::string literalText(const char* text) {
    std::string out;
    for (const char* p = text ? text : ""; *p; ++p) {
        if (*p == '\\') out += '\\';
        out += *p;
    }
    return out;
}

}  // namespace

void setMessageBoxHook(std::function<int(const MessageBoxCall&)> hook) { messageBoxHook() = std::move(hook); }
void setOpenHook(std::function<void(const std::string&)> hook) { openHook() = std::move(hook); }

bool chooseFile(bool save, const std::string& title, const std::vector<FileFilter>& filters,
                const std::string& initialPath, std::string& path) {
    path.clear();
    if (!haveDisplay()) {
        reportNotShown("file chooser", "no display", title);
        return false;
    }
    if (findProgram("zenity").empty()) {
        reportNotShown("file chooser", "zenity is not installed", title);
        return false;
    }
    std::vector<std::string> argv = {"zenity", "--file-selection", "--title=" + title};
    if (save) argv.push_back("--save");
    if (!initialPath.empty()) argv.push_back("--filename=" + initialPath);
    for (const FileFilter& f : filters) {
        std::string name = f.description;
        for (char& c : name)
            if (c == '|') c = '/';  // '|' separates the name from the patterns
        argv.push_back("--file-filter=" + name + " | *." + f.extension);
    }
    if (!filters.empty()) argv.push_back("--file-filter=All files | *");

    std::string out;
    int status = runProgram(argv, &out);
    if (status != 0) {
        if (status != 1) reportNotShown("file chooser", "the dialog program failed", title);
        return false;
    }
    if (!out.empty() && out.back() == '\n') out.pop_back();
    if (out.empty()) return false;
    path = out;
    return true;
}

}  // namespace platform

using platform::MessageBoxCall;

int showMessageBox(const char* title, const char* message, const char* defaultButton,
                   const char* alternateButton, int style) {
    MessageBoxCall call;
    call.title = title ? title : "";
    call.message = message ? message : "";
    call.defaultButton = defaultButton ? defaultButton : "";
    call.alternateButton = alternateButton ? alternateButton : "";
    call.style = style;
    if (platform::messageBoxHook()) return platform::messageBoxHook()(call);

    if (!platform::haveDisplay()) {
        platform::reportNotShown("message box", "no display", call.title + ": " + call.message);
        return kMessageBoxError;
    }
    if (platform::findProgram("zenity").empty()) {
        platform::reportNotShown("message box", "zenity is not installed", call.title + ": " + call.message);
        return kMessageBoxError;
    }
    std::vector<std::string> argv = {"zenity"};
    const bool twoButtons = !call.alternateButton.empty();
    if (twoButtons) {
        argv.push_back("--question");
        argv.push_back("--cancel-label=" + call.alternateButton);
        if (style == kCriticalStyle) argv.push_back("--icon-name=dialog-error");
    } else if (style == kInformationalStyle) {
        argv.push_back("--info");
    } else if (style == kCriticalStyle) {
        argv.push_back("--error");
    } else {
        argv.push_back("--warning");
    }
    argv.push_back("--title=" + call.title);
    argv.push_back("--text=" + platform::literalText(call.message.c_str()));
    argv.push_back("--ok-label=" + call.defaultButton);
    argv.push_back("--no-markup");

    int status = platform::runProgram(argv);
    if (status == 0) return kMessageBoxDefault;
    if (status == 1) return kMessageBoxAlternate;  // the alternate button, or the box was closed
    platform::reportNotShown("message box", "the dialog program failed", call.title + ": " + call.message);
    return kMessageBoxError;
}

int MessBox(const char* title, const char* format, ...) {
    char text[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format ? format : "", args);
    va_end(args);
    return showMessageBox(title, text, "Ok", "", kInformationalStyle);
}

bool MessBoxYesNo(const char* title, const char* format, ...) {
    char text[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format ? format : "", args);
    va_end(args);
    return showMessageBox(title, text, "Yes", "No", kAlertStyle) > 0;
}

namespace {

// Hands a URL or a file to the desktop without waiting.
void openWithDesktop(const std::string& target) {
    if (platform::openHook()) {
        platform::openHook()(target);
        return;
    }
    if (!platform::startDetached({"xdg-open", target}))
        platform::reportNotShown("document", "xdg-open could not be started", target);
}

bool isWebAddress(const char* address) {
    if (!address) return false;
    const char* schemes[] = {"http://", "https://", "file://"};
    bool known = false;
    for (const char* s : schemes)
        if (std::strncmp(address, s, std::strlen(s)) == 0 && address[std::strlen(s)] != '\0') known = true;
    if (!known) return false;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(address); *p; ++p)
        if (*p <= ' ' || *p >= 127) return false;  // blanks, control and non-ASCII bytes do not form an address
    return true;
}

}  // namespace

void showURL(const char* address) {
    if (!isWebAddress(address)) return;
    openWithDesktop(address);
}

void showDocument(const char* path) {
    if (!path || !*path) return;
    std::string target = path;
    if (target[0] == '-') target = "./" + target;  // never read as an option
    openWithDesktop(target);
}
