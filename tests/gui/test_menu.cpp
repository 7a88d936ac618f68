// Option menus: entries, separators, column geometry, choosing; file selectors.
#include <gtest/gtest.h>

#include "support.h"

using namespace guitest;

namespace {

class MenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        frame = new CFrame(CRect(0, 0, 900, 600), nullptr, nullptr);
        menu = new COptionMenu(CRect(68, 75, 263, 107), &listener, 100, nullptr, nullptr, kCheckStyle);
        frame->addView(menu);
    }
    void TearDown() override { frame->forget(); }
    void fill(int n) {
        for (int i = 0; i < n; ++i) menu->addEntry(("Program " + std::to_string(i)).c_str());
    }
    CFrame* frame = nullptr;
    COptionMenu* menu = nullptr;
    RecordingListener listener;
};

TEST_F(MenuTest, SeparatorsKeepTheirIndexAndCannotBeChosen) {
    for (const char* t : {"Load preset", "Load bank", "_", "Save preset", "-", "Init"}) menu->addEntry(t);
    EXPECT_EQ(menu->getNbEntries(), 6);
    EXPECT_TRUE(menu->getEntry(2)->isSeparator());
    EXPECT_TRUE(menu->getEntry(4)->isSeparator());
    EXPECT_FALSE(menu->getEntry(3)->isSeparator());
    EXPECT_STREQ(menu->getEntryText(3), "Save preset");
    EXPECT_STREQ(menu->getEntryText(99), "");
    ASSERT_TRUE(menu->popup());
    EXPECT_FALSE(menu->choose(2));
    EXPECT_TRUE(menu->isPopupOpen());
    EXPECT_TRUE(listener.values().empty());
    EXPECT_TRUE(menu->choose(3));
    EXPECT_FALSE(menu->isPopupOpen());
    EXPECT_EQ(listener.values(), (std::vector<float>{3.f}));
}

TEST_F(MenuTest, ColumnsOfThirtyItems) {
    fill(180);
    menu->setNbItemsPerColumn(30);
    ASSERT_TRUE(menu->popup());
    EXPECT_EQ(menu->getNbColumns(), 6);
    const CRect popup = menu->getPopupRect();
    EXPECT_EQ(popup.height(), 30 * COptionMenu::kItemHeight);
    // Column 1, row 5 holds entry 35; entries run down, then across.
    const CRect r0 = menu->getItemRect(0);
    const CRect r35 = menu->getItemRect(35);
    const CRect r30 = menu->getItemRect(30);
    EXPECT_EQ(r30.top, r0.top);
    EXPECT_EQ(r30.left, r0.right);
    EXPECT_EQ(r35.top, r0.top + 5 * COptionMenu::kItemHeight);
    for (long i : {0L, 29L, 30L, 35L, 179L}) {
        const CRect r = menu->getItemRect(i);
        EXPECT_EQ(menu->getItemAt(CPoint(r.left + 1, r.top + 1)), i);
        EXPECT_EQ(menu->getItemAt(CPoint(r.right - 1, r.bottom - 1)), i);
    }
    EXPECT_EQ(menu->getItemAt(CPoint(popup.right + 5, popup.top + 5)), -1);
    // The list stays inside the frame.
    EXPECT_GE(popup.left, 0);
    EXPECT_GE(popup.top, 0);
    EXPECT_LE(popup.right, 900);
    EXPECT_LE(popup.bottom, 600);
}

TEST_F(MenuTest, ClickOpensClickChoosesAndChecksAlone) {
    fill(40);
    menu->setNbItemsPerColumn(30);
    menu->setCurrent(3);
    menu->checkEntryAlone(3);
    click(frame, 100, 90);  // on the menu
    ASSERT_TRUE(menu->isPopupOpen());
    EXPECT_EQ(frame->getModalView() != nullptr, true);
    const CRect r = menu->getItemRect(37);
    click(frame, r.left + 3, r.top + 3);
    EXPECT_FALSE(menu->isPopupOpen());
    EXPECT_EQ(frame->getModalView(), nullptr);
    EXPECT_EQ(listener.values(), (std::vector<float>{37.f}));  // the index, not 0..1
    EXPECT_FLOAT_EQ(menu->getValue(), 37.f);
    EXPECT_EQ(menu->getLastResult(), 37);
    EXPECT_EQ(menu->getCurrent(), 37);
    EXPECT_TRUE(menu->isCheckEntry(37));
    EXPECT_FALSE(menu->isCheckEntry(3));
}

