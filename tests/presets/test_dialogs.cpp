// The four preset dialogs with a scripted file selector and message boxes,
// on real files in a folder of their own.
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <dirent.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include "presets/core_access.h"
#include "presets/preset_dialogs.h"
#include "tests/presets/images.h"
#include "tests/presets/support.h"

namespace {

struct Shown {
    std::string title, text;
};

// Answers the selector with the next scripted path (an empty one cancels)
// and the question with `yes`; records what was asked and shown.
struct Script {
    std::vector<std::string> paths;
    bool yes = false;
    std::vector<FileRequest> requests;
    std::vector<Shown> messages, questions;

    DialogServices services() {
        DialogServices s;
        s.chooseFile = [this](const FileRequest& r, std::string& path) {
            requests.push_back(r);
            if (paths.empty() || paths.front().empty()) return false;
            path = paths.front();
            paths.erase(paths.begin());
            return true;
        };
        s.messageBox = [this](const char* title, const char* text) { messages.push_back({title, text}); };
        s.askYesNo = [this](const char* title, const char* text) {
            questions.push_back({title, text});
            return yes;
        };
        return s;
    }
};

using Dialog = void (*)(ProgramAccess&, DialogServices&);

void run(Dialog dialog, OvCore& effect, Script& script) {
    CoreProgramAccess access(effect);
    DialogServices services = script.services();
    dialog(access, services);
}

std::vector<std::string> filesIn(const std::string& dir) {
    std::vector<std::string> names;
    if (DIR* d = ::opendir(dir.c_str())) {
        while (dirent* e = ::readdir(d))
            if (e->d_name[0] != '.') names.push_back(e->d_name);
        ::closedir(d);
    }
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

TEST(PresetDialogs, SelectorTexts) {
    struct Row {
        Dialog dialog;
        FileDialogStyle style;
        const char *title, *description, *extension;
    } rows[] = {
        {fxpSaveDialog, FileDialogStyle::save, "Save a fxp program", "Program file", "fxp"},
        {fxpLoadDialog, FileDialogStyle::open, "Load a fxp program (.fxp file)", "Program file (.fxp file)", "fxp"},
        {fxbSaveDialog, FileDialogStyle::save, "Save a fxb bank", "Program bank", "fxb"},
        {fxbLoadDialog, FileDialogStyle::open, "Load a fxb bank (.fxb file)", "fxb bank (.fxb file)", "fxb"},
    };
    auto effect = makeInstance();
    const PluginState fresh = stateOf(*effect);
    for (const Row& row : rows) {
        Script script;  // cancels: nothing may happen
        run(row.dialog, *effect, script);
        ASSERT_EQ(script.requests.size(), 1u);
        const FileRequest& r = script.requests[0];
        EXPECT_EQ(r.style, row.style);
        EXPECT_STREQ(r.title, row.title);
        EXPECT_STREQ(r.description, row.description);
        EXPECT_STREQ(r.extension, row.extension);
        EXPECT_STREQ(r.mimeType, "application/octet-stream");
        EXPECT_TRUE(script.messages.empty() && script.questions.empty());
    }
    EXPECT_EQ(stateOf(*effect), fresh);
}

TEST(PresetDialogs, SavingAppendsTheExtensionAndNamesTheProgramAfterTheFile) {
    TempDir dir;
    auto effect = makeInstance();
    Script script;
    script.paths = {dir.path("song"), dir.path("set.fxb"), dir.path("set.fxb"), dir.path("bank")};
    run(fxpSaveDialog, *effect, script);
    const Bytes song = readBytes(dir.path("song.fxp"));
    ASSERT_EQ(song.size(), 328u);
    EXPECT_STREQ(reinterpret_cast<const char*>(&song[28]), "MIX Welcome!");  // the name before saving
    EXPECT_EQ(storedName(*effect, 0), "song");

    run(fxpSaveDialog, *effect, script);  // a program saved under a bank's name
    EXPECT_EQ(readBytes(dir.path("set.fxb.fxp")).size(), 328u);
    EXPECT_EQ(storedName(*effect, 0), "set.fxb");

    run(fxbSaveDialog, *effect, script);
    run(fxbSaveDialog, *effect, script);
    EXPECT_EQ(readBytes(dir.path("set.fxb")).size(), 59196u);
    EXPECT_EQ(readBytes(dir.path("bank.fxb")).size(), 59196u);
    EXPECT_EQ(storedName(*effect, 0), "set.fxb");  // a bank renames nothing
    EXPECT_EQ(filesIn(dir.dir()), (std::vector<std::string>{"bank.fxb", "set.fxb", "set.fxb.fxp", "song.fxp"}));
    EXPECT_TRUE(script.messages.empty() && script.questions.empty());
}

TEST(PresetDialogs, OverwritingAProgramFileIsAskedForABankIsNot) {
    TempDir dir;
    auto effect = makeInstance();
    const Bytes old = {'o', 'l', 'd'};
    writeBytes(dir.path("keep.fxp"), old);
    writeBytes(dir.path("keep.fxb"), old);

    Script no;
    no.paths = {dir.path("keep.fxp")};
    run(fxpSaveDialog, *effect, no);
    ASSERT_EQ(no.questions.size(), 1u);
    EXPECT_EQ(no.questions[0].title, "Warning");
    EXPECT_EQ(no.questions[0].text, "Are you sure that you want to overwrite this file?");
    EXPECT_EQ(readBytes(dir.path("keep.fxp")), old);
    EXPECT_EQ(storedName(*effect, 0), "MIX Welcome!");

    Script yes;
    yes.yes = true;
    yes.paths = {dir.path("keep.fxp"), dir.path("keep.fxb")};
    run(fxpSaveDialog, *effect, yes);
    run(fxbSaveDialog, *effect, yes);
    EXPECT_EQ(yes.questions.size(), 1u);
    EXPECT_EQ(readBytes(dir.path("keep.fxp")).size(), 328u);
    EXPECT_EQ(readBytes(dir.path("keep.fxb")).size(), 59196u);
    EXPECT_EQ(storedName(*effect, 0), "keep");
}

TEST(PresetDialogs, LoadingAProgramTakesTheFilesName) {
    TempDir dir;
    auto effect = makeInstance();
    writeBytes(dir.path("presetfxp"), programImage("In file", std::vector<float>(68, 0.5f)));
    writeBytes(dir.path("other.fxp"), programImage("Theirs", std::vector<float>(68, 0.25f), 68, "XyZw"));
    writeBytes(dir.path("empty.fxp"), programImage("Nothing", {}, 0));
    writeBytes(dir.path("notes.txt"), programImage("Text", std::vector<float>(68, 0.75f)));

    Script script;
    script.paths = {dir.path("notes.txt")};
    const PluginState fresh = stateOf(*effect);
    run(fxpLoadDialog, *effect, script);
    ASSERT_EQ(script.messages.size(), 1u);
    EXPECT_EQ(script.messages[0].title, "Invalid file selected");
    EXPECT_EQ(script.messages[0].text, "This file can not be loaded! Please select a fxp file!");
    EXPECT_EQ(stateOf(*effect), fresh);

    // No dot needed; the name is the base name less its last four characters.
    script.paths = {dir.path("presetfxp")};
    run(fxpLoadDialog, *effect, script);
    EXPECT_EQ(effect->paramValues[3].load(), 0.5f);
    EXPECT_EQ(storedName(*effect, 0), "prese");

    // Another plug-in's file and a file without values: values kept, name taken, nothing shown.
    const PluginState loaded = stateOf(*effect);
    script.paths = {dir.path("other.fxp"), dir.path("empty.fxp")};
    run(fxpLoadDialog, *effect, script);
    EXPECT_EQ(storedName(*effect, 0), "other");
    run(fxpLoadDialog, *effect, script);
    EXPECT_EQ(storedName(*effect, 0), "empty");
    EXPECT_EQ(stateOf(*effect).live, loaded.live);
    EXPECT_EQ(stateOf(*effect).stored, loaded.stored);
    EXPECT_EQ(script.messages.size(), 1u);
}

TEST(PresetDialogs, LoadingABankSelectsProgramZeroAndRenamesNothing) {
    TempDir dir;
    auto effect = makeInstance();
    writeBytes(dir.path("two.fxb"),
               bankImage(2, {programImage("First", std::vector<float>(68, 0.5f)),
                             programImage("Second", std::vector<float>(68, 0.25f))}));
    effect->setProgram(8);
    Script script;
    script.paths = {dir.path("two.fxp"), dir.path("two.fxb")};
    run(fxbLoadDialog, *effect, script);
    ASSERT_EQ(script.messages.size(), 1u);
    EXPECT_EQ(script.messages[0].text, "This file can not be loaded! Please select a fxb file!");
    EXPECT_EQ(effect->getProgram(), 8);

    run(fxbLoadDialog, *effect, script);
    EXPECT_EQ(effect->getProgram(), 0);
    EXPECT_EQ(storedName(*effect, 0), "First");
    EXPECT_EQ(storedName(*effect, 1), "Second");
    EXPECT_EQ(storedName(*effect, 2), "MIX Chillout");
    EXPECT_EQ(effect->paramValues[0].load(), 0.5f);
}

TEST(PresetDialogs, FilesThatCannotBeReadOrWrittenAreShownAndChangeNothing) {
    TempDir dir;
    auto effect = makeInstance();
    ::mkdir(dir.path("folder.fxp").c_str(), 0755);
    const std::string tooLong = dir.path(std::string(600, 'x') + ".fxp");
    const PluginState fresh = stateOf(*effect);

    Script script;
    script.paths = {dir.path("missing.fxp"), dir.path("folder.fxp"), tooLong};
    for (int i = 0; i < 3; ++i) run(fxpLoadDialog, *effect, script);
    script.paths = {dir.path("no/such/folder/x.fxp"), tooLong};
    run(fxpSaveDialog, *effect, script);
    run(fxpSaveDialog, *effect, script);
    script.paths = {dir.path("no/such/folder/x.fxb"), dir.path("folder.fxp")};
    run(fxbSaveDialog, *effect, script);
    run(fxbLoadDialog, *effect, script);  // wrong kind before anything is read

    std::vector<std::string> texts;
    for (const Shown& m : script.messages) texts.push_back(m.text);
    EXPECT_EQ(texts, (std::vector<std::string>{kCannotReadText, kCannotReadText, kPathTooLongText,
                                                kCannotWriteText, kPathTooLongText, kCannotWriteText,
                                                "This file can not be loaded! Please select a fxb file!"}));
    EXPECT_EQ(stateOf(*effect), fresh);
    EXPECT_EQ(filesIn(dir.dir()), std::vector<std::string>{"folder.fxp"});
}

TEST(PresetDialogs, AFailedSaveKeepsTheOldFile) {
    TempDir dir;
    auto effect = makeInstance();
    const Bytes good = programImage("Good", std::vector<float>(68, 0.5f));
    writeBytes(dir.path("good.fxb"), good);

    // The file-size limit makes the write fail part way through the bank.
    rlimit saved;
    ::getrlimit(RLIMIT_FSIZE, &saved);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 1000;
    ::setrlimit(RLIMIT_FSIZE, &small);
    Script script;
    script.paths = {dir.path("good.fxb")};
    run(fxbSaveDialog, *effect, script);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    ASSERT_EQ(script.messages.size(), 1u);
    EXPECT_EQ(script.messages[0].text, kCannotWriteText);
    EXPECT_EQ(readBytes(dir.path("good.fxb")), good);
    EXPECT_EQ(filesIn(dir.dir()), std::vector<std::string>{"good.fxb"});
}
