#include "tools/nimbrel/preset_commands.h"

#include <vector>

#include "presets/preset_files.h"
#include "presets/program_images.h"
#include "tools/nimbrel/audio_file.h"
#include "tools/vsthost/effect_access.h"

namespace {

std::string fourCharsAt(const std::string& bytes, size_t at) {
    std::string s = bytes.substr(at, 4);
    for (char& c : s)
        if (static_cast<unsigned char>(c) < 32 || static_cast<unsigned char>(c) > 126) c = '?';
    return s;
}

bool loadFile(PluginHost& host, const std::string& path, bool bank, std::string& error) {
    std::vector<unsigned char> data;
    if (!readPresetFile(path, data)) {
        const std::string reason = unreadableFileReason(path);
        error = "cannot read " + path + ": " + (reason.empty() ? "it is larger than any program or bank file" : reason);
        return false;
    }
    const std::string bytes(data.begin(), data.end());
    const std::string problem = presetFileProblem(bytes, bank);
    if (!problem.empty()) {
        error = path + ": " + problem;
        return false;
    }
    EffectProgramAccess plugin(host.effect());
    const bool loaded = bank ? fxbLoadBytesFromBuf(plugin, data.data(), data.size())
                             : fxpLoadBytesFromBuf(plugin, data.data(), data.size());
    if (!loaded) {
        error = path + ": the file is damaged (it ends before the " +
                std::string(bank ? "programs" : "values") + " it announces)";
        return false;
    }
    return true;
}

}  // namespace

std::string presetFileProblem(const std::string& bytes, bool bank) {
    if (bytes.size() < 28 || bytes.compare(0, 4, "CcnK") != 0) return "not a VST preset file";
    const std::string kind = fourCharsAt(bytes, 8);
    const std::string id = fourCharsAt(bytes, 16);
    if (id != "OvRV") return "a preset of another plug-in (ID '" + id + "'), not of Nimbrel ('OvRV')";
    if (kind == "FPCh" || kind == "FBCh") return "holds an opaque chunk, which Nimbrel does not use";
    if (bank && kind == "FxCk") return "a program file; load it with --preset";
    if (!bank && kind == "FxBk") return "a bank file; load it with --bank";
    if (kind != (bank ? "FxBk" : "FxCk")) return "an unknown kind of preset file ('" + kind + "')";
    return "";
}

bool loadBankOption(PluginHost& host, const PresetFileOptions& options, std::string& error) {
    return options.bankFile.empty() || loadFile(host, options.bankFile, true, error);
}

bool loadProgramOption(PluginHost& host, const PresetFileOptions& options, std::string& error) {
    return options.programFile.empty() || loadFile(host, options.programFile, false, error);
}

bool savePresetFile(PluginHost& host, const std::string& path, bool bank, std::string& written,
                    std::string& error) {
    const char* extension = bank ? "fxb" : "fxp";
    written = endsWithExtension(path, extension) ? path : path + "." + extension;
    EffectProgramAccess plugin(host.effect());
    std::vector<unsigned char> image(kImageBufferSize, 0);
    size_t length = 0;
    if (!(bank ? fxbSaveBytesToBuf : fxpSaveBytesToBuf)(plugin, image.data(), image.size(), length)) {
        error = "cannot build the image";
        return false;
    }
    if (!writePresetFile(written, image.data(), length)) {
        error = "cannot write " + written;
        return false;
    }
    return true;
}