TEST_F(MenuTest, ClickBesideTheListOrEscapeClosesWithoutChoice) {
    fill(5);
    click(frame, 100, 90);
    ASSERT_TRUE(menu->isPopupOpen());
    click(frame, 880, 590);
    EXPECT_FALSE(menu->isPopupOpen());
    click(frame, 100, 90);
    CKeyCode esc;
    esc.virt = VKEY_ESCAPE;
    EXPECT_EQ(frame->onKeyDown(esc), 1);
    EXPECT_FALSE(menu->isPopupOpen());
    EXPECT_TRUE(listener.values().empty());
}

CKeyCode key(unsigned char virt, int32_t character = 0) {
    CKeyCode k;
    k.virt = virt;
    k.character = character;
    return k;
}

long press(CFrame* frame, unsigned char virt, int32_t character = 0) {
    CKeyCode k = key(virt, character);
    return frame->onKeyDown(k);
}

// Presses each key in turn; after each the highlight is on the entry given.
void walk(CFrame* frame, COptionMenu* menu, const std::vector<std::pair<unsigned char, long>>& steps) {
    for (const auto& step : steps) {
        EXPECT_EQ(press(frame, step.first), 1) << "key " << int(step.first);
        EXPECT_EQ(menu->getHighlight(), step.second) << "after key " << int(step.first);
    }
}

TEST_F(MenuTest, ArrowsMoveTheHighlightOverSeparatorsAndDisabledEntriesAndEnterChooses) {
    for (const char* t : {"Load preset", "Load bank", "_", "Save preset", "Save bank", "_", "Init"}) menu->addEntry(t);
    menu->addEntry("Greyed", -1, CMenuItem::kDisabled);
    menu->setStyle(0);  // a plain command menu: no entry is marked
    // Without a list, keys are not the toolkit's: the host gets them.
    EXPECT_EQ(press(frame, VKEY_DOWN), -1);
    EXPECT_EQ(press(frame, VKEY_ESCAPE), -1);
    ASSERT_TRUE(menu->popup());
    EXPECT_EQ(menu->getHighlight(), -1);
    // Over the separator; End to the last entry that can be chosen (not the
    // greyed one) and no further; the ends hold.
    walk(frame, menu, {{VKEY_DOWN, 0}, {VKEY_DOWN, 1}, {VKEY_DOWN, 3}, {VKEY_END, 6}, {VKEY_DOWN, 6},
                       {VKEY_UP, 4}, {VKEY_HOME, 0}, {VKEY_UP, 0}});
    // A key the list has no use for goes back unhandled and changes nothing.
    EXPECT_EQ(press(frame, 0, 'a'), -1);
    EXPECT_TRUE(menu->isPopupOpen());
    press(frame, VKEY_DOWN);
    press(frame, VKEY_DOWN);
    EXPECT_TRUE(listener.values().empty());
    EXPECT_EQ(press(frame, VKEY_RETURN), 1);
    EXPECT_FALSE(menu->isPopupOpen());
    EXPECT_EQ(listener.values(), (std::vector<float>{3.f}));
    // The keypad's Enter as well; the pointer and the keys share the highlight.
    ASSERT_TRUE(menu->popup());
    const CRect r = menu->getItemRect(4);
    move(frame, r.left + 2, r.top + 2, 0);
    EXPECT_EQ(menu->getHighlight(), 4);
    press(frame, VKEY_UP);
    EXPECT_EQ(press(frame, VKEY_ENTER), 1);
    EXPECT_EQ(listener.values(), (std::vector<float>{3.f, 3.f}));
    EXPECT_EQ(press(frame, VKEY_RETURN), -1);  // closed: no longer the list's
}

TEST_F(MenuTest, KeysStartAtTheMarkedEntryAndMoveByColumns) {
    fill(75);
    menu->setNbItemsPerColumn(30);
    menu->setCurrent(40);
    menu->checkEntryAlone(40);
    ASSERT_TRUE(menu->popup());
    // From where the list is, a column at a time; the last column is short.
    walk(frame, menu, {{VKEY_DOWN, 40}, {VKEY_DOWN, 41}, {VKEY_RIGHT, 71}, {VKEY_RIGHT, 74}, {VKEY_LEFT, 44},
                       {VKEY_LEFT, 14}, {VKEY_LEFT, 0}});
    // Enter with nothing chosen keeps the list; Escape closes it without a choice.
    menu->closePopup();
    ASSERT_TRUE(menu->popup());
    EXPECT_EQ(press(frame, VKEY_RETURN), 1);
    EXPECT_TRUE(menu->isPopupOpen());
    EXPECT_EQ(press(frame, VKEY_ESCAPE), 1);
    EXPECT_FALSE(menu->isPopupOpen());
    EXPECT_TRUE(listener.values().empty());
}

