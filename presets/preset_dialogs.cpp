#include "presets/preset_dialogs.h"

#include <vector>

#include "presets/preset_files.h"
#include "presets/program_images.h"

namespace {

constexpr const char* kMimeType = "application/octet-stream";

const FileRequest kFxpSave = {FileDialogStyle::save, "Save a fxp program", "Program file", "fxp", kMimeType};
const FileRequest kFxpLoad = {FileDialogStyle::open, "Load a fxp program (.fxp file)", "Program file (.fxp file)",
                              "fxp", kMimeType};
const FileRequest kFxbSave = {FileDialogStyle::save, "Save a fxb bank", "Program bank", "fxb", kMimeType};
const FileRequest kFxbLoad = {FileDialogStyle::open, "Load a fxb bank (.fxb file)", "fxb bank (.fxb file)", "fxb",
                              kMimeType};

void showMessage(DialogServices& services, const char* title, const char* text) {
    if (services.messageBox) services.messageBox(title, text);
}

// The chosen path, or false when there is none or it cannot be held.
bool choosePath(DialogServices& services, const FileRequest& request, std::string& path) {
    path.clear();
    if (!services.chooseFile || !services.chooseFile(request, path) || path.empty()) return false;
    if (path.size() > kMaxPresetPathLength) {
        showMessage(services, kFileErrorTitle, kPathTooLongText);
        return false;
    }
    return true;
}

// A save path: the chosen one with the extension appended when it does not
// end in it.
bool chooseSavePath(DialogServices& services, const FileRequest& request, std::string& path) {
    if (!choosePath(services, request, path)) return false;
    if (!endsWithExtension(path, request.extension)) path = path + "." + request.extension;
    if (path.size() > kMaxPresetPathLength) {
        showMessage(services, kFileErrorTitle, kPathTooLongText);
        return false;
    }
    return true;
}

// A load path: refused with the dialog's message when it does not end in the extension.
bool chooseLoadPath(DialogServices& services, const FileRequest& request, const char* wrongKindText,
                    std::string& path) {
    if (!choosePath(services, request, path)) return false;
    if (!endsWithExtension(path, request.extension)) {
        showMessage(services, "Invalid file selected", wrongKindText);
        return false;
    }
    return true;
}

bool saveImage(DialogServices& services, const std::string& path,
               bool (*save)(ProgramAccess&, unsigned char*, size_t, size_t&), ProgramAccess& plugin) {
    std::vector<unsigned char> image(kImageBufferSize, 0);
    size_t length = 0;
    if (!save(plugin, image.data(), image.size(), length) || !writePresetFile(path, image.data(), length)) {
        showMessage(services, kFileErrorTitle, kCannotWriteText);
        return false;
    }
    return true;
}

bool readImage(DialogServices& services, const std::string& path, std::vector<unsigned char>& image) {
    if (!readPresetFile(path, image)) {
        showMessage(services, kFileErrorTitle, kCannotReadText);
        return false;
    }
    return true;
}

void nameProgramAfterFile(ProgramAccess& plugin, const std::string& path) {
    plugin.setProgramName(programNameFromPath(path).c_str());
    plugin.updateDisplay();
}

}  // namespace

void fxpSaveDialog(ProgramAccess& plugin, DialogServices& services) {
    std::string path;
    if (!chooseSavePath(services, kFxpSave, path)) return;
    if (fileExists(path)) {
        const bool overwrite = services.askYesNo &&
                               services.askYesNo("Warning", "Are you sure that you want to overwrite this file?");
        if (!overwrite) return;
    }
    if (!saveImage(services, path, fxpSaveBytesToBuf, plugin)) return;
    // The file holds the program's previous name; the program takes the file's name now.
    nameProgramAfterFile(plugin, path);
}

void fxpLoadDialog(ProgramAccess& plugin, DialogServices& services) {
    std::string path;
    if (!chooseLoadPath(services, kFxpLoad, "This file can not be loaded! Please select a fxp file!", path)) return;
    std::vector<unsigned char> image;
    if (!readImage(services, path, image)) return;
    // Another plug-in's file is passed over without a word; the program is
    // still named after the file.
    fxpLoadBytesFromBuf(plugin, image.data(), image.size());
    nameProgramAfterFile(plugin, path);
}

void fxbSaveDialog(ProgramAccess& plugin, DialogServices& services) {
    std::string path;
    if (!chooseSavePath(services, kFxbSave, path)) return;
    saveImage(services, path, fxbSaveBytesToBuf, plugin);
}

void fxbLoadDialog(ProgramAccess& plugin, DialogServices& services) {
    std::string path;
    if (!chooseLoadPath(services, kFxbLoad, "This file can not be loaded! Please select a fxb file!", path)) return;
    std::vector<unsigned char> image;
    if (!readImage(services, path, image)) return;
    fxbLoadBytesFromBuf(plugin, image.data(), image.size());
}
