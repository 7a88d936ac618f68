#include "tools/nimbrel/temporary_files.h"

#include <atomic>
#include <csignal>
#include <cstring>
#include <unistd.h>

namespace {

// Fixed tables: the signal handler may only read memory that is always there,
// and may call only async-signal-safe functions (unlink, kill, raise).
constexpr int kSlots = 64;
constexpr size_t kPathMax = 4096;

struct PathSlot {
    std::atomic<bool> used{false};
    char path[kPathMax];
};
PathSlot paths[kSlots];

std::atomic<pid_t> children[kSlots];

const int kSignals[] = {SIGHUP, SIGINT, SIGQUIT, SIGTERM, SIGPIPE, SIGALRM,
                        SIGUSR1, SIGUSR2, SIGXCPU, SIGXFSZ};

void onTerminationSignal(int signal) {
    for (PathSlot& slot : paths)
        if (slot.used.load()) unlink(slot.path);
    for (std::atomic<pid_t>& child : children) {
        pid_t pid = child.load();
        if (pid > 0) kill(pid, signal);
    }
    // The handler was installed to run once: the signal, raised again, now
    // ends the program as it would have without us.
    raise(signal);
}

}  // namespace

void installTemporaryFileCleanup() {
    for (int signal : kSignals) {
        struct sigaction action {};
        sigaction(signal, nullptr, &action);
        // A signal the caller chose to ignore (nohup) stays ignored.
        if (action.sa_handler == SIG_IGN) continue;
        action = {};
        action.sa_handler = onTerminationSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESETHAND;
        sigaction(signal, &action, nullptr);
    }
}

int rememberTemporaryFile(const char* path) {
    if (!path || std::strlen(path) >= kPathMax) return -1;
    for (int i = 0; i < kSlots; ++i) {
        if (paths[i].used.load()) continue;
        std::strcpy(paths[i].path, path);
        paths[i].used.store(true);
        return i;
    }
    return -1;
}

void forgetTemporaryFile(int slot) {
    if (slot >= 0 && slot < kSlots) paths[slot].used.store(false);
}

int rememberChildProcess(pid_t pid) {
    for (int i = 0; i < kSlots; ++i) {
        pid_t none = 0;
        if (children[i].compare_exchange_strong(none, pid)) return i;
    }
    return -1;
}

void forgetChildProcess(int slot) {
    if (slot >= 0 && slot < kSlots) children[slot].store(0);
}

void forgetAllChildProcesses() {
    for (std::atomic<pid_t>& child : children) child.store(0);
}
