// The preset dialogs wired to the toolkit's file selector and the desktop's
// message boxes, answered through their test hooks.
#include <gtest/gtest.h>

#include "gui/cfileselector.h"
#include "platform/dialogs.h"
#include "presets/core_access.h"
#include "presets/toolkit_dialogs.h"
#include "tests/presets/images.h"
#include "tests/presets/support.h"

using VSTGUI::CNewFileSelector;

namespace {

struct Hooks {
    std::vector<std::string> answers;  // paths to choose, in turn; "" cancels
    std::vector<std::string> seen;     // one line per selector run
    std::vector<platform::MessageBoxCall> boxes;
    int boxAnswer = kMessageBoxAlternate;

    Hooks() {
        CNewFileSelector::setTestHook([this](const CNewFileSelector& s, std::string& path) {
            std::string line = s.getStyle() == CNewFileSelector::kSelectSaveFile ? "save|" : "open|";
            line += s.getTitle();
            for (const auto& e : s.getFileExtensions())
                line += std::string("|") + e.getDescription() + "|" + e.getExtension() + "|" + e.getMimeType();
            if (const auto* d = s.getDefaultExtension())
                line += std::string("|default ") + d->getDescription() + "|" + d->getExtension() + "|" + d->getMimeType();
            seen.push_back(line);
            path = answers.empty() ? "" : answers.front();
            if (!answers.empty()) answers.erase(answers.begin());
            return !path.empty();
        });
        platform::setMessageBoxHook([this](const platform::MessageBoxCall& call) {
            boxes.push_back(call);
            return boxAnswer;
        });
    }
    ~Hooks() {
        CNewFileSelector::setTestHook(nullptr);
        platform::setMessageBoxHook(nullptr);
    }
};

}  // namespace

TEST(ToolkitDialogs, SelectorGetsTheDialogsFilterAndDefault) {
    Hooks hooks;
    auto effect = makeInstance();
    CoreProgramAccess access(*effect);
    DialogServices services = toolkitDialogServices(nullptr);
    fxpSaveDialog(access, services);
    fxbLoadDialog(access, services);
    EXPECT_EQ(hooks.seen, (std::vector<std::string>{
                              "save|Save a fxp program|Program file|fxp|application/octet-stream"
                              "|default Program file|fxp|",
                              "open|Load a fxb bank (.fxb file)|fxb bank (.fxb file)|fxb|application/octet-stream"
                              "|default fxb bank (.fxb file)|fxb|"}));
    EXPECT_TRUE(hooks.boxes.empty());
}

TEST(ToolkitDialogs, MessagesAndTheOverwriteQuestionReachTheDesktop) {
    TempDir dir;
    Hooks hooks;
    auto effect = makeInstance();
    CoreProgramAccess access(*effect);
    DialogServices services = toolkitDialogServices(nullptr);
    writeBytes(dir.path("old.fxp"), {'o', 'l', 'd'});
    // A text with a per cent sign must be shown as it is.
    writeBytes(dir.path("100%s.txt"), {});
    hooks.answers = {dir.path("old.fxp"), dir.path("100%s.txt")};
    fxpSaveDialog(access, services);  // answered "No"
    fxpLoadDialog(access, services);

    ASSERT_EQ(hooks.boxes.size(), 2u);
    EXPECT_EQ(hooks.boxes[0].title, "Warning");
    EXPECT_EQ(hooks.boxes[0].message, "Are you sure that you want to overwrite this file?");
    EXPECT_EQ(hooks.boxes[0].defaultButton, "Yes");
    EXPECT_EQ(hooks.boxes[1].title, "Invalid file selected");
    EXPECT_EQ(hooks.boxes[1].message, "This file can not be loaded! Please select a fxp file!");
    EXPECT_EQ(readBytes(dir.path("old.fxp")), Bytes({'o', 'l', 'd'}));

    hooks.boxAnswer = kMessageBoxDefault;  // "Yes"
    hooks.answers = {dir.path("old.fxp")};
    fxpSaveDialog(access, services);
    EXPECT_EQ(readBytes(dir.path("old.fxp")).size(), 328u);
    EXPECT_EQ(storedName(*effect, 0), "old");
}
