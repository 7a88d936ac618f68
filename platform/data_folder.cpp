#include "platform/data_folder.h"

#include <cerrno>
#include <cstdlib>
#include <sys/stat.h>

namespace platform {

namespace {

bool makeFolders(const std::string& path) {
    if (path.empty()) return false;
    for (size_t slash = path.find('/', 1); ; slash = path.find('/', slash + 1)) {
        std::string part = path.substr(0, slash);
        if (mkdir(part.c_str(), 0755) != 0 && errno != EEXIST) return false;
        if (slash == std::string::npos) break;
    }
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

const char* nonEmpty(const char* name) {
    const char* value = std::getenv(name);
    return (value && *value) ? value : nullptr;
}

}  // namespace

std::string dataFolder() {
    if (const char* dir = nonEmpty("NIMBREL_DATA_DIR")) return dir;
    if (const char* config = nonEmpty("XDG_CONFIG_HOME")) return std::string(config) + "/Nimbrel";
    if (const char* home = nonEmpty("HOME")) return std::string(home) + "/.config/Nimbrel";
    return "/tmp/Nimbrel";
}

std::string dataFilePath(const char* fileName) {
    std::string folder = dataFolder();
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    if (!makeFolders(folder)) return std::string();
    return folder + "/" + fileName;
}

}  // namespace platform
