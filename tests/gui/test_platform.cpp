// The desktop layer: program starts without a shell, message boxes and the
// file chooser (through a stand-in dialog program), the openers.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

#include "platform/dialogs.h"
#include "platform/process.h"

namespace {

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

// Splits NUL-terminated fields.
std::vector<std::string> fields(const std::string& s) {
    std::vector<std::string> out;
    std::string cur;
    for (char c : s) {
        if (c == '\0') { out.push_back(cur); cur.clear(); }
        else cur += c;
    }
    return out;
}

TEST(Process, ArgumentsAreNeverInterpreted) {
    std::string out;
    EXPECT_EQ(platform::runProgram({"printf", "%s|", "$(echo hi)", "a b", "*", "; rm -rf x", "`id`"}, &out), 0);
    EXPECT_EQ(out, "$(echo hi)|a b|*|; rm -rf x|`id`|");
}

TEST(Process, ExitStatusAndMissingPrograms) {
    EXPECT_EQ(platform::runProgram({"true"}), 0);
    EXPECT_EQ(platform::runProgram({"false"}), 1);
    EXPECT_EQ(platform::runProgram({"no-such-program-here-at-all"}), -1);
    EXPECT_EQ(platform::runProgram({}), -1);
    EXPECT_EQ(platform::findProgram("no-such-program-here-at-all"), "");
    EXPECT_NE(platform::findProgram("sh"), "");
    EXPECT_FALSE(platform::startDetached({"no-such-program-here-at-all"}));
}

TEST(Process, DetachedProgramRunsAndLeavesNoChildBehind) {
    const std::string marker = ::testing::TempDir() + "detached_marker";
    std::remove(marker.c_str());
    ASSERT_TRUE(platform::startDetached({"touch", marker}));
    struct stat st;
    bool found = false;
    for (int i = 0; i < 200 && !found; ++i) {
        found = stat(marker.c_str(), &st) == 0;
        if (!found) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_TRUE(found);
    // Nothing of ours is left to reap.
    EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1);
    std::remove(marker.c_str());
}

// A stand-in for the dialog program: records its arguments, prints a given
// answer and exits with a given status.
class FakeDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = ::testing::TempDir() + "fakezenity" + std::to_string(getpid());
        mkdir(dir.c_str(), 0700);
        log = dir + "/args";
        std::ofstream script(dir + "/zenity");
        script << "#!/bin/sh\nprintf '%s\\0' \"$@\" > \"$FAKE_LOG\"\nprintf '%s' \"$FAKE_OUT\"\nexit \"$FAKE_STATUS\"\n";
        script.close();
        chmod((dir + "/zenity").c_str(), 0700);
        oldPath = std::getenv("PATH") ? std::getenv("PATH") : "";
        oldDisplay = std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "";
        setenv("PATH", (dir + ":" + oldPath).c_str(), 1);
        setenv("DISPLAY", ":77", 1);
        setenv("FAKE_LOG", log.c_str(), 1);
        answer(0, "");
    }
    void TearDown() override {
        setenv("PATH", oldPath.c_str(), 1);
        if (oldDisplay.empty()) unsetenv("DISPLAY"); else setenv("DISPLAY", oldDisplay.c_str(), 1);
        std::remove(log.c_str());
        std::remove((dir + "/zenity").c_str());
        rmdir(dir.c_str());
    }
    void answer(int status, const std::string& out) {
        setenv("FAKE_STATUS", std::to_string(status).c_str(), 1);
        setenv("FAKE_OUT", out.c_str(), 1);
    }
    std::vector<std::string> args() { return fields(readFile(log)); }
    bool has(const std::string& arg) {
        for (const std::string& a : args())
            if (a == arg) return true;
        return false;
    }
    std::string dir, log, oldPath, oldDisplay;
};

TEST_F(FakeDialogTest, YesNoQuestionButtonsAndAnswers) {
    answer(0, "");
    EXPECT_TRUE(MessBoxYesNo("Visit", "Do you want to visit %s?", "the site"));
    EXPECT_TRUE(has("--question"));
    EXPECT_TRUE(has("--title=Visit"));
    EXPECT_TRUE(has("--text=Do you want to visit the site?"));
    EXPECT_TRUE(has("--ok-label=Yes"));
    EXPECT_TRUE(has("--cancel-label=No"));
    EXPECT_TRUE(has("--no-markup"));
    answer(1, "");
    EXPECT_FALSE(MessBoxYesNo("Visit", "?"));
    answer(255, "");  // the program failed: not a "Yes"
    EXPECT_FALSE(MessBoxYesNo("Visit", "?"));
}

