#pragma once
// Each test process keeps the trace log and the editor's marker file in a
// fresh folder of its own, never in a user's real one.
#include <cstdlib>
#include <string>
#include <unistd.h>

inline const std::string& privateDataFolder() {
    static const std::string folder = [] {
        char pattern[] = "/tmp/nimbrel-test-XXXXXX";
        const char* made = mkdtemp(pattern);
        std::string path = made ? made : "/tmp";
        setenv("NIMBREL_DATA_DIR", path.c_str(), 1);
        return path;
    }();
    return folder;
}
