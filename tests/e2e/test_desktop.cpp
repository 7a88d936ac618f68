// The editor's buttons that reach out to the desktop: the web site, the
// handbook, the splash screen's question and the message a write-protected
// data folder brings. Stand-ins for the desktop's dialog and open programs,
// first on PATH, note how they were called and give a chosen answer.
#include <unistd.h>

#include <chrono>
#include <climits>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

#include "host/parameters.h"
#include "window_host.h"

namespace e2e {
namespace {

class EditorDesktop : public EditorWindow {
protected:
    void SetUp() override {
        EditorWindow::SetUp();
        char pattern[] = "/tmp/nimbrel-desktop-XXXXXX";
        const char* made = mkdtemp(pattern);
        ASSERT_NE(made, nullptr);
        bin = made;
        const char* path = std::getenv("PATH");
        savedPath = path ? path : "";
        for (const char* program : {"zenity", "xdg-open"}) {
            const std::string file = bin + "/" + program;
            std::ofstream script(file);
            // Shell built-ins only: PATH holds nothing else.
            script << "#!/bin/sh\n"
                   << "log='" << bin << "/calls'\n"
                   << "printf '%s' '" << program << "' >> \"$log\"\n"
                   << "for a in \"$@\"; do printf '|%s' \"$a\" >> \"$log\"; done\n"
                   << "printf '\\n' >> \"$log\"\n"
                   << (std::string(program) == "zenity"
                           ? "if [ \"$1\" = --file-selection ] && [ -f '" + bin + "/chosen' ]; then read f < '" + bin +
                                 "/chosen'; printf '%s\\n' \"$f\"; fi\n"
                           : "")
                   << "answer=1\n"
                   << "[ -f '" << bin << "/answer' ] && read answer < '" << bin << "/answer'\n"
                   << (std::string(program) == "zenity" ? "exit $answer\n" : "exit 0\n");
            script.close();
            chmod(file.c_str(), 0755);
        }
        setenv("PATH", bin.c_str(), 1);
    }
    void TearDown() override {
        EditorWindow::TearDown();
        setenv("PATH", savedPath.c_str(), 1);
        for (const char* f : {"/zenity", "/xdg-open", "/calls", "/answer", "/chosen"}) std::remove((bin + f).c_str());
        rmdir(bin.c_str());
    }

    // 0 is the dialog's OK or Yes, 1 its No.
    void answer(int status) { std::ofstream(bin + "/answer") << status << "\n"; }

    // The file the file chooser hands back.
    void choose(const std::string& path) { std::ofstream(bin + "/chosen") << path << "\n"; }

