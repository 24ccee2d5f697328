// The message catalogue, the error-list window, the reference counters, the DAO and excise
// questions, and the submission keys of the declaration editor with the run each starts.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "common/umas.h"
#include "declarations/bod.h"
#include "declarations/ek0.h"
#include "documents/ekbodi.h"
#include "helpers/fixture.h"
#include "platform/codepage.h"
#include "platform/console.h"
#include "shell/install.h"
#include "submission/diskvas.h"

using PLAT::gr;
namespace SC = PLAT::SC;

namespace {

class Diskvas : public TESTS::Installation {
protected:
    void SetUp() override {
        TESTS::Installation::SetUp();
        install(TESTS::companies(1));
    }
    void TearDown() override {
        con->onIdle = nullptr;
        TESTS::Installation::TearDown();
    }
    std::string co(const std::string& f) const { return company(0) + "/" + f; }
    // Keys for each wait (one entry per wait); the screen at each wait is kept.
    void drive(std::vector<std::function<void()>> waits) {
        screens.clear();
        step = 0;
        con->onIdle = [this, waits] {
            if (step >= waits.size()) return;
            screens.push_back(con->dump());
            waits[step++]();
        };
    }
    std::function<void()> keys(const char* utf8) {
        return [this, utf8] { con->keys(gr(utf8)); };
    }
    std::function<void()> ext(uint8_t scan) {
        return [this, scan] { con->key(scan); };
    }
    std::vector<std::string> screens;
    size_t step = 0;
};

}  // namespace

TEST_F(Diskvas, TheCatalogueHas128TextsAnd20Equals57) {
    int n = 0;
    for (int i = 0; i < 256; ++i) n += !DISKVAS::ERRMESS(i).empty();
    EXPECT_EQ(n, 128);
    EXPECT_EQ(DISKVAS::ERRMESS(20), DISKVAS::ERRMESS(57));
    EXPECT_EQ(DISKVAS::ERRMESS(123), "");
    EXPECT_EQ(DISKVAS::ERRMESS(0), gr(" Γράμματα σε Αριθμητικό πεδίο "));
    EXPECT_EQ(DISKVAS::ERRMESS(70), gr("Οταν Τύπος Εγγύησης \"1 ή 0 ή 9\" (Συνολική,Απαλλαγή) Να γραφεί ο Αριθμός GRN:"));
    EXPECT_EQ(DISKVAS::ERRMESS(133), gr("Tο ARC του e-ΔΕ (Θέση 40) να είναι 18 ψηφία (χωρίς 3 μηδενικά)"));
}

TEST_F(Diskvas, TheCatalogueAsAGoldenFile) {
    std::string all;
    for (int i = 0; i < 256; ++i)
        if (!DISKVAS::ERRMESS(i).empty()) all += std::to_string(i) + "|" + PLAT::cp737ToUtf8(DISKVAS::ERRMESS(i)) + "|\n";
    const std::string path = std::string(KORVEX_SOURCE_DIR) + "/tests/golden/disket/catalogue.txt";
    if (std::getenv("KORVEX_UPDATE_GOLDEN")) TESTS::writeFile(path, all);
    EXPECT_EQ(all, TESTS::readFile(path));
}

TEST_F(Diskvas, TheNextReferenceNumbers) {
    struct Case {
        const char* content;  // nullptr: no file
        int32_t next;
    } cases[] = {{nullptr, 1}, {"41", 42}, {"00007", 8}, {"", 1}, {"123456", 123457}, {"  12abc", 13}, {"abc", 1}, {"7\r\n9", 8}};
    for (const auto& c : cases) {
        for (const char* f : {"DILANAF.DAT", "DAOANAF.DAT"}) {
            std::filesystem::remove(co(f));
            if (c.content) TESTS::writeFile(co(f), c.content);
        }
        DISKVAS::GETANAFDIL();
        DISKVAS::GETANAFDAO();
        EXPECT_EQ(DISKVAS::ANAFDIL, c.next) << (c.content ? c.content : "missing");
        EXPECT_EQ(DISKVAS::ANAFDAO, c.next) << (c.content ? c.content : "missing");
    }
}

