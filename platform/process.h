#pragma once
// Starting programs without a shell: every text is one argument, never
// interpreted. The program is looked up in PATH unless it contains a slash.
#include <string>
#include <vector>

namespace platform {

// The full path of `program` found through PATH, or "" when there is none.
std::string findProgram(const std::string& program);

// Runs argv[0] with the arguments, waits for it and returns its exit status
// (0..255), or -1 if it could not be started or did not exit normally. When
// `output` is given, the program's standard output is collected into it.
int runProgram(const std::vector<std::string>& argv, std::string* output = nullptr);

// Starts argv[0] and does not wait for it (it is not left as a zombie either);
// returns false if it could not be started.
bool startDetached(const std::vector<std::string>& argv);

}  // namespace platform
