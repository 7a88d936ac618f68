#pragma once
// The trace log: a plain text file in the per-user data folder. Every call
// opens, writes and closes it; a folder that cannot be written drops the line.
// Never called from the audio thread.

// Truncates the log and writes its header (date, then time of day).
void startLog();
// Appends one line: wall-clock seconds and microseconds, a tab, the text.
void printLog(const char* text);