TEST_F(Diskvas, AReferenceCounterIsNeverWrittenBack) {
    // A run that sends an older reference again (the clerk typed a lower number) leaves the counter.
    struct Case {
        const char* content;  // nullptr: no file
        int32_t run;
        const char* after;
    } cases[] = {{nullptr, 1, "1"}, {"41", 42, "42"}, {"41", 7, "41"}, {"00007", 7, "00007"}, {"abc", 3, "3"}};
    for (const auto& c : cases) {
        for (const char* f : {"DILANAF.DAT", "DAOANAF.DAT"}) {
            std::filesystem::remove(co(f));
            if (c.content) TESTS::writeFile(co(f), c.content);
        }
        DISKVAS::ANAFDIL = DISKVAS::ANAFDAO = c.run;
        DISKVAS::PUTANAFDIL();
        DISKVAS::PUTANAFDAO();
        EXPECT_EQ(TESTS::readFile(co("DILANAF.DAT")), c.after) << c.run;
        EXPECT_EQ(TESTS::readFile(co("DAOANAF.DAT")), c.after) << c.run;
    }
}

TEST_F(Diskvas, TheErrorWindowShows21LinesAndTellsOfMore) {
    // The note follows the run's error count above 22, not the number of lines in the list.
    struct Case {
        int lines;
        int cerr;
        bool more;
    } cases[] = {{30, 30, true}, {30, 22, false}, {23, 23, true}, {22, 22, false}, {21, 21, false}, {3, 3, false}};
    for (const auto& c : cases) {
        std::vector<std::string> lines;
        for (int i = 1; i <= c.lines; ++i) lines.push_back("LINE " + std::to_string(i));
        const std::string before = con->dump();
        drive({keys(" ")});
        DISKVAS::SHOWERROR(lines, c.cerr);
        ASSERT_EQ(screens.size(), 1u);
        std::vector<std::string> rows;
        for (size_t from = 0, nl; from <= screens[0].size(); from = nl + 1) {
            nl = screens[0].find('\n', from);
            if (nl == std::string::npos) nl = screens[0].size();
            rows.push_back(screens[0].substr(from, nl - from));
        }
        ASSERT_EQ(rows.size(), 25u);
        for (int i = 1; i <= std::min(c.lines, 21); ++i)
            EXPECT_NE(rows[size_t(i)].find("║ LINE " + std::to_string(i) + " "), std::string::npos) << c.lines << " " << i;
        EXPECT_EQ(screens[0].find("LINE 22") != std::string::npos, false);
        EXPECT_EQ(screens[0].find("*** Υπάρχουν και άλλα σφάλματα ***") != std::string::npos, c.more) << c.lines << " " << c.cerr;
        EXPECT_NE(screens[0].find("Πατήστε κάποιο πλήκτρο ..."), std::string::npos);
        EXPECT_EQ(con->dump(), before);
        // Rows past the list keep the window's own cells.
        if (c.lines == 3) {
            EXPECT_EQ(screens[0].find("LINE 4"), std::string::npos);
        }
    }
}

TEST_F(Diskvas, TheDaoAndExciseQuestionsAnswerOnlyToEnter) {
    drive({keys("\x1b"), keys("\r")});
    EXPECT_EQ(DISKVAS::TYPOSDAO(), 0);
    EXPECT_NE(screens[0].find("1. ΕΞΕΡΧΟΜΕΝΟ"), std::string::npos);
    EXPECT_NE(screens[0].find("2. ΕΙΣΕΡΧΟΜΕΝΟ"), std::string::npos);
    drive({ext(SC::DOWN), keys("\r")});
    EXPECT_EQ(DISKVAS::TYPOSDAO(), 1);
    const std::string before = con->dump();
    drive({keys("\x1b"), ext(SC::F2), ext(SC::DOWN), keys("\r")});
    EXPECT_EQ(EKBODI::TYPOSDEFK(), 1);
    EXPECT_NE(screens[0].find("1. ΟΙΝΟΠΝΕΥΜΑΤΩΔΗ"), std::string::npos);
    EXPECT_NE(screens[0].find("2. ΑΥΤΟΚΙΝΗΤΑ"), std::string::npos);
    EXPECT_EQ(screens.size(), 4u);
    EXPECT_EQ(con->dump(), before);
}

