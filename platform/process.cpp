#include "platform/process.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace platform {

std::string findProgram(const std::string& program) {
    if (program.empty()) return "";
    if (program.find('/') != std::string::npos) return access(program.c_str(), X_OK) == 0 ? program : "";
    const char* path = std::getenv("PATH");
    std::string dirs = path ? path : "/usr/local/bin:/usr/bin:/bin";
    size_t start = 0;
    while (start <= dirs.size()) {
        size_t end = dirs.find(':', start);
        if (end == std::string::npos) end = dirs.size();
        std::string dir = dirs.substr(start, end - start);
        if (dir.empty()) dir = ".";
        std::string candidate = dir + "/" + program;
        struct stat st;
        if (stat(candidate.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(candidate.c_str(), X_OK) == 0)
            return candidate;
        start = end + 1;
    }
    return "";
}

namespace {

// argv as the C array exec wants; the strings stay owned by `args`.
std::vector<char*> cArgv(const std::vector<std::string>& args) {
    std::vector<char*> out;
    out.reserve(args.size() + 1);
    for (const std::string& a : args) out.push_back(const_cast<char*>(a.c_str()));
    out.push_back(nullptr);
    return out;
}

// Waits for the child; a host that ignores SIGCHLD makes the child vanish
// unreported (ECHILD), which counts as "did not exit normally".
int waitExit(pid_t pid) {
    int status = 0;
    for (;;) {
        pid_t r = waitpid(pid, &status, 0);
        if (r == pid) break;
        if (r < 0 && errno == EINTR) continue;
        return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

int runProgram(const std::vector<std::string>& argv, std::string* output) {
    if (argv.empty()) return -1;
    std::string path = findProgram(argv[0]);
    if (path.empty()) return -1;
    std::vector<char*> args = cArgv(argv);

    int pipeFd[2] = {-1, -1};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (output) {
        if (pipe2(pipeFd, O_CLOEXEC) != 0) {
            posix_spawn_file_actions_destroy(&actions);
            return -1;
        }
        posix_spawn_file_actions_adddup2(&actions, pipeFd[1], STDOUT_FILENO);
    }
    // The child starts with default signal handling, whatever the host set.
    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    sigset_t all, none;
    sigfillset(&all);
    sigemptyset(&none);
    posix_spawnattr_setsigdefault(&attr, &all);
    posix_spawnattr_setsigmask(&attr, &none);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);

    pid_t pid = -1;
    int rc = posix_spawn(&pid, path.c_str(), &actions, &attr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attr);
    if (output) close(pipeFd[1]);
    if (rc != 0) {
        if (output) close(pipeFd[0]);
        return -1;
    }
    if (output) {
        char buf[4096];
        for (;;) {
            ssize_t n = read(pipeFd[0], buf, sizeof buf);
            if (n > 0) { output->append(buf, static_cast<size_t>(n)); continue; }
            if (n < 0 && errno == EINTR) continue;
            break;
        }
        close(pipeFd[0]);
    }
    return waitExit(pid);
}

bool startDetached(const std::vector<std::string>& argv) {
    if (argv.empty()) return false;
    std::string path = findProgram(argv[0]);
    if (path.empty()) return false;
    std::vector<char*> args = cArgv(argv);
    // Double fork: the grandchild runs the program and is adopted by init, so
    // nothing is left for us to reap. Between fork and exec only
    // async-signal-safe calls.
    pid_t pid = fork();
    if (pid < 0) return false;
    if (pid == 0) {
        setsid();
        sigset_t none;
        sigemptyset(&none);
        sigprocmask(SIG_SETMASK, &none, nullptr);
        int devnull = open("/dev/null", O_RDWR);
        if (devnull >= 0) { dup2(devnull, STDIN_FILENO); }
        pid_t grandchild = fork();
        if (grandchild == 0) {
            execv(path.c_str(), args.data());
            _exit(127);
        }
        _exit(grandchild < 0 ? 1 : 0);
    }
    return waitExit(pid) == 0;
}

}  // namespace platform