TEST_F(FakeDialogTest, InformationBoxHasOneOkButtonAndShowsTextLiterally) {
    EXPECT_EQ(MessBox("Error", "%s", "100% sure \\n <b>not bold</b>"), kMessageBoxDefault);
    EXPECT_TRUE(has("--info"));
    EXPECT_TRUE(has("--ok-label=Ok"));
    for (const std::string& a : args()) EXPECT_EQ(a.find("--cancel-label"), std::string::npos);
    // The backslash is doubled, as the dialog program reads escapes in texts.
    EXPECT_TRUE(has("--text=100% sure \\\\n <b>not bold</b>"));
}

TEST_F(FakeDialogTest, FileChooserFiltersAndAnswer) {
    answer(0, "/home/u/my file.fxp\n");
    std::string path;
    ASSERT_TRUE(platform::chooseFile(true, "Save a fxp program", {{"Program file", "fxp"}}, "/home/u/", path));
    EXPECT_EQ(path, "/home/u/my file.fxp");
    EXPECT_TRUE(has("--file-selection"));
    EXPECT_TRUE(has("--save"));
    EXPECT_TRUE(has("--title=Save a fxp program"));
    EXPECT_TRUE(has("--filename=/home/u/"));
    EXPECT_TRUE(has("--file-filter=Program file | *.fxp"));
    answer(1, "");  // cancelled
    EXPECT_FALSE(platform::chooseFile(false, "Load", {{"fxb bank (.fxb file)", "fxb"}}, "", path));
    EXPECT_EQ(path, "");
    EXPECT_FALSE(has("--save"));
}

TEST(Dialogs, MissingDialogProgramGivesSafeAnswerAndOneLine) {
    const std::string oldPath = std::getenv("PATH") ? std::getenv("PATH") : "";
    const char* oldDisplay = std::getenv("DISPLAY");
    const std::string keepDisplay = oldDisplay ? oldDisplay : "";
    setenv("PATH", "/nonexistent", 1);
    setenv("DISPLAY", ":77", 1);
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(MessBoxYesNo("Warning", "Are you sure that you want to overwrite this file?"));
    std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1);
    EXPECT_NE(err.find("overwrite"), std::string::npos);
    std::string path = "x";
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(platform::chooseFile(false, "Load", {}, "", path));
    ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(path, "");

    // No display at all: the same, without starting anything.
    setenv("PATH", oldPath.c_str(), 1);
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(MessBox("Error", "File write error."), kMessageBoxError);
    err = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("File write error."), std::string::npos);
    if (!keepDisplay.empty()) setenv("DISPLAY", keepDisplay.c_str(), 1);
}

TEST(Dialogs, HookSeesFormattedCutTextAndStyles) {
    std::vector<platform::MessageBoxCall> calls;
    int reply = 1;
    platform::setMessageBoxHook([&](const platform::MessageBoxCall& c) {
        calls.push_back(c);
        return reply;
    });
    MessBox("Invalid file selected", "This file can not be loaded! Please select a %s file!", "fxp");
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].title, "Invalid file selected");
    EXPECT_EQ(calls[0].message, "This file can not be loaded! Please select a fxp file!");
    EXPECT_EQ(calls[0].defaultButton, "Ok");
    EXPECT_EQ(calls[0].alternateButton, "");
    EXPECT_EQ(calls[0].style, kInformationalStyle);

    EXPECT_TRUE(MessBoxYesNo("Warning", "50%% done"));
    EXPECT_EQ(calls[1].message, "50% done");
    EXPECT_EQ(calls[1].defaultButton, "Yes");
    EXPECT_EQ(calls[1].alternateButton, "No");
    EXPECT_EQ(calls[1].style, kAlertStyle);
    reply = 0;
    EXPECT_FALSE(MessBoxYesNo("Warning", "x"));
    reply = -2;
    EXPECT_FALSE(MessBoxYesNo("Warning", "x"));

    const std::string longText(3000, 'a');
    MessBox("T", "%s", longText.c_str());
    EXPECT_EQ(calls.back().message.size(), 1023u);
    platform::setMessageBoxHook(nullptr);
}

TEST(Openers, OnlyWebAddressesAreOpenedAndPathsNeverReadAsOptions) {
    std::vector<std::string> opened;
    platform::setOpenHook([&](const std::string& t) { opened.push_back(t); });
    for (const char* bad : {"", "not an address", "javascript:alert(1)", "http://", "http://a b", "-http://x",
                            "ftp://x", "http://x\ny"})
        showURL(bad);
    showURL(nullptr);
    EXPECT_TRUE(opened.empty());
    showURL("https://example.org/sounds?x=1&y=2");
    showURL("http://example.org");
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_EQ(opened[0], "https://example.org/sounds?x=1&y=2");

    showDocument("-handbook.pdf");
    showDocument("/usr/share/doc/handbook.pdf");
    showDocument("");
    ASSERT_EQ(opened.size(), 4u);
    EXPECT_EQ(opened[2], "./-handbook.pdf");
    EXPECT_EQ(opened[3], "/usr/share/doc/handbook.pdf");
    platform::setOpenHook(nullptr);
}

}  // namespace