TEST_F(Diskvas, TheGuaranteeKindsFile) {
    EXPECT_FALSE(EK0::KATHEGG("40"));
    TESTS::writeFile(work->file("Kath_Egg.txt"), "  4000 ΕΙΣΑΓΩΓΗ\r\n71\r\n\r\n");
    EXPECT_TRUE(EK0::KATHEGG("40"));
    EXPECT_TRUE(EK0::KATHEGG("71"));
    EXPECT_FALSE(EK0::KATHEGG("00"));
    EXPECT_FALSE(EK0::KATHEGG(" 4"));
}

// Each key and kind: the run it starts (its window) and whether the totals ran first.
TEST_F(Diskvas, EachSubmissionKeyStartsItsRunForItsKinds) {
    struct Case {
        int K;
        const char* EXT;
        const char* title;     // "" when nothing is shown
        const char* question;
        bool totals;
    } cases[] = {
        {17, "IMP", "ΕΙΣΑΓΩΓΗ", "ΝΑ ΓΙΝΕΙ ΑΡΧΕΙΟ ASCII", false},
        {17, "MTF", "ΔΙΑΜΕΤΑΚΟΜΙΣΗ", "ΝΑ ΓΙΝΕΙ ΑΡΧΕΙΟ T1", true},
        {17, "EXP", "ΕΞΑΓΩΓΗ", "ΝΑ ΓΙΝΕΙ ΑΡΧΕΙΟ ASCII", false},
        {29, "IMP", "ΕΙΣΑΓΩΓΗ", "ΝΑ ΓΙΝΕΙ ΑΠΟΣΤΟΛΗ Icinet", false},
        {29, "MTF", "ΔΙΑΜΕΤΑΚΟΜΙΣΗ", "ΝΑ ΓΙΝΕΙ ΑΠΟΣΤΟΛΗ Icinet", true},
        {30, "MET", "ΕΙΣΑΓΩΓΗ", "ΔΟΚΙΜΑΣΤΙΚΟ", false},
        {33, "IMP", "", "", false},
        {33, "MTF", "ΔΙΑΜΕΤΑΚΟΜΙΣΗ", "ΝΑ ΓΙΝΕΙ ΑΠΟΣΤΟΛΗ Icinet", true},
        {18, "EXP", "TIR", "ΝΑ ΓΙΝΕΙ  ΑΡΧΕΙΟ TIR", true},
        {18, "MTF", "TIR", "ΝΑ ΓΙΝΕΙ  ΑΡΧΕΙΟ TIR", true},
        {31, "IMP", "TIR", "ΝΑ ΓΙΝΕΙ ΑΠΟΣΤΟΛΗ Icinet", true},
        {32, "EXP", "TIR", "ΔΟΚΙΜΑΣΤΙΚΟ", true},
        {19, "EXP", "ΔΙΑΜΕΤΑΚΟΜΙΣΗ", "ΝΑ ΓΙΝΕΙ ΑΡΧΕΙΟ T1", true},
        {19, "IMP", "", "", false},
        {21, "IMP", "ΣΥΝ. ΔΗΛΩΣΗ ΕΙΔΟΔΟΥ", "ΝΑ ΓΙΝΕΙ ΑΠΟΣΤΟΛΗ IcisNet", true},
        {22, "MTF", "ΣΥΝ.ΔΗΛ.", "ΝΑ ΓΙΝΕΙ ΑΡΧΕΙΟ ΣΥΝ.ΔΗΛ.", true},
        {25, "IMP", "ΑΦΙΞΗΣ", "ΝΑ ΓΙΝΕΙ ΑΡΧΕΙΟ  ΑΦΙΞΗΣ", true},
        {25, "EXP", "", "", false},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(BOD::SETFORM(c.EXT));
        for (int b = 1; b <= BOD::BOXES; ++b) BOD::BOS(BOD::DIA, BOD::GV, b, "");
        int totals = 0;
        const bool shows = *c.title != 0;
        // The side-data editors a key runs first are each left with Esc; the run's question is
        // answered no.
        screens.clear();
        int idle = 0;
        con->onIdle = [&] {
            if (++idle > 12) return;
            const std::string d = con->dump();
            if (shows && screens.empty() && d.find(c.question) != std::string::npos) {
                screens.push_back(d);
                con->keys(gr("Ο"));
            } else {
                con->keys(gr("\x1b"));
            }
        };
        EK0::SUBMIT(c.K, c.EXT, [&] { ++totals; });
        con->onIdle = nullptr;
        ASSERT_EQ(screens.size(), shows ? 1u : 0u) << c.K << c.EXT;
        if (shows) {
            EXPECT_NE(screens[0].find(c.title), std::string::npos) << c.K << c.EXT;
            EXPECT_NE(screens[0].find(c.question), std::string::npos) << c.K << c.EXT;
        }
        EXPECT_EQ(totals, c.totals ? 1 : 0) << c.K << c.EXT;
    }
}

