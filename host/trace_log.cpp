#include "host/trace_log.h"

#include <cstdio>
#include <ctime>
#include <string>
#include <sys/time.h>

#include "platform/data_folder.h"

namespace {

std::string logPath() { return platform::dataFilePath("NimbrelLog.txt"); }

}  // namespace

void startLog() {
    std::string path = logPath();
    if (path.empty()) return;
    FILE* f = std::fopen(path.c_str(), "w");
    if (!f) return;
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    std::fprintf(f, "Logfile created on %d %d %d\n", local.tm_mday, local.tm_mon + 1,
                 local.tm_year + 1900);
    std::fprintf(f, "%d:%d:%d\n", local.tm_hour, local.tm_min, local.tm_sec);
    std::fclose(f);
}

void printLog(const char* text) {
    if (!text) return;
    std::string path = logPath();
    if (path.empty()) return;
    FILE* f = std::fopen(path.c_str(), "a");
    if (!f) return;
    timeval tv{};
    gettimeofday(&tv, nullptr);
    std::fprintf(f, "%d %d ms  \t", static_cast<int>(tv.tv_sec), static_cast<int>(tv.tv_usec));
    std::fputs(text, f);
    std::fputc('\n', f);
    std::fclose(f);
}
