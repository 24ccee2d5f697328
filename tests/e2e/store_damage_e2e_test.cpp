// The real program in a terminal on the demo with stored declarations, their record files damaged
// from outside: "DISM.DAT" or "BISM.DAT" cut shorter than what the index names refuses the store
// of a new declaration or item naming the file, with every store file as it was and the store
// checker naming the short file; an index entry that names another declaration's record opens as
// damaged, never as that declaration, and F5 on it frees none of its bytes.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <map>

#include "e2e/demo_e2e.h"
#include "platform/codec.h"
#include "platform/files.h"

namespace {

const char* const STORE_FILES[] = {"DISM.DAT", "DISD.DAT", "DISI.DAT", "DISN.DAT", "DISH.DAT",
                                   "DIPE.DAT", "BISM.DAT", "BISD.DAT", "BISI.DAT", "BISN.DAT"};

std::map<std::string, std::string> storeFiles(const std::string& dir) {
    std::map<std::string, std::string> m;
    for (const char* f : STORE_FILES) m[f] = TESTS::readFile(dir + "/" + f);
    return m;
}

// The store checker on the folder: its exit code and what it printed.
std::pair<int, std::string> checker(const std::string& dir) {
    const std::string out = dir + "/../checker.out";
    const int rc = std::system((std::string(KORVEX_DSTCHK) + " " + dir + " > " + out + " 2>&1").c_str());
    return {WEXITSTATUS(rc), TESTS::readFile(out)};
}

// Item SHEET/ITEM of declaration NUMBER with TEXT in box 4, stored by this process (the demo's
// import form is loaded by storeDeclaration).
bool storeItem(const std::string& number, const std::string& sheet, const std::string& item, const std::string& text) {
    for (int b = 1; b <= BOD::SHEET_BOXES; ++b) BOD::BOS(BOD::BIS, BOD::GB, b, "");
    BOD::AYB = BOD::MOT{};
    BOD::BOS(BOD::BIS, BOD::GB, 1, sheet);
    BOD::BOS(BOD::BIS, BOD::GB, 3, item);
    BOD::BOS(BOD::BIS, BOD::GB, 4, text);
    BOD::BOS(BOD::BIS, BOD::GB, 10, number);
    BOD::BM = UMAS::LEJU(number + sheet + item, 14);
    BOD::BOB = false;
    return EKDO::KATB().stored;
}

// From the list of import declarations: a declaration opened by its number (box 1 left).
void openNumber(TESTS::Tmux& t, const std::string& number) {
    t.keys("Enter");
    ASSERT_TRUE(t.waitFor("αα   1")) << t.screen();
    t.text(number);
    t.keys("Enter");
}

void endFromForm(TESTS::Tmux& t) {
    for (int i = 0; i < 6 && !t.waitFor("4.30", 300); ++i) {
        t.keys("Escape");
        if (t.waitFor("(Ν/Ο)", 300)) t.text("N");
    }
    ASSERT_TRUE(t.waitFor("4.30")) << t.screen();
    t.keys("End");
    EXPECT_EQ(t.waitExit(), 0);
}

}  // namespace

