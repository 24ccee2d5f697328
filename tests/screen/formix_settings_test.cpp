// The signing settings: the file read at every company choice, the dialog of the invoice-book
// parameters that rewrites it, and the message box of the signing failures.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "common/umas.h"
#include "config/params.h"
#include "helpers/fixture.h"
#include "invoicing/formix.h"
#include "platform/codepage.h"
#include "platform/console.h"
#include "platform/fatal.h"
#include "platform/pause.h"
#include "screen/scr.h"

namespace SC = PLAT::SC;

namespace {

class SigningSettings : public TESTS::Installation {
protected:
    void SetUp() override {
        Installation::SetUp();
        install(TESTS::companies(2));
        FORMIX::FORMIXPATH.clear();
        FORMIX::FORMIXSAA = 0;
        FORMIX::FORMIXBAD = 0;
        FORMIX::FORMIXSN.clear();
    }
    std::string settings(int co = 0) const { return company(co) + "/formi_01.txt"; }
    void choose(int co) { UMAS::PATH = PARAMS::GETDATABASEPATH() + "ARXEIO" + std::to_string(co) + "\\"; }
};

TEST_F(SigningSettings, ReadAtCompanyChoiceAndAMissingFileOnlyEmptiesTheFolder) {
    TESTS::writeFile(settings(0), "C:\\EAFDSS\r\n12 terminal\r\n1\r\nABC123\r\n");
    choose(0);
    FORMIX::READFORMIXPATH();
    EXPECT_EQ(FORMIX::FORMIXPATH, "C:\\EAFDSS");
    EXPECT_EQ(FORMIX::FORMIXSAA, 12);  // what follows the number is passed over
    EXPECT_EQ(FORMIX::FORMIXBAD, 1);
    EXPECT_EQ(FORMIX::FORMIXSN, "ABC123");

    choose(1);  // no settings file: signing off, the rest stays from the company before
    FORMIX::READFORMIXPATH();
    EXPECT_EQ(FORMIX::FORMIXPATH, "");
    EXPECT_EQ(FORMIX::FORMIXSAA, 12);
    EXPECT_EQ(FORMIX::FORMIXBAD, 1);
    EXPECT_EQ(FORMIX::FORMIXSN, "ABC123");

    // Long lines are cut to their capacities; LF line ends and missing lines are accepted.
    TESTS::writeFile(settings(1), std::string(70, 'P') + "\n  7\n0\n" + std::string(20, 'S'));
    FORMIX::READFORMIXPATH();
    EXPECT_EQ(FORMIX::FORMIXPATH, std::string(50, 'P'));
    EXPECT_EQ(FORMIX::FORMIXSAA, 7);
    EXPECT_EQ(FORMIX::FORMIXBAD, 0);
    EXPECT_EQ(FORMIX::FORMIXSN, std::string(15, 'S'));
    TESTS::writeFile(settings(1), "X\r\n");
    FORMIX::READFORMIXPATH();
    EXPECT_EQ(FORMIX::FORMIXPATH, "X");
    EXPECT_EQ(FORMIX::FORMIXSAA, 0);
    EXPECT_EQ(FORMIX::FORMIXSN, "");
}

// A bad value is told, never fatal: signing is off until the dialog stores sound values, and the
// dialog opens on the values that could be read.
TEST_F(SigningSettings, ABadSettingsValueTurnsSigningOffUntilTheDialogStoresSoundValues) {
    choose(0);
    struct Case {
        const char* body;
        int line;
    } cases[] = {{"F\r\nabc\r\n0\r\nSN\r\n", 2}, {"F\r\n1\r\n300\r\nSN\r\n", 3}, {"F\r\n99999\r\n0\r\nSN\r\n", 2}};
    for (const Case& c : cases) {
        TESTS::writeFile(settings(0), c.body);
        FORMIX::READFORMIXPATH();
        const std::string fault = PLAT::cp737ToUtf8(FORMIX::FORMIXFAULT);
        EXPECT_NE(fault.find("formi_01.txt"), std::string::npos) << c.body;
        EXPECT_NE(fault.find(std::to_string(c.line)), std::string::npos) << fault;
        EXPECT_EQ(FORMIX::FORMIXPATH, "F");
        EXPECT_EQ(FORMIX::FORMIXSN, "SN");
    }
    // Signing is off: a request ends at once as without a folder, nothing written anywhere.
    PLAT::setPauseHook([](int) {});
    int32_t a = 0, b = 0, d = 0, e = 0, f = 0;
    std::string s1, s2, s3, s4, s5;
    EXPECT_EQ(FORMIX::GETOLDSIGNATURE(1, FORMIX::FMAPPID, 1, 1, 1, a, b, d, s1, s2, s3, e, f, s4, s5), FORMIX::R_NOPATH);
    PLAT::setPauseHook(nullptr);
    // The dialog opens on the values read (folder F, terminal 99999 unread: 0) and stores them.
    bool seen = false;
    con->onIdle = [&] {
        if (seen) return;
        seen = true;
        EXPECT_EQ(con->text(30, 11, 1), "F");
        con->ch(27);
    };
    FORMIX::EDITFORMIXPATH();
    con->onIdle = nullptr;
    EXPECT_TRUE(seen);
    EXPECT_TRUE(FORMIX::FORMIXFAULT.empty());
    EXPECT_EQ(TESTS::readFile(settings(0)), "F\r\n0\r\n0\r\nSN\r\n");
    FORMIX::READFORMIXPATH();
    EXPECT_TRUE(FORMIX::FORMIXFAULT.empty());
}

TEST_F(SigningSettings, DialogEditsTheFourFieldsAndStoresThem) {
    choose(0);
    TESTS::writeFile(settings(0), "OLD\r\n5\r\n0\r\nSN1\r\n");
    PLAT::CellBuffer before;
    std::memcpy(&before, &con->cells, sizeof before);
    // Folder: cleared and typed; terminal: "42"; fault: Greek Nu; serial: typed over.
    con->ch(25);
    con->keys("C:\\EAFDSS");
    con->ch(13);
    con->keys("42");
    con->key(SC::DOWN);
    con->ch(0x8C);
    con->ch(13);
    con->ch(25);
    con->keys("KVX" + PLAT::gr("ΑΒΓ") + "9");
    con->ch(13);  // Enter on the last field stays there; Esc would give the field its old text back
    bool seen = false;
    con->onIdle = [&] {
        if (seen) return;
        seen = true;
        EXPECT_EQ(con->text(30, 10, 21), PLAT::gr("╡ ΠΑΡΑΜΕΤΡΟΙ ΕΑΦΔΣΣ ╞"));
        EXPECT_EQ(con->text(15, 11, 15), PLAT::gr("       Server: "));
        EXPECT_EQ(con->text(15, 12, 19), PLAT::gr("   Α/Α Τερματικού: "));
        EXPECT_EQ(con->text(36, 12, 20), PLAT::gr("      Βλάβη ΕΑΦΔΣΣ: "));
        EXPECT_EQ(con->text(15, 13, 33), PLAT::gr("     Σειριακός Αριθμός Συσκευής: "));
        for (int y = 10; y <= 14; ++y)
            for (int x = 12; x <= 69; ++x) EXPECT_EQ(con->attr(x, y), 0x1E) << x << "," << y;
        con->ch(27);
    };
    FORMIX::EDITFORMIXPATH();
    con->onIdle = nullptr;
    EXPECT_TRUE(seen);
    EXPECT_EQ(TESTS::readFile(settings(0)), "C:\\EAFDSS\r\n42\r\n1\r\nKVX" + PLAT::gr("ΑΒΓ") + "9\r\n");
    EXPECT_EQ(FORMIX::FORMIXPATH, "C:\\EAFDSS");
    EXPECT_EQ(FORMIX::FORMIXSAA, 42);
    EXPECT_EQ(FORMIX::FORMIXBAD, 1);
    EXPECT_EQ(std::memcmp(&before, &con->cells, sizeof before), 0) << "screen restored";
    EXPECT_EQ(SCR::STACKPOINTER(), 0);
}

TEST_F(SigningSettings, FaultLetterAndTerminalNumberCases) {
    choose(0);
    struct Case {
        const char* name;
        std::string file;
        std::vector<PLAT::Event> keys;
        std::string stored;
        std::string shownFault;
    } cases[] = {
        {"Esc at once rewrites the values just read", "F\r\n3\r\n1\r\nS\r\n", {PLAT::keyChar(27)}, "F\r\n3\r\n1\r\nS\r\n",
         "N"},
        {"Esc at once creates a missing file with an empty folder", "", {PLAT::keyChar(27)}, "\r\n0\r\n0\r\n\r\n", "O"},
        {"Esc in a field gives it back its old text", "F\r\n3\r\n0\r\nS\r\n",
         {PLAT::keyChar('Z'), PLAT::keyChar(27)}, "F\r\n3\r\n0\r\nS\r\n", "O"},
        {"Latin O clears the fault", "F\r\n3\r\n1\r\nS\r\n",
         {PLAT::keyChar(13), PLAT::keyChar(13), PLAT::keyChar('O'), PLAT::keyChar(13), PLAT::keyChar(27)}, "F\r\n3\r\n0\r\nS\r\n", "N"},
        {"Greek Omicron clears the fault", "F\r\n3\r\n1\r\nS\r\n",
         {PLAT::keyChar(13), PLAT::keyChar(13), PLAT::keyChar(0x8E), PLAT::keyChar(13), PLAT::keyChar(27)}, "F\r\n3\r\n0\r\nS\r\n", "N"},
        {"Latin N sets it", "F\r\n3\r\n0\r\nS\r\n",
         {PLAT::keyChar(13), PLAT::keyChar(13), PLAT::keyChar('N'), PLAT::keyChar(13), PLAT::keyChar(27)}, "F\r\n3\r\n1\r\nS\r\n", "O"},
        {"other letters are refused", "F\r\n3\r\n0\r\nS\r\n",
         {PLAT::keyChar(13), PLAT::keyChar(13), PLAT::keyChar('X'), PLAT::keyChar('n'), PLAT::keyChar(13), PLAT::keyChar(27)},
         "F\r\n3\r\n0\r\nS\r\n", "O"},
        {"an empty terminal number stores 0", "F\r\n3\r\n0\r\nS\r\n",
         {PLAT::keyChar(13), PLAT::keyChar(25), PLAT::keyChar(13), PLAT::keyChar(27)}, "F\r\n0\r\n0\r\nS\r\n", "O"},
        {"letters in the terminal number are refused", "F\r\n3\r\n0\r\nS\r\n",
         {PLAT::keyChar(13), PLAT::keyChar('A'), PLAT::keyChar(13), PLAT::keyChar(27)}, "F\r\n3\r\n0\r\nS\r\n", "O"},
        {"Up on the first field and Enter on the last stay", "F\r\n3\r\n0\r\nS\r\n",
         {PLAT::keyExt(SC::UP), PLAT::keyChar('G'), PLAT::keyChar(13), PLAT::keyChar(13), PLAT::keyChar(13),
          PLAT::keyChar(13), PLAT::keyChar(13), PLAT::keyChar('T'), PLAT::keyExt(SC::UP), PLAT::keyExt(SC::UP),
          PLAT::keyChar('7'), PLAT::keyChar(13), PLAT::keyChar(27)},
         "G\r\n7\r\n0\r\nT\r\n", "O"},
        {"a key that ends a field otherwise starts it again", "F\r\n3\r\n0\r\nS\r\n",
         {PLAT::keyExt(SC::F1), PLAT::keyChar('H'), PLAT::keyChar(13), PLAT::keyChar(27)}, "H\r\n3\r\n0\r\nS\r\n", "O"},
    };
    for (auto& c : cases) {
        if (c.file.empty())
            std::remove(settings(0).c_str());
        else
            TESTS::writeFile(settings(0), c.file);
        FORMIX::FORMIXSAA = 0;  // the start values
        FORMIX::FORMIXBAD = 0;
        FORMIX::FORMIXSN.clear();
        std::string fault;
        bool first = true;
        con->onIdle = [&] {  // the dialog as it opens, then the keys
            if (!first) return;
            first = false;
            fault = con->text(56, 12, 1);
            for (auto& k : c.keys) con->push(k);
        };
        FORMIX::EDITFORMIXPATH();
        con->onIdle = nullptr;
        EXPECT_EQ(TESTS::readFile(settings(0)), c.stored) << c.name;
        EXPECT_EQ(fault, c.shownFault) << c.name;
        EXPECT_EQ(con->pending(), 0u) << c.name;
    }
}

TEST_F(SigningSettings, ValuesLongerThanTheirFieldsAreKeptWhenLeftAlone) {
    choose(0);
    const std::string folder = "\\\\SERVER\\SHARE\\SIGNING\\EXCHANGE\\COMPANY1";  // 39 characters
    TESTS::writeFile(settings(0), folder + "\r\n123\r\n0\r\nS\r\n");
    con->ch(13);
    con->ch(13);
    con->ch(13);
    con->ch(27);
    FORMIX::EDITFORMIXPATH();
    EXPECT_EQ(TESTS::readFile(settings(0)), folder + "\r\n123\r\n0\r\nS\r\n");
    // A company folder of any length: the file is always "formi_01.txt" in it.
    EXPECT_EQ(FORMIX::SETTINGSFILE(), UMAS::PATH + "formi_01.txt");
}

TEST_F(SigningSettings, InvoiceBookParametersEntrySevenOpensTheDialog) {
    choose(0);
    con->keys("7");  // a digit picks the entry
    con->keys("Q");
    con->ch(13);
    con->ch(27);
    con->ch(27);
    PARAMS::PARMEN_PAREXOD();
    EXPECT_EQ(TESTS::readFile(settings(0)), "Q\r\n0\r\n0\r\n\r\n");
}

// ---- The message box -----------------------------------------------------------------------------

class MessageBox : public TESTS::Installation {
protected:
    void SetUp() override {
        Installation::SetUp();
        PLAT::setPauseHook([this](int ms) {
            pauses.push_back(ms);
            rows.push_back({con->text(15, 11, 52), con->text(15, 12, 52), con->text(15, 13, 52)});
            stack = SCR::STACKPOINTER();
            refreshes = con->refreshes;
        });
    }
    void TearDown() override {
        PLAT::setPauseHook(nullptr);
        Installation::TearDown();
    }
    std::vector<int> pauses;
    std::vector<std::vector<std::string>> rows;
    int stack = -1;
    long refreshes = 0;
};

TEST_F(MessageBox, TextsAreCentredOrSplitAndTheScreenComesBack) {
    std::string blank(52, ' ');
    struct Case {
        const char* name;
        std::string mess;
        std::string r12, r13;
    } cases[] = {
        {"short: centred on row 12", "GUID conflict!", UMAS::CENTE("GUID conflict!", 52), blank},
        {"empty: three blank rows", "", blank, blank},
        {"52 characters: split at the last blank of the first half",
         std::string(20, 'A') + " " + std::string(5, 'B') + " " + std::string(25, 'C'),
         UMAS::CENTE(std::string(20, 'A'), 52), UMAS::CENTE(std::string(5, 'B') + " " + std::string(25, 'C'), 52)},
        {"no blank in the first half: all on row 13", std::string(30, 'X') + " " + std::string(29, 'Y'), blank,
         UMAS::CENTE(std::string(30, 'X') + " " + std::string(21, 'Y'), 52)},
    };
    PLAT::CellBuffer before;
    std::memcpy(&before, &con->cells, sizeof before);
    for (const auto& c : cases) {
        pauses.clear();
        rows.clear();
        FORMIX::DISPLAYMESSDUR(5, c.mess);
        ASSERT_EQ(pauses.size(), 1u) << c.name;
        EXPECT_EQ(pauses[0], 5000) << c.name;
        EXPECT_EQ(rows[0][0], blank) << c.name;
        EXPECT_EQ(rows[0][1], c.r12) << c.name;
        EXPECT_EQ(rows[0][2], c.r13) << c.name;
        EXPECT_EQ(stack, 1) << c.name << ": the box saved what it covers";
        EXPECT_EQ(std::memcmp(&before, &con->cells, sizeof before), 0) << c.name << ": screen restored";
    }
    pauses.clear();
    FORMIX::DISPLAYMESSDUR(100, "X");
    EXPECT_EQ(pauses[0], 65535);
    // A long error text splits over rows 12 and 13.
    rows.clear();
    FORMIX::DISPLAYMESSDUR(5, FORMIX::GETERRORSTRING(-13, 0, 0));
    EXPECT_EQ(UMAS::CUTLEADSPACES(UMAS::REMLCH(rows[0][1], ' ')), PLAT::gr("Ο server δεν πήρε την αίτηση! Πιθανώς"));
    EXPECT_EQ(UMAS::CUTLEADSPACES(UMAS::REMLCH(rows[0][2], ' ')),
              PLAT::gr("είναι εκτός λειτουργίας ή η σύνδεση έχει διακοπεί"));
    rows.clear();
    FORMIX::DISPLAYMESSDUR(5, FORMIX::GETERRORSTRING(-19, 0, 0));
    for (const auto& r : rows[0]) EXPECT_EQ(r.size(), 52u);
    EXPECT_NE(rows[0][1], blank);
    EXPECT_EQ(PLAT::cp737ToUtf8(UMAS::CUTLEADSPACES(UMAS::REMLCH(rows[0][1], ' ')) + " " +
                                UMAS::CUTLEADSPACES(UMAS::REMLCH(rows[0][2], ' '))),
              PLAT::cp737ToUtf8(FORMIX::GETERRORSTRING(-19, 0, 0)))
        << "the whole text fits the two rows";
}

}  // namespace