    // The calls made so far, one line each: program|arg|arg...
    std::vector<std::string> calls() {
        std::ifstream in(bin + "/calls");
        std::vector<std::string> out;
        for (std::string line; std::getline(in, line);) out.push_back(line);
        return out;
    }
    // The open program runs detached: wait a little for its note.
    std::vector<std::string> callsAfterOpen(size_t expected) {
        for (int i = 0; i < 200 && calls().size() < expected; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        return calls();
    }

    std::string bin, savedPath;
};

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST_F(EditorDesktop, TheWebSiteButtonAsksFirstAndOpensTheSiteOnYes) {
    openEditor();
    answer(1);
    clickControl(ctag::WebSite);
    std::vector<std::string> c = calls();
    ASSERT_EQ(c.size(), 1u);
    EXPECT_TRUE(contains(c[0], "zenity|--question|")) << c[0];
    EXPECT_TRUE(contains(c[0], "|--text=Do you want to visit www.orvane.example to download new sounds, products or updates?|"))
        << c[0];

    answer(0);
    clickControl(ctag::WebSite);
    c = callsAfterOpen(3);
    ASSERT_EQ(c.size(), 3u);
    EXPECT_EQ(c[2], std::string("xdg-open|") + kWebSiteUrl);
}

TEST_F(EditorDesktop, TheMainMenuVisitEntryOpensTheSiteWithoutAQuestion) {
    openEditor();
    chooseMainMenuEntry(12);
    const std::vector<std::string> c = callsAfterOpen(1);
    ASSERT_EQ(c.size(), 1u);
    EXPECT_EQ(c[0], std::string("xdg-open|") + kWebSiteUrl);
}

TEST_F(EditorDesktop, TheHandbookButtonOpensTheHandbookBesideThePlugin) {
    openEditor();
    clickControl(ctag::Handbook);
    const std::vector<std::string> c = callsAfterOpen(1);
    ASSERT_EQ(c.size(), 1u);
    char* library = realpath(NIMBREL_PLUGIN_PATH, nullptr);
    ASSERT_NE(library, nullptr);
    std::string folder = library;
    std::free(library);
    folder = folder.substr(0, folder.rfind('/') + 1);
    EXPECT_EQ(c[0], "xdg-open|" + folder + "Nimbrel.pdf");
}

TEST_F(EditorDesktop, ClosingTheSplashScreenAsksAboutMoreInformation) {
    openEditor();
    const LayoutRect splash = layout::kSplash;
    const Picture corner = grab(0, 0, 200, 100);
    click(static_cast<int>(splash.left + splash.width() / 2), static_cast<int>(splash.top + splash.height() / 2));
    idle();
    EXPECT_NE(grab(0, 0, 200, 100), corner) << "the splash image did not show at the top left";
    EXPECT_TRUE(calls().empty()) << "asked before the splash image was closed";
    answer(1);
    click(100, 50);
    idle();
    EXPECT_EQ(grab(0, 0, 200, 100), corner) << "the splash image stayed";
    const std::vector<std::string> c = calls();
    ASSERT_EQ(c.size(), 1u);
    EXPECT_TRUE(contains(c[0], "|--text=Do you want to visit www.orvane.example for more information, sounds, news, "
                               "support or updates?|"))
        << c[0];
}

TEST_F(EditorDesktop, AWriteProtectedDataFolderStillShrinksTheWindowAndSaysSo) {
    openEditor();
    // No folder can be made below a plain file.
    const std::string data = dataFolder();
    setenv("NIMBREL_DATA_DIR", "/dev/null/nimbrel", 1);
    answer(0);
    clickControl(ctag::HideEditor);
    idle();
    setenv("NIMBREL_DATA_DIR", data.c_str(), 1);
    ASSERT_EQ(sizeRequests.size(), 1u);
    EXPECT_EQ(sizeRequests[0], std::make_pair(381, 178));
    EXPECT_EQ(windowSize().width, 381);
    EXPECT_EQ(windowSize().height, 178);
    const std::vector<std::string> c = calls();
    ASSERT_EQ(c.size(), 1u);
    EXPECT_TRUE(contains(c[0], "|--title=Error|")) << c[0];
    EXPECT_TRUE(contains(c[0], "|--text=File write error. The configuration could not be stored because the plugin "
                               "directory is write protected!|"))
        << c[0];
    // Nothing was stored: the next instance opens at full size.
    closeEditor();
    loadInstance();
    openEditor();
    EXPECT_TRUE(sizeRequests.empty());
    EXPECT_EQ(windowSize().width, editorRect().right);
}

TEST_F(EditorDesktop, APresetSavedAndLoadedFromTheMenuComesBackIntoTheShownProgram) {
    openEditor();
    host->setProgram(10);
    host->setParameter(param::RSize, 0.125f);
    idle();
    const LayoutRect knob = controlRect(param::RSize);
    const Picture savedKnob = grab(knob);
    const std::string file = dataFolder() + "/My Hall.fxp";
    std::remove(file.c_str());
    choose(file);
    answer(0);
    chooseMainMenuEntry(3);  // "Save preset"
    idle();
    ASSERT_TRUE(fileExists(file));
    std::ifstream saved(file, std::ios::binary | std::ios::ate);
    EXPECT_EQ(saved.tellg(), 328);
    EXPECT_EQ(host->programName(), "My Hall") << "the program is named after its file";
    const Picture savedMenu = grab(layout::kProgramMenu);

    host->setParameter(param::RSize, 0.875f);
    char other[] = "Something else";
    host->dispatch(effSetProgramName, 0, 0, other);
    idle();
    EXPECT_NE(grab(knob), savedKnob);
    EXPECT_NE(grab(layout::kProgramMenu), savedMenu);

    chooseMainMenuEntry(0);  // "Load preset"
    idle();
    EXPECT_EQ(host->program(), 10);
    EXPECT_EQ(host->getParameter(param::RSize), 0.125f);
    EXPECT_EQ(host->programName(), "My Hall");
    EXPECT_EQ(grab(knob), savedKnob);
    EXPECT_EQ(grab(layout::kProgramMenu), savedMenu);
    std::remove(file.c_str());
}

TEST_F(EditorDesktop, ABankSavedAndLoadedFromTheMenuRestoresEveryProgram) {
    openEditor();
    const std::string file = dataFolder() + "/bank.fxb";
    std::remove(file.c_str());
    const std::string name3 = host->programNameIndexed(3);
    choose(file);
    answer(0);
    chooseMainMenuEntry(4);  // "Save bank"
    ASSERT_TRUE(fileExists(file));
    std::ifstream saved(file, std::ios::binary | std::ios::ate);
    EXPECT_EQ(saved.tellg(), 59196);

    host->setProgram(3);
    idle();
    chooseMainMenuEntry(6);  // "Init reverb"
    ASSERT_EQ(host->programName(), "Init 003");
    chooseMainMenuEntry(1);  // "Load bank"
    idle();
    EXPECT_EQ(host->programNameIndexed(3), name3);
    // The list is rebuilt: choosing program 3 from it shows the restored name.
    const LayoutRect menu = layout::kProgramMenu;
    click(static_cast<int>(menu.left + menu.width() / 2), static_cast<int>(menu.top + menu.height() / 2));
    const Window list = popupWindow();
    ASSERT_NE(list, 0u);
    click(list, 10, 16 * 3 + 8);
    EXPECT_EQ(host->program(), 3);
    EXPECT_EQ(host->programName(), name3);
    std::remove(file.c_str());
}

}  // namespace
}  // namespace e2e