TEST(StoreDamageEndToEnd, ACutDeclarationFileRefusesTheStoreAndARecordOfAnotherNumberIsNeverShown) {
    if (!TESTS::haveTmux()) GTEST_SKIP() << "tmux is not installed";
    TESTS::TempWorkDir work;
    ASSERT_TRUE(DEMOE2E::layOutDemo(work));
    const std::string dir = work.file("DATABASE/ARXEIO0");
    // 2001 undated: its entry is the only thing naming its record.
    ASSERT_TRUE(DEMOE2E::storeDeclaration("IMP", "2001", "", {{12, "GOODS OF 2001"}}));
    ASSERT_TRUE(DEMOE2E::storeDeclaration("IMP", "1500", "020126", {{12, "GOODS OF 1500"}}));
    const auto sound = storeFiles(dir);

    // "DISM.DAT" cut to nothing: the new declaration 3001 is refused naming the file.
    TESTS::writeFile(dir + "/DISM.DAT", "");
    const auto cut = storeFiles(dir);
    {
        TESTS::Tmux t(work.path(), std::string(KORVEX_BIN) + " 1");
        ASSERT_TRUE(DEMOE2E::newDeclaration(t, "1", "ΕΙΣΑΓΩΓΗΣ", "3001")) << t.screen();
        t.keys("Enter");
        ASSERT_TRUE(t.waitFor("αα   2")) << t.screen();
        t.text("IM");
        t.keys("Enter");
        ASSERT_TRUE(t.waitFor("αα   3")) << t.screen();
        t.keys("F4");
        ASSERT_TRUE(t.waitFor("ΤΟ ΑΡΧΕΙΟ DISM.DAT ΕΧΕΙ ΑΛΛΟΙΩΘΕΙ - ΔΕΝ ΚΑΤΑΧΩΡΗΘΗΚΕ")) << t.screen();
        EXPECT_EQ(storeFiles(dir), cut);
        endFromForm(t);
    }
    EXPECT_EQ(storeFiles(dir), cut);
    auto [rc, out] = checker(dir);
    EXPECT_EQ(rc, 1) << out;
    EXPECT_NE(out.find("DISM.DAT: 0 bytes, shorter than what is named"), std::string::npos) << out;

    // The files whole, 3001 stored; then 2001's index entry damaged to name 3001's record.
    for (const auto& [f, b] : sound) TESTS::writeFile(dir + "/" + f, b);
    ASSERT_TRUE(DEMOE2E::storeDeclaration("IMP", "3001", "010126", {{12, "GOODS OF 3001"}}));
    const STORE::Found of3001 = STORE::find(dir + "/", STORE::DECL, "3001");
    const STORE::Found of2001 = STORE::find(dir + "/", STORE::DECL, "2001");
    ASSERT_TRUE(of3001.found && of2001.found);
    {
        uint8_t b[4];
        PLAT::putL(b, of3001.pos);
        PLAT::File i(dir + "/DISI.DAT", PLAT::File::READWRITE);
        i.writeAt(int64_t(of2001.slot) * 17, b, 4);
    }
    const std::string dism = TESTS::readFile(dir + "/DISM.DAT"), disd = TESTS::readFile(dir + "/DISD.DAT");
    {
        TESTS::Tmux t(work.path(), std::string(KORVEX_BIN) + " 1");
        ASSERT_TRUE(DEMOE2E::newDeclaration(t, "1", "ΕΙΣΑΓΩΓΗΣ", "2001")) << t.screen();
        t.keys("Enter");
        ASSERT_TRUE(t.waitFor("ΚΑΤΕΣΤΡΑΜΜΕΝΗ ΣΤΟ ΑΡΧΕΙΟ DISM.DAT")) << t.screen();
        EXPECT_EQ(t.screen().find("GOODS OF 3001"), std::string::npos) << t.screen();
        t.keys("Enter");  // the message read
        ASSERT_TRUE(t.waitGone("ΚΑΤΕΣΤΡΑΜΜΕΝΗ")) << t.screen();
        EXPECT_EQ(t.screen().find("GOODS OF 3001"), std::string::npos) << t.screen();
        // F5: the damaged 2001 deleted; 3001's bytes are not freed, its day-chain node is kept.
        t.keys("F5");
        ASSERT_TRUE(t.waitFor("(Ν/Ο)")) << t.screen();
        t.text("N");
        ASSERT_TRUE(t.waitGone("(Ν/Ο)")) << t.screen();
        for (int i = 0; i < 100 && STORE::find(dir + "/", STORE::DECL, "2001").found; ++i) usleep(50000);
        EXPECT_FALSE(STORE::find(dir + "/", STORE::DECL, "2001").found);
        EXPECT_EQ(TESTS::readFile(dir + "/DISD.DAT"), disd);
        EXPECT_EQ(TESTS::readFile(dir + "/DISM.DAT"), dism);
        // 3001 opens as itself.
        t.keys("Escape");
        ASSERT_TRUE(t.waitFor("ΚΑΤΑΧΩΡΗΣΗ ΝΕΑΣ")) << t.screen();
        openNumber(t, "3001");
        ASSERT_TRUE(t.waitFor("GOODS OF 3001")) << t.screen();
        endFromForm(t);
    }
    auto [rc2, out2] = checker(dir);
    EXPECT_EQ(rc2, 0) << out2;
    EXPECT_EQ(out2.find("not in its day chain"), std::string::npos) << out2;
}

TEST(StoreDamageEndToEnd, ACutSheetFileRefusesTheStoreOfAnItem) {
    if (!TESTS::haveTmux()) GTEST_SKIP() << "tmux is not installed";
    TESTS::TempWorkDir work;
    ASSERT_TRUE(DEMOE2E::layOutDemo(work));
    const std::string dir = work.file("DATABASE/ARXEIO0");
    ASSERT_TRUE(DEMOE2E::storeDeclaration("IMP", "2001", "010126", {{16, "02"}, {18, "3"}, {12, "GOODS OF 2001"}}));
    ASSERT_TRUE(storeItem("2001", "02", "02", "ITEM OF 2001"));
    ASSERT_TRUE(DEMOE2E::storeDeclaration("IMP", "1001", "010126", {{16, "02"}, {18, "3"}, {12, "GOODS OF 1001"}}));
    TESTS::writeFile(dir + "/BISM.DAT", "");
    const auto cut = storeFiles(dir);
    {
        TESTS::Tmux t(work.path(), std::string(KORVEX_BIN) + " 1");
        ASSERT_TRUE(DEMOE2E::newDeclaration(t, "1", "ΕΙΣΑΓΩΓΗΣ", "1001")) << t.screen();
        t.keys("Enter");
        ASSERT_TRUE(t.waitFor("αα   2")) << t.screen();
        t.keys("F6");
        ASSERT_TRUE(t.waitFor("αα   1")) << t.screen();
        t.text("02");
        t.keys("Enter");
        ASSERT_TRUE(t.waitFor("αα   2")) << t.screen();
        t.keys("Enter");
        ASSERT_TRUE(t.waitFor("αα   3")) << t.screen();
        t.text("02");
        t.keys("Enter");
        ASSERT_TRUE(t.waitFor("αα   4")) << t.screen();
        t.text("ITEM OF 1001");
        t.keys("Enter");
        ASSERT_TRUE(t.waitFor("αα   5")) << t.screen();
        t.keys("F4");
        ASSERT_TRUE(t.waitFor("ΤΟ ΑΡΧΕΙΟ BISM.DAT ΕΧΕΙ ΑΛΛΟΙΩΘΕΙ - ΔΕΝ ΚΑΤΑΧΩΡΗΘΗΚΕ")) << t.screen();
        EXPECT_EQ(storeFiles(dir), cut);
        endFromForm(t);
    }
    EXPECT_EQ(storeFiles(dir), cut);
    auto [rc, out] = checker(dir);
    EXPECT_EQ(rc, 1) << out;
    EXPECT_NE(out.find("BISM.DAT: 0 bytes, shorter than what is named"), std::string::npos) << out;
}
