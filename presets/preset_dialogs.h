#pragma once
// The four preset dialogs of the editor's file menu: ask for a path, then
// move a program or bank image to or from disk. They reach the file selector
// and the message boxes only through DialogServices, so the editor wires them
// to the toolkit and tests script them.
#include <functional>
#include <string>

#include "presets/program_access.h"

enum class FileDialogStyle { open, save };

// What a file selector is asked to show: one filter (description, extension,
// MIME type) and the same description and extension as the default.
struct FileRequest {
    FileDialogStyle style;
    const char* title;
    const char* description;
    const char* extension;  // without the dot
    const char* mimeType;
};

struct DialogServices {
    // Runs a modal file selector; true with the chosen path, false when none was chosen.
    std::function<bool(const FileRequest& request, std::string& path)> chooseFile;
    // A modal message (title, text) with one button.
    std::function<void(const char* title, const char* text)> messageBox;
    // A modal question (title, text); true exactly for "Yes".
    std::function<bool(const char* title, const char* text)> askYesNo;
};

// Texts of the failures that are not about the file's kind.
constexpr const char* kFileErrorTitle = "File error";
constexpr const char* kCannotReadText = "This file can not be read!";
constexpr const char* kCannotWriteText = "This file can not be written!";
constexpr const char* kPathTooLongText = "The path of this file is too long!";

// Saves the current program to a .fxp file, then names the program after it.
void fxpSaveDialog(ProgramAccess& plugin, DialogServices& services);
// Loads a .fxp file into the current program and names the program after it.
void fxpLoadDialog(ProgramAccess& plugin, DialogServices& services);
// Saves the 180 stored programs to a .fxb file.
void fxbSaveDialog(ProgramAccess& plugin, DialogServices& services);
// Loads a .fxb file into the stored programs and makes program 0 current.
void fxbLoadDialog(ProgramAccess& plugin, DialogServices& services);
