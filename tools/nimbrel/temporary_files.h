#pragma once
// Files that must not outlive an interrupted run: a render writes to a
// temporary name and renames it into place at the end; if the program is
// stopped by a signal in between (Ctrl-C, kill, a closed terminal), the
// temporary file is removed before the program ends as the signal says.
#include <sys/types.h>

// Installs the handlers for the usual termination signals (hang-up,
// interrupt, quit, terminate, broken pipe, alarm, user signals, CPU and file
// size limits). Safe to call more than once.
void installTemporaryFileCleanup();

// Registers a path to remove on such a signal; returns a slot for
// forgetTemporaryFile, or -1 when the table is full or the path too long
// (the file is then only removed by its owner).
int rememberTemporaryFile(const char* path);
void forgetTemporaryFile(int slot);

// A child process to pass such a signal on to (a batch's workers), so that
// each removes its own temporary file. Returns a slot, or -1.
int rememberChildProcess(pid_t pid);
void forgetChildProcess(int slot);
// For a newly forked worker: its parent's children are not its own.
void forgetAllChildProcesses();
