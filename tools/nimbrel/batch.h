#pragma once
// Many files through the same settings: `nimbrel render IN... --out-dir DIR`.
#include <string>
#include <vector>

#include "tools/nimbrel/render_job.h"

// The most renders run at once.
constexpr int kMaxJobs = 64;

// The files to render: each file as given, each folder's audio files (by
// name, not descending into subfolders). False with `error` for a folder
// that cannot be read or that holds no audio file.
bool collectBatchInputs(const std::vector<std::string>& given, std::vector<std::string>& inputs,
                        std::string& error);

// Where a batch writes the render of `input`: DIR/NAME, with ".wav" for a
// type the command line cannot write.
std::string batchOutputPath(const std::string& input, const std::string& outDir);

// Renders every input into outDir, `jobs` at a time, each in a process of its
// own so that one file's failure (or crash) leaves the others alone. One line
// per file: on standard output when done (unless `quiet`), on standard error
// when it failed. Returns how many failed.
int renderBatch(const RenderJob& job, const std::vector<std::string>& inputs, const std::string& outDir, int jobs,
                bool quiet);
