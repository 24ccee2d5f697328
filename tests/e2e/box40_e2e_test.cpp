// The real program in a terminal: on a stored import, Tab on box 88 opens the box-40 grid; a
// reference of category Y to an import gets its MRN check character; the text returns into box 88,
// is stored, and the grid shows the row again when the declaration is opened once more.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "helpers/fixture.h"
#include "helpers/tmux.h"
#include "shell/install.h"
#include "shell/install_customers.h"

namespace {

int currentBox(const std::string& screen) {
    const std::string tag = "αα ";
    const size_t p = screen.rfind(tag);
    if (p == std::string::npos) return 0;
    return std::atoi(screen.substr(p + tag.size(), 3).c_str());
}

bool enterTo(TESTS::Tmux& t, int target, bool counts) {
    int last = -1, same = 0;
    for (int i = 0; i < 200; ++i) {
        const int now = currentBox(t.screen());
        if (now == target) return true;
        same = now == last ? same + 1 : 0;
        if (same > 3) return false;  // the box does not let the cursor on
        last = now;
        if (counts && (now == 16 || now == 18)) t.text("1");
        // Far from the target (and past the boxes that need a value), several boxes at a time.
        t.keys(now > 23 && target - now > 8 ? "Enter Enter Enter Enter" : "Enter");
        for (int w = 0; w < 25 && currentBox(t.screen()) == now; ++w)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

TEST(Box40EndToEnd, MrnCheckedStoredAndShownAgain) {
    if (!TESTS::haveTmux()) GTEST_SKIP() << "tmux is not installed";
    TESTS::TempWorkDir work;
    auto companies = INSTALL::demoCompanies();
    INSTALL::makeInstallation(work.path(), "DATABASE", companies, KORVEX_MSK);
    const std::string dir = work.file("DATABASE/ARXEIO0");
    const std::string dism = dir + "/DISM.DAT";
    INSTALL::seedCodeTables(dir, std::string(KORVEX_SOURCE_DIR) + "/data/demo/tables");
    INSTALL::seedDemoCustomers(dir);

    TESTS::Tmux t(work.path(), std::string(KORVEX_BIN) + " 1");
    ASSERT_TRUE(t.waitFor("4.30")) << t.screen();
    t.keys("Enter");
    ASSERT_TRUE(t.waitFor(companies[0][0])) << t.screen();
    t.text("1");
    ASSERT_TRUE(t.waitFor("ΕΙΣΑΓΩΓΗΣ")) << t.screen();
    t.keys("Enter");
    ASSERT_TRUE(t.waitFor("αα   1")) << t.screen();
    t.text("800");
    t.keys("Enter");
    ASSERT_TRUE(t.waitFor("αα   2")) << t.screen();
    ASSERT_TRUE(enterTo(t, 22, true)) << t.screen();
    t.text("γεω");
    t.keys("Enter");
    ASSERT_TRUE(t.waitFor("ΓΕΩΡΓΑΚΗΣ Α.Ε. ΤΕΧΝΙΚΗ")) << t.screen();
    t.keys("Enter");
    ASSERT_TRUE(t.waitFor("αα  23")) << t.screen();
    ASSERT_TRUE(enterTo(t, 88, true)) << t.screen();
    t.keys("F4");
    for (int i = 0; i < 100 && TESTS::readFile(dism).empty(); ++i) usleep(50000);
    ASSERT_FALSE(TESTS::readFile(dism).empty()) << "stored";

    t.keys("Tab");
    ASSERT_TRUE(t.waitFor("ΘΕΣΗ 40")) << t.screen();
    t.text("Y");
    t.keys("Enter");
    t.text("IM");
    t.keys("Enter");
    t.keys("Enter");
    t.keys("Enter");
    t.text("26GRIM00000000001");
    t.keys("Enter");
    ASSERT_TRUE(t.waitFor("26GRIM000000000019")) << t.screen();
    t.keys("Escape");
    ASSERT_TRUE(t.waitFor("Y-IM-26GRIM000000000019///")) << t.screen();
    EXPECT_EQ(TESTS::readFile(dir + "/800.L1").size(), 7560u);
    t.keys("F4");
    usleep(300000);
    t.keys("Escape");
    ASSERT_TRUE(t.waitFor("ΚΑΤΑΧΩΡΗΣΗ ΝΕΑΣ")) << t.screen();

    t.keys("Enter");
    ASSERT_TRUE(t.waitFor("αα   1")) << t.screen();
    t.text("800");
    t.keys("Enter");
    ASSERT_TRUE(t.waitFor("αα   2")) << t.screen();
    ASSERT_TRUE(enterTo(t, 88, false)) << t.screen();
    EXPECT_NE(t.screen().find("Y-IM-26GRIM000000000019///"), std::string::npos) << t.screen();
    t.keys("Tab");
    ASSERT_TRUE(t.waitFor("ΘΕΣΗ 40")) << t.screen();
    const std::string s = t.screen();
    EXPECT_NE(s.find("26GRIM000000000019"), std::string::npos) << s;
    EXPECT_NE(s.find("Y IM"), std::string::npos) << s;
    t.keys("Escape");
    ASSERT_TRUE(t.waitFor("Y-IM-26GRIM000000000019///")) << t.screen();
    t.keys("Escape");
    ASSERT_TRUE(t.waitFor("ΚΑΤΑΧΩΡΗΣΗ ΝΕΑΣ")) << t.screen();
    t.keys("Escape");
    ASSERT_TRUE(t.waitFor(companies[0][0])) << t.screen();
    t.keys("Escape");
    ASSERT_TRUE(t.waitFor("4.30")) << t.screen();
    t.keys("End");
    EXPECT_EQ(t.waitExit(), 0);
}

}  // namespace
