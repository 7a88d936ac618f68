#include "tools/nimbrel/batch.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <map>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "tools/nimbrel/temporary_files.h"

namespace {

// What a folder's files must end in to be taken as audio.
const char* const kAudioExtensions[] = {"wav", "wave", "aif", "aiff", "aifc", "flac", "ogg", "oga",
                                        "caf", "w64", "rf64", "au", "snd", "mp3"};

bool isFolder(const std::string& path) {
    struct stat status {};
    return stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

// One whole line in one write: workers print side by side without mixing lines.
void printLine(int fd, const std::string& text) {
    const std::string line = text + "\n";
    size_t done = 0;
    while (done < line.size()) {
        const ssize_t n = ::write(fd, line.data() + done, line.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return;
        done += static_cast<size_t>(n);
    }
}

// The work of one worker process: returns its exit status.
int renderOne(const RenderJob& job, const std::string& input, const std::string& output, bool quiet) {
    AudioFileReader reader;
    std::string error, note;
    if (!reader.open(input, error, note)) {
        printLine(STDERR_FILENO, "nimbrel: " + input + ": " + error);
        return 1;
    }
    const RenderOutcome outcome = renderToFile(job, reader, output, false);
    if (!outcome.ok) {
        printLine(STDERR_FILENO, "nimbrel: " + input + ": " + outcome.error);
        return 1;
    }
    char figures[96];
    std::snprintf(figures, sizeof figures, ": %.2f s at %d Hz", outcome.seconds, outcome.sampleRate);
    std::string line = input + " -> " + output + figures;
    if (!note.empty()) line += " (" + note + ")";
    const std::string clipped = clippingWarning(output, outcome.clipping);
    if (!quiet) printLine(STDOUT_FILENO, line + (clipped.empty() ? "" : "; " + clipped.substr(output.size() + 2)));
    else if (!clipped.empty()) printLine(STDERR_FILENO, "nimbrel: warning: " + clipped);
    return 0;
}

}  // namespace

bool collectBatchInputs(const std::vector<std::string>& given, std::vector<std::string>& inputs,
                        std::string& error) {
    for (const std::string& path : given) {
        if (!isFolder(path)) {
            inputs.push_back(path);
            continue;
        }
        DIR* folder = opendir(path.c_str());
        if (!folder) {
            error = "cannot read the folder " + path + ": " + std::strerror(errno);
            return false;
        }
        std::vector<std::string> found;
        while (const dirent* entry = readdir(folder)) {
            const std::string name = entry->d_name;
            const std::string full = path + (path.back() == '/' ? "" : "/") + name;
            const std::string ext = fileExtension(name);
            if (name[0] == '.' || isFolder(full)) continue;
            if (std::find(std::begin(kAudioExtensions), std::end(kAudioExtensions), ext) != std::end(kAudioExtensions))
                found.push_back(full);
        }
        closedir(folder);
        if (found.empty()) {
            error = "the folder " + path + " holds no audio files";
            return false;
        }
        std::sort(found.begin(), found.end());
        inputs.insert(inputs.end(), found.begin(), found.end());
    }
    return true;
}

std::string batchOutputPath(const std::string& input, const std::string& outDir) {
    const size_t slash = input.rfind('/');
    std::string name = slash == std::string::npos ? input : input.substr(slash + 1);
    if (!writableFileType(name)) {
        const size_t dot = name.rfind('.');
        name = (dot == std::string::npos || dot == 0 ? name : name.substr(0, dot)) + ".wav";
    }
    return outDir + (outDir.back() == '/' ? "" : "/") + name;
}

int renderBatch(const RenderJob& job, const std::vector<std::string>& inputs, const std::string& outDir, int jobs,
                bool quiet) {
    std::map<pid_t, std::pair<size_t, int>> running;  // worker -> input, slot of the worker table
    size_t next = 0;
    int failed = 0;
    while (next < inputs.size() || !running.empty()) {
        while (next < inputs.size() && static_cast<int>(running.size()) < jobs) {
            // Nothing buffered may be printed twice, by the parent and by a worker.
            std::fflush(stdout);
            std::fflush(stderr);
            const std::string& input = inputs[next];
            const pid_t pid = fork();
            if (pid == 0) {
                forgetAllChildProcesses();
                _exit(renderOne(job, input, batchOutputPath(input, outDir), quiet));
            }
            if (pid < 0) {
                printLine(STDERR_FILENO, "nimbrel: " + input + ": cannot start a worker: " + std::strerror(errno));
                ++failed;
            } else {
                running[pid] = {next, rememberChildProcess(pid)};
            }
            ++next;
        }
        if (running.empty()) continue;
        int status = 0;
        const pid_t done = waitpid(-1, &status, 0);
        if (done < 0) {
            if (errno == EINTR) continue;
            break;
        }
        auto found = running.find(done);
        if (found == running.end()) continue;
        const std::string& input = inputs[found->second.first];
        forgetChildProcess(found->second.second);
        running.erase(found);
        if (WIFSIGNALED(status)) {
            printLine(STDERR_FILENO, "nimbrel: " + input + ": the render stopped: " + strsignal(WTERMSIG(status)));
            ++failed;
        } else if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            ++failed;
        }
    }
    return failed;
}