TEST_F(MenuTest, InsertAndRemoveEntries) {
    fill(3);
    menu->removeEntry(1);
    menu->addEntry("Renamed", 1);
    EXPECT_STREQ(menu->getEntryText(1), "Renamed");
    EXPECT_STREQ(menu->getEntryText(2), "Program 2");
    EXPECT_FALSE(menu->removeEntry(3));
    menu->removeAllEntry();
    EXPECT_EQ(menu->getNbEntries(), 0);
    EXPECT_FALSE(menu->popup());  // nothing to show
}

TEST_F(MenuTest, MenuRemovedWhileOpenClosesItsList) {
    fill(5);
    ASSERT_TRUE(menu->popup());
    frame->removeView(menu);
    EXPECT_EQ(frame->getModalView(), nullptr);
    click(frame, 100, 90);  // nothing left to reach
}

TEST_F(MenuTest, HoverReportsWithMenuTag) {
    fill(2);
    move(frame, 100, 90, 0);
    ASSERT_EQ(listener.count("hover"), 1);
    EXPECT_EQ(listener.events.back().tag, 100);
}

TEST(FileSelector, HookSeesTheDialogAndAnswers) {
    std::string seenTitle;
    std::vector<CFileExtension> seenFilters;
    CNewFileSelector::setTestHook([&](const CNewFileSelector& sel, std::string& path) {
        seenTitle = sel.getTitle();
        seenFilters = sel.getFileExtensions();
        path = "/tmp/some/file.fxp";
        return true;
    });
    CNewFileSelector* sel = CNewFileSelector::create(nullptr, CNewFileSelector::kSelectFile);
    sel->setTitle("Load a fxp program (.fxp file)");
    sel->addFileExtension(CFileExtension("Program file (.fxp file)", "fxp", "application/octet-stream"));
    sel->setDefaultExtension(CFileExtension("Program file (.fxp file)", "fxp"));
    ASSERT_TRUE(sel->runModal());
    EXPECT_EQ(seenTitle, "Load a fxp program (.fxp file)");
    ASSERT_EQ(seenFilters.size(), 1u);
    EXPECT_STREQ(seenFilters[0].getMimeType(), "application/octet-stream");
    EXPECT_EQ(sel->getNumSelectedFiles(), 1);
    EXPECT_STREQ(sel->getSelectedFile(0), "/tmp/some/file.fxp");
    EXPECT_EQ(sel->getSelectedFile(1), nullptr);
    sel->forget();
    CNewFileSelector::setTestHook(nullptr);
}

TEST(FileSelector, SaveAddsTheExtensionToABareNameAndCancelChoosesNothing) {
    std::string answer;
    bool choose = true;
    CNewFileSelector::setTestHook([&](const CNewFileSelector&, std::string& path) {
        path = answer;
        return choose;
    });
    CNewFileSelector* sel = CNewFileSelector::create(nullptr, CNewFileSelector::kSelectSaveFile);
    sel->addFileExtension(CFileExtension("Program bank", "fxb"));
    sel->setDefaultExtension(CFileExtension("Program bank", "fxb"));
    answer = "/home/u.v/bank";
    ASSERT_TRUE(sel->runModal());
    EXPECT_STREQ(sel->getSelectedFile(0), "/home/u.v/bank.fxb");  // a dot in a folder name does not count
    answer = "/home/u/bank.FXB";
    ASSERT_TRUE(sel->runModal());
    EXPECT_STREQ(sel->getSelectedFile(0), "/home/u/bank.FXB");
    choose = false;
    EXPECT_FALSE(sel->runModal());
    EXPECT_EQ(sel->getNumSelectedFiles(), 0);
    EXPECT_EQ(sel->getSelectedFile(0), nullptr);
    sel->forget();

    // An open selector takes the name as given.
    choose = true;
    answer = "/home/u/bank";
    sel = CNewFileSelector::create(nullptr, CNewFileSelector::kSelectFile);
    sel->setDefaultExtension(CFileExtension("Program bank", "fxb"));
    ASSERT_TRUE(sel->runModal());
    EXPECT_STREQ(sel->getSelectedFile(0), "/home/u/bank");
    sel->forget();
    CNewFileSelector::setTestHook(nullptr);
}

}  // namespace