TEST_F(Diskvas, ExciseKeysAskWhatTheExportIsFor) {
    for (int K : {17, 29, 30}) {
        ASSERT_TRUE(BOD::SETFORM("DFK"));
        // Cars: the vehicle format.
        // (the item's vehicles editor and its extra vehicle data open first: each left with Esc)
        drive({keys("\x1b"), ext(SC::DOWN), keys("\r"), keys("\x1b"), keys("\x1b"), keys("Ο")});
        EK0::SUBMIT(K, "DFK", nullptr);
        ASSERT_EQ(screens.size(), 6u) << K;
        EXPECT_NE(screens[0].find("ΟΙΝΟΠΝΕΥΜΑΤΩΔΗ"), std::string::npos);
        EXPECT_NE(screens[5].find("Δ.Ε.Φ.Κ."), std::string::npos) << K;
        EXPECT_NE(screens[5].find("ΝΑ ΓΙΝΕΙ ΔΙΣΚΕΤΑ ΔΕΦΚ"), std::string::npos) << K;
        // Spirits: the excise export's own question (answered no).
        // (the item's wines editor opens first: left with Esc)
        drive({keys("\r"), keys("\x1b"), keys("Ο")});
        EK0::SUBMIT(K, "DFK", nullptr);
        ASSERT_EQ(screens.size(), 3u) << K;
        EXPECT_NE(screens[2].find(K == 17 ? "  ΝΑ ΓΙΝΕΙ ΔΙΣΚΕΤΑ ΔΕΦΚ " : K == 29 ? " ΝΑ ΓΙΝΕΙ ΑΠΟΣΤΟΛΗ ΔΕΦΚ "
                                                                          : "    ΔΟΚΙΜΑΣΤΙΚΟ    ΔΕΦΚ "),
                  std::string::npos)
            << K;
    }
    // Shift-F3 on an import asks too.
    ASSERT_TRUE(BOD::SETFORM("IMP"));
    drive({keys("\r"), keys("\x1b"), keys("Ο")});
    EK0::SUBMIT(18, "IMP", nullptr);
    ASSERT_EQ(screens.size(), 3u);
    EXPECT_NE(screens[0].find("ΑΥΤΟΚΙΝΗΤΑ"), std::string::npos);
}
