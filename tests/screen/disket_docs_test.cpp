// The document and transport segments of the segment file, worked by hand: previous documents from
// the box-40 grid, attached documents and special mentions of box 44, transit documents with the TIR
// carnet, packages with the box-19 total, the guarantee, an import's guarantee numbers, containers
// and the carrier. Side files are written through their owner's codecs.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "common/umas.h"
#include "declarations/bod.h"
#include "declarations/store_form.h"
#include "documents/ekextra.h"
#include "helpers/fixture.h"
#include "platform/clock.h"
#include "platform/codepage.h"
#include "platform/console.h"
#include "shell/install.h"
#include "submission/disket.h"
#include "submission/disket_run.h"
#include "submission/disket_writers.h"

using PLAT::gr;
namespace W = DISKET::WRITERS;

namespace {

const std::string T13(13, '~'), T11(11, '~');

void expectGolden(const std::string& name, const std::string& bytes) { TESTS::expectGolden("disket/" + name, bytes); }

class Docs : public TESTS::Installation {
protected:
    void SetUp() override {
        TESTS::Installation::SetUp();
        install(TESTS::companies(1));
        for (auto& p : UMAS::PAREDE) p.TIMI = 0;
        for (auto& s : UMAS::EGG_IMP_NUM) s.clear();
        for (auto& s : UMAS::EGG_IMP_POSO) s.clear();
        for (auto& s : UMAS::T1_METAF_ASF) s.clear();
        form("IMP");
    }
    void form(const std::string& EXT) {
        ASSERT_TRUE(BOD::SETFORM(EXT == "MTF" ? "IMP" : EXT));
        for (int b = 1; b <= BOD::BOXES; ++b) BOD::BOS(BOD::DIA, BOD::GV, b, "");
        BOD::AY = BOD::MOT{};
        box(1, "123");
        box(2, "IM A");
    }
    void box(int n, const std::string& utf8) { BOD::BOS(BOD::DIA, BOD::GV, n, gr(utf8.c_str())); }
    // A run standing at row 1 of the code KV, item 1 of `items`.
    static DISKET::RUN at(uint16_t KV, const std::string& EXT = "IMP", uint8_t EDE = DISKET::ED_FILE, int items = 1) {
        DISKET::RUN R;
        R.EXT = EXT;
        R.EDE = EDE;
        R.TAB[0].KV = KV;
        R.TAB[0].PEDIO = "P";
        R.I = 1;
        R.AREIDOS = 1;
        R.SYNEIDH = items;
        return R;
    }
    static std::string errors(const DISKET::RUN& R) {
        std::string s;
        for (const auto& l : R.ERR) s += PLAT::cp737ToUtf8(l) + "\n";
        return s;
    }
    static void grid(int item, const std::vector<std::vector<std::string>>& rows, const std::string& number = "123") {
        EKEXTRA::TDILOS t;
        for (size_t r = 0; r < rows.size(); ++r)
            for (size_t c = 0; c < rows[r].size(); ++c) t.C[r][c] = rows[r][c];
        EKEXTRA::WRITEGRID(EKEXTRA::ITEMNAME(number, ".L", std::to_string(item)), t);
    }
    static void list44(const std::vector<std::pair<int, std::pair<std::string, std::string>>>& rows) {
        EKEXTRA::THESI44 t;
        for (const auto& [r, cr] : rows) {
            t.CODE[size_t(r - 1)] = cr.first;
            t.REF[size_t(r - 1)] = cr.second;
        }
        EKEXTRA::WRITET44(EKEXTRA::SIDEFILE(".T44"), t);
    }
};

}  // namespace

// ---- Previous documents ------------------------------------------------------------------------

TEST_F(Docs, PreviousDocumentsTakeFormAOrBByTheirType) {
    grid(1, {{"Z", "785", "", "", "ABC"},
             {"X", "821", "", "", "R1", "5", "7", " 8 "},
             {" Y ", "2AB", "", "", " R2 "},
             {"X", "Z12", "", "", "R3"},
             {"", "740", "", "", "SKIPPED"},
             {"X", "7", "", "", "SKIPPED"},
             {"X", "CLE", "", "", ""},
             {"X", "AAD", "", "", "123456789012345678", "7"},
             {"X", "AAD", "", "", "123456789012345678901"},
             {"Y", "355", "", "", "R4"}});
    auto R = at(3130);
    W::PREVDOCS(R);
    EXPECT_EQ(R.OUT, "\r\n3130:1~2~1~1~337~Z~ABC~" + T13 + "~"               // 785 as 337, form A
                     "\r\n3130:1~2~1~2~821~X~R1~5" + T13 + "7~ 8 "            // begins with 8: form A
                     "\r\n3130:1~2~1~3~2AB~Y" + T11 + "R2~EL~~~~"             // begins with 2: form B
                     "\r\n3130:1~2~1~4~Z12~X" + T11 + "R3~EL~~~~"             // begins with Z: form B
                     "\r\n3130:1~2~1~5~AAD~X" + T11 + "1234567890000" "12345678" "007~EL~~~~"
                     "\r\n3130:1~2~1~6~AAD~X"                                 // 21 characters
                     "\r\n3130:1~2~1~7~355~Y~R4~" + T13 + "~");
    EXPECT_EQ(errors(R), "Tο ARC του e-ΔΕ (Θέση 40) να είναι 18 ψηφία (χωρίς 3 μηδενικά)\n");
}

TEST_F(Docs, ThePresenceCheckAndItsWaivers) {
    struct C {
        const char* EXT;
        const char* box2;
        const char* box84;
        bool message46;
    } cases[] = {
        {"IMP", "IM A", "", true},    {"IMP", "IM D", "", false},   {"IMP", "EXA", "", false},
        {"EXP", "EX A", "1000", false}, {"EXP", "EX A", "4000", true}, {"MTF", "T1", "", false},
    };
    for (const C& c : cases) {
        form(c.EXT);
        box(2, c.box2);
        box(84, c.box84);
        auto R = at(1030, c.EXT);
        W::PREVDOCS(R);
        EXPECT_EQ(R.OUT, "") << c.EXT << c.box2;
        EXPECT_EQ(errors(R), c.message46 ? "Πρέπει να συμπληρωθεί το προηγούμενο παραστατικό (Θέση 40)\n" : "")
            << c.EXT << c.box2 << c.box84;
    }
    // A grid whose first row is unusable still gives the message after its other rows.
    form("IMP");
    grid(1, {{"", "740", "", "", "A"}, {"X", "740", "", "", "B"}});
    auto R = at(3130);
    W::PREVDOCS(R);
    EXPECT_EQ(R.OUT, "\r\n3130:1~2~1~1~740~X" + T11 + "B~EL~~~~");
    EXPECT_EQ(errors(R), "Πρέπει να συμπληρωθεί το προηγούμενο παραστατικό (Θέση 40)\n");
}

TEST_F(Docs, TransitWritesUnder0030AndMode4SkipsTheRow) {
    form("MTF");
    box(2, "T1");
    grid(1, {{"X", "740", "", "", "A"}});
    auto R = at(1030, "MTF");
    R.AREIDOS = 0;  // a header row counts as item 1
    W::PREVDOCS(R);
    EXPECT_EQ(R.OUT, "\r\n0030:1~2~1~1~740~X" + T11 + "A~EL~~~~");
    // The walk of mode 4 does not start the writer for 1030 (3130 it does).
    auto M = at(1030, "MTF", DISKET::ED_TIRSEND);
    DISKET::WALK(M);
    EXPECT_EQ(M.OUT, "");
    EXPECT_EQ(errors(M), "");
    auto N = at(3130, "MTF", DISKET::ED_TIRSEND);
    DISKET::WALK(N);
    EXPECT_EQ(N.OUT, "\r\n0030:1~2~1~1~740~X" + T11 + "A~EL~~~~");
}

// ---- Attached documents and special mentions ---------------------------------------------------

TEST_F(Docs, AttachedDocumentsFromBoxes93To95WithSwitch13) {
    UMAS::PAREDE[13].TIMI = 1;
    box(93, "N380:REF");
    box(94, "0380:X");
    box(95, "3A12: Y ");
    list44({{1, {"N935", "IGNORED"}}});
    auto R = at(3125);
    W::ATTACHEDDOCS(R);
    EXPECT_EQ(R.OUT, "\r\n3125:1~2~1~1~N380~REF~EL\r\n3125:1~2~1~2~0380~~EL\r\n3125:1~2~1~3~3A12~~EL");
    EXPECT_EQ(errors(R), "Γραμμή 1 Λάθος κωδικός 0380 επισυναπτόμενου εντύπου.(Θέση 44)\n"
                         "Γραμμή 1 Λάθος κωδικός 3A12 επισυναπτόμενου εντύπου.(Θέση 44)\n");
    // Boxes without a usable colon give nothing: message 48.
    box(93, ":X");
    box(94, "N380");
    box(95, "");
    R = at(3125);
    W::ATTACHEDDOCS(R);
    EXPECT_EQ(R.OUT, "");
    EXPECT_EQ(errors(R), "Απαιτείται τουλάχιστον ένας κωδικός επισυναπτόμενου εντύπου. (Θέση 44)\n");
}

TEST_F(Docs, AttachedDocumentsFromTheListAndFromTheSheets) {
    list44({{1, {"3A12", " R1 "}}, {2, {"N380", "X"}}, {3, {"", "NOCODE"}}, {4, {"C514", ""}},
            {5, {"0380", "Q"}}, {16, {"10100", "M"}}});
    auto R = at(3125, "IMP", DISKET::ED_FILE, 3);
    R.EGGR_BIS[2][1] = {"", ""};
    R.EGGR_BIS[3][1] = {"N380", "X"};
    R.EGGR_BIS[3][2] = {"10100", "Y"};
    R.EGGR_BIS[3][3] = {"n380", "LOWER"};
    R.EGGR_BIS[3][4] = {"C514", "Z"};
    W::ATTACHEDDOCS(R);
    EXPECT_EQ(R.OUT, "\r\n3125:1~2~1~1~3A12~R1~EL\r\n3125:1~2~1~2~N380~X~EL\r\n3125:1~2~1~3~0380~Q~EL"
                     "\r\n3125:1~2~3~1~N380~X~EL\r\n3127:1~2~3~1~10100~Y~EL\r\n3125:1~2~3~2~C514~Z~EL");
    EXPECT_EQ(errors(R), "Γραμμή 1 Λάθος κωδικός 0380 επισυναπτόμενου εντύπου.(Θέση 44)\n");
    // No list at all: message 48, the sheets' documents still written.
    std::remove((company(0) + "/123.T44").c_str());
    R.OUT.clear();
    R.ERR.clear();
    W::ATTACHEDDOCS(R);
    EXPECT_EQ(R.OUT, "\r\n3125:1~2~3~1~N380~X~EL\r\n3127:1~2~3~1~10100~Y~EL\r\n3125:1~2~3~2~C514~Z~EL");
    EXPECT_EQ(errors(R), "Απαιτείται τουλάχιστον ένας κωδικός επισυναπτόμενου εντύπου. (Θέση 44)\n");
}

TEST_F(Docs, SpecialMentionsOfItem1) {
    list44({{1, {"N380", "X"}}, {16, {"00600", "A"}}, {17, {"10100", ""}}});
    auto R = at(3127);
    W::SPECIALMENTIONS(R);
    EXPECT_EQ(R.OUT, "\r\n3127:1~2~1~1~10100~~");
    EXPECT_EQ(errors(R), "Λάθος κωδικός 00600 Ειδικής Μνείας.(Θέση 44)\n");
    list44({{16, {"30400", " KEPT AS STORED "}}, {17, {"00100", "B"}}});
    R = at(3127);
    W::SPECIALMENTIONS(R);
    EXPECT_EQ(R.OUT, "\r\n3127:1~2~1~1~30400~ KEPT AS STORED ~\r\n3127:1~2~1~2~00100~B~");
    // Switch 13 other than 0, or no list: nothing and nothing told.
    UMAS::PAREDE[13].TIMI = 1;
    R = at(3127);
    W::SPECIALMENTIONS(R);
    EXPECT_EQ(R.OUT + errors(R), "");
    UMAS::PAREDE[13].TIMI = 0;
    std::remove((company(0) + "/123.T44").c_str());
    W::SPECIALMENTIONS(R);
    EXPECT_EQ(R.OUT + errors(R), "");
}

TEST_F(Docs, AnOlderBox44ListIsRewrittenInTheNewLayout) {
    // 17 rows of two string[18]: row 1 "N380" "REF", row 16 "10100" "M".
    std::string old(EKEXTRA::THESI44::OLD_SIZE, '\0');
    auto put = [&](size_t off, const std::string& s) {
        old[off] = char(s.size());
        old.replace(off + 1, s.size(), s);
    };
    put(0, "N380");
    put(19, "REF");
    put(15 * 38, "10100");
    put(15 * 38 + 19, "M");
    const std::string name = company(0) + "/123.T44";
    for (int writer = 0; writer < 2; ++writer) {
        TESTS::writeFile(name, old);
        auto R = at(writer ? 3127 : 3125);
        writer ? W::SPECIALMENTIONS(R) : W::ATTACHEDDOCS(R);
        EXPECT_EQ(R.OUT, writer ? "\r\n3127:1~2~1~1~10100~M~" : "\r\n3125:1~2~1~1~N380~REF~EL");
        const std::string now = TESTS::readFile(name);
        ASSERT_EQ(now.size(), EKEXTRA::THESI44::SIZE);
        const auto t = EKEXTRA::THESI44::decode(now);
        EXPECT_EQ(t.CODE[0], "N380");
        EXPECT_EQ(t.REF[0], "REF");
        EXPECT_EQ(t.CODE[15], "10100");
        EXPECT_EQ(t.REF[15], "M");
    }
}

TEST_F(Docs, AKillDuringTheRewriteLeavesAWholeList) {
    std::string old(EKEXTRA::THESI44::OLD_SIZE, '\0');
    old[0] = 4;
    old.replace(1, 4, "N380");
    old[19] = 3;
    old.replace(20, 3, "REF");
    const std::string name = company(0) + "/123.T44";
    for (int round = 0; round < 12; ++round) {
        TESTS::writeFile(name, old);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            // Rewrites the list again and again until killed.
            for (;;) {
                auto R = at(3125);
                W::ATTACHEDDOCS(R);
                TESTS::writeFile(name + ".OLD", old);
                std::rename((name + ".OLD").c_str(), name.c_str());
            }
        }
        std::this_thread::sleep_for(std::chrono::microseconds(300 + 700 * round));
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        const std::string now = TESTS::readFile(name);
        ASSERT_TRUE(now.size() == EKEXTRA::THESI44::SIZE || now == old) << now.size();
        const auto t = EKEXTRA::THESI44::decode(now);
        EXPECT_EQ(t.CODE[0], "N380");
        EXPECT_EQ(t.REF[0], "REF");
    }
}

// ---- Transit documents -------------------------------------------------------------------------

TEST_F(Docs, TransitDocumentsWithTheTirCarnet) {
    form("MTF");
    box(93, "952:XA123");
    box(94, "740:ABC");
    box(95, "0380:LONGREF");
    auto R = at(1029, "MTF", DISKET::ED_TIRSEND);
    R.ST_TIR[1] = " XA123 ";
    W::TRANSITDOCS44(R);
    // The carnet from the TIR data; 952 not again; 380 (leading zero gone) written.
    EXPECT_EQ(R.OUT, "\r\n0029:1~2~1~1~952~XA123~EL~~EL\r\n0029:1~2~1~2~740~ABC~EL\r\n0029:1~2~1~3~380~LONGREF~EL");
    EXPECT_EQ(errors(R), "");
    // Without a carnet number: message 73, and mode 4 never asks for a document.
    box(93, "");
    box(94, "");
    box(95, "");
    R = at(1029, "MTF", DISKET::ED_TIRSEND);
    W::TRANSITDOCS44(R);
    EXPECT_EQ(R.OUT, "");
    EXPECT_EQ(errors(R), "Πρέπει να συμπληρωθεί Αριθμός TIR.\n");
    // Outside mode 4 the first item needs one: message 71; a line without a reference: message 74.
    box(94, "740:  ");
    R = at(1029, "MTF");
    W::TRANSITDOCS44(R);
    EXPECT_EQ(R.OUT, "");
    EXPECT_EQ(errors(R), "Είδος 1. Λάθος η 3η γραμμή επισυναπτόμενων (44). Δώσε αριθμό\n"
                         "Πρέπει να συμπληρωθεί ένα συννημένο (44) στο 1ο είδος.\n");
    // Mode 8 writes the carnet and every line (952 too).
    box(94, "952:XA123");
    R = at(1029, "MTF", DISKET::ED_TIR);
    R.ST_TIR[1] = "XA123";
    W::TRANSITDOCS44(R);
    EXPECT_EQ(R.OUT, "\r\n0029:1~2~1~1~952~XA123~EL~~EL\r\n0029:1~2~1~2~952~XA123~EL");
}

TEST_F(Docs, TransitDocumentCodeLengths) {
    box(93, "N380:X");
    box(94, "380:X");
    auto R = at(1029, "IMP");
    W::TRANSITDOCS44(R);
    EXPECT_EQ(R.OUT, "\r\n0029:1~2~1~1~N380~X~EL\r\n0029:1~2~1~2~380~X~EL");
    EXPECT_EQ(errors(R), "Λάθος εγγραφή στον κωδικό του συνημμένου εγγράφου: 380\n");
    // A T2L wants three characters.
    R = at(1029, "IMP");
    R.IST2L = true;
    W::TRANSITDOCS44(R);
    EXPECT_EQ(errors(R), "Λάθος εγγραφή στον κωδικό του συνημμένου εγγράφου: N380\n");
}

// ---- Packages ----------------------------------------------------------------------------------

TEST_F(Docs, PackagesOfEveryItemAndTheBox19Total) {
    form("MTF");
    BOD::AY.ON = "CT";
    BOD::AY.ER = "ABC";
    BOD::AY.TY = "10";
    BOD::AY.AP = "NE";
    BOD::AY.KY = "5";
    BOD::AY.ET = "VQ";
    BOD::AY.KA = "";
    box(19, "16");
    auto R = at(1026, "MTF", DISKET::ED_FILE, 3);
    R.SYSBUF[2][1] = {"PK", "", ""};      // a kind without a number: nothing
    R.SYSBUF[2][2] = {"VQ", "M2", "7"};   // bulk: 1 whatever its number
    R.SYSBUF[3][3] = {"BX", "", "2.5"};   // rounded half to even: 2
    W::TRANSITPACKAGES(R);
    EXPECT_EQ(R.OUT, "\r\n0026:1~2~1~1~ABC ~EL~CT~10\r\n0026:1~2~1~2~-~EL~NE~~5\r\n0026:1~2~1~3~-~EL~VQ"
                     "\r\n0026:1~2~2~1~M2 ~EL~VQ\r\n0026:1~2~3~1~-~EL~BX~2.5");
    EXPECT_EQ(errors(R), "Λάθος στο σύνολο δεμάτων (θέση 6). Πρέπει να συμπληρωθούν οι συσκευασίες.\n");
    box(19, "19");
    R.OUT.clear();
    R.ERR.clear();
    W::TRANSITPACKAGES(R);
    EXPECT_EQ(errors(R), "");
}

TEST_F(Docs, PackagesFromTheFormAndTheTotalCheck) {
    struct C {
        const char* box19;
        bool message72;
    } cases[] = {{"12", true}, {"13", false}, {"13.4", false}, {"", true}};
    for (const C& c : cases) {
        form("IMP");
        BOD::AY.ON = "CT";
        BOD::AY.TY = "10";
        BOD::AY.AP = "BX";
        BOD::AY.KY = "3";
        box(19, c.box19);
        auto R = at(3128);
        W::TRANSITPACKAGES(R);
        EXPECT_EQ(R.OUT, "\r\n3128:1~2~1~1~-~EL~CT~10\r\n3128:1~2~1~2~-~EL~BX~3");
        EXPECT_EQ(!R.ERR.empty(), c.message72) << c.box19;
    }
    // No kind in the record: boxes 68 to 71, the second marks part for item 1 only.
    form("IMP");
    box(68, "CT");
    box(69, "4");
    box(70, "MARKS");
    box(71, "TWO");
    box(19, "6");
    auto R = at(3128, "IMP", DISKET::ED_FILE, 2);
    R.SYSBUF[2][1] = {"BX", "M2", "2"};
    W::TRANSITPACKAGES(R);
    EXPECT_EQ(R.OUT, "\r\n3128:1~2~1~1~MARKS TWO~EL~CT~4\r\n3128:1~2~2~1~M2 ~EL~BX~2");
    EXPECT_EQ(errors(R), "");
    // No kind anywhere: message 85 naming item 1, and 72 for a box 19 that is not 0.
    form("IMP");
    box(19, "5");
    R = at(3128);
    W::TRANSITPACKAGES(R);
    EXPECT_EQ(R.OUT, "");
    EXPECT_EQ(errors(R), "Είδος 1. Πρέπει να συμπληρωθεί ο κωδικός συσκευασίας\n"
                         "Λάθος στο σύνολο δεμάτων (θέση 6). Πρέπει να συμπληρωθούν οι συσκευασίες.\n");
}

TEST_F(Docs, PackageTotalsDoNotOverflow) {
    // 42 lines of 99999999 and one of 94967343: 2^32 + 5 packages, which a 32-bit total would
    // take for 5.
    form("MTF");
    BOD::AY.ON = BOD::AY.AP = BOD::AY.ET = "CT";
    BOD::AY.TY = BOD::AY.KY = BOD::AY.KA = "99999999";
    auto R = at(1026, "MTF", DISKET::ED_FILE, 15);
    for (int it = 2; it <= 14; ++it)
        for (int k = 1; k <= 3; ++k) R.SYSBUF[size_t(it)][size_t(k)] = {"CT", "", "99999999"};
    R.SYSBUF[15][1] = {"CT", "", "94967343"};
    box(19, "5");
    W::TRANSITPACKAGES(R);
    EXPECT_EQ(errors(R), "Λάθος στο σύνολο δεμάτων (θέση 6). Πρέπει να συμπληρωθούν οι συσκευασίες.\n");
    EXPECT_NE(R.OUT.find("0026:1~2~15~1~-~EL~CT~94967343"), std::string::npos);
}

// ---- Guarantee, guarantee numbers, containers, carrier -----------------------------------------

TEST_F(Docs, TheGuaranteeAndItsAccessCode) {
    box(203, "GRN: 12GR0001");
    auto R = at(1032);
    W::GUARANTEE(R);
    EXPECT_EQ(R.OUT, "\r\n0032:1~2~1~1~ 12GR0001~~5826");
    TESTS::writeFile(company(0) + "/EGGNUM.TXT", "7777XX\r\nSECOND\r\n");
    box(203, "  XX GRN:26GR12345678901234567890123 ");
    R = at(1032);
    W::GUARANTEE(R);
    EXPECT_EQ(R.OUT, "\r\n0032:1~2~1~1~26GR12345678901234567890~~7777");
    box(203, "12GR0001");
    R = at(1032);
    W::GUARANTEE(R);
    EXPECT_EQ(R.OUT, "");
    EXPECT_EQ(errors(R), "Οταν Τύπος Εγγύησης \"1 ή 0 ή 9\" (Συνολική,Απαλλαγή) Να γραφεί ο Αριθμός GRN:\n");
    // Box 204 decides whether the row writes it at all.
    for (const char* g : {"5", "1"}) {
        box(204, g);
        R = at(1032);
        DISKET::WALK(R);
        EXPECT_EQ(R.OUT, "");
        EXPECT_EQ(R.ERR.size(), g[0] == '5' ? 0u : 1u);
    }
}

TEST_F(Docs, GuaranteeNumbersOfAnImport) {
    UMAS::EGG_IMP_NUM[1] = "A1";
    UMAS::EGG_IMP_POSO[1] = "100";
    UMAS::EGG_IMP_NUM[2] = "";
    UMAS::EGG_IMP_POSO[2] = "5";
    UMAS::EGG_IMP_NUM[3] = "C3";
    UMAS::EGG_IMP_POSO[3] = "0";
    UMAS::EGG_IMP_NUM[4] = "D4";
    UMAS::EGG_IMP_POSO[4] = "50.50";
    auto R = at(3180);
    W::GUARANTEENUMS(R);
    EXPECT_EQ(R.OUT, "\r\n3180:1~2~1~1~A1~100\r\n3180:1~2~1~4~D4~50.50");
}

TEST_F(Docs, ContainersOfEveryItemOrBox66) {
    EKEXTRA::CONTBUF a, b;
    a.E[0] = "MSCU1234565";
    a.E[3] = " TGHU765432";
    b.E[89] = "ABCU0000001";
    EKEXTRA::WRITECONT(EKEXTRA::CONTAINERNAME("123", "01"), a);
    EKEXTRA::WRITECONT(EKEXTRA::CONTAINERNAME("123", "02"), b);
    auto R = at(1025, "IMP", DISKET::ED_FILE, 2);
    W::CONTAINERS(R);
    EXPECT_EQ(R.OUT, "\r\n1025:1~2~1~1~MSCU1234565\r\n1025:1~2~1~2~TGHU765432\r\n1025:1~2~2~1~ABCU0000001");
    R = at(1025, "MTF", DISKET::ED_FILE, 2);
    W::CONTAINERS(R);
    EXPECT_EQ(R.OUT.substr(0, 16), "\r\n0025:1~2~1~1~M");
    // None recorded: box 66 cut to 11, or message 83 with the row prefix.
    R = at(3126, "IMP", DISKET::ED_FILE, 0);
    box(66, " CONTAINER-TEXT ");
    W::CONTAINERS(R);
    EXPECT_EQ(R.OUT, "\r\n3126:1~2~1~1~CONTAINER-T");
    box(66, "");
    R = at(3126, "IMP", DISKET::ED_FILE, 0);
    W::CONTAINERS(R);
    EXPECT_EQ(R.OUT, "");
    EXPECT_EQ(errors(R), "Γραμμή 1 Οταν θέση 19 = \"1\" (Container) πρέπει να γραφούν οι Αριθμοί τους.\n");
}

TEST_F(Docs, AContainerFileIsNamedByTheWholeNumber) {
    box(1, "1234567890");
    EKEXTRA::CONTBUF whole, cut;
    whole.E[0] = "WHOLE000001";
    cut.E[0] = "CUT00000001";
    // Only the older 8-character name: it is read.
    EKEXTRA::WRITECONT(company(0) + "/12345678.01", cut);
    auto R = at(1025);
    W::CONTAINERS(R);
    EXPECT_EQ(R.OUT, "\r\n1025:1~2~1~1~CUT00000001");
    // Both: the whole number wins.
    EKEXTRA::WRITECONT(EKEXTRA::CONTAINERNAME("1234567890", "01"), whole);
    R = at(1025);
    W::CONTAINERS(R);
    EXPECT_EQ(R.OUT, "\r\n1025:1~2~1~1~WHOLE000001");
}

TEST_F(Docs, TheCarrier) {
    auto R = at(1080, "MTF");
    W::CARRIER(R);
    EXPECT_EQ(R.OUT, "");
    UMAS::T1_METAF_ASF[1] = "TRANS SA";
    UMAS::T1_METAF_ASF[3] = "ATHENS";
    UMAS::T1_METAF_ASF[4] = "GR";
    W::CARRIER(R);
    EXPECT_EQ(R.OUT, "\r\n0080:1~2~1~1~TRANS SA~~ATHENS~GR");
}

// ---- A whole transit declaration over the demo's table -----------------------------------------

namespace {

class TransitGolden : public Docs {
protected:
    void SetUp() override {
        Docs::SetUp();
        INSTALL::makeExportCounter(work->file("DATABASE"));
        PLAT::setFixedNow(PLAT::DateTime{2026, 12, 10, 9, 5, 0, 0});
        UMAS::HLEK4 = false;
        std::vector<std::string> lines;
        std::ifstream in(std::string(KORVEX_SOURCE_DIR) + "/data/demo/tables/eformats/PART1.txt");
        for (std::string l; std::getline(in, l);) lines.push_back(l);
        TESTS::writeFile(company(0) + "/NPART1.dat", INSTALL::fieldTableImage(lines));
        std::string folders;
        for (int i = 0; i < 7; ++i) folders += "OUT" + std::to_string(i) + "\\\r\n";
        TESTS::writeFile(company(0) + "/ASCI_OUT.TXT", folders);
        for (int i = 0; i < 7; ++i) std::filesystem::create_directories(work->file("OUT" + std::to_string(i)));
    }
    void TearDown() override {
        con->onIdle = nullptr;
        PLAT::setFixedNow(std::nullopt);
        Docs::TearDown();
    }
    void run(const std::string& EXT, uint8_t EDE) {
        size_t i = 0;
        const std::vector<std::string> waits = {gr("Ν"), " "};
        con->onIdle = [&] {
            if (i < waits.size()) con->keys(waits[i++]);
        };
        DISKET::MAKE_DISK(EXT, EDE, nullptr, false);
        con->onIdle = nullptr;
    }
    // A transit declaration of two items: item 1 on the main page, item 2 stored on sheet 2, with
    // the grids, the carrier and the guarantee.
    void twoItems() {
        form("MTF");
        box(2, "T1");
        box(8, "101226");
        box(18, "2");
        box(19, "15");
        box(20, "77");
        box(7, "GR000100");
        box(11, "GR123456789");
        box(12, "ΕΞΑΓΩΓΕΑΣ Α.Ε.");
        box(21, "DE999888777");
        box(22, "KUNDE GMBH");
        box(72, "ΒΙΒΛΙΑ");
        box(79, "49019900");
        box(82, "120.5");
        box(93, "740:ABC");
        box(204, "1");
        box(203, "GRN:26GR0001");
        BOD::AY.ON = "CT";
        BOD::AY.ER = "ABC";
        BOD::AY.TY = "10";
        UMAS::T1_METAF_ASF = {"", gr("ΜΕΤΑΦΟΡΙΚΗ Α.Ε."), "ODOS 1", "ATHINA", "GR"};
        grid(1, {{"X", "740", "", "", "INV-1"}});
        grid(2, {{"Z", "785", "", "", "T1-9"}});
        const BOD::SCB savedBis = BOD::BIS;
        BOD::BIS = BOD::SHEETPAGE("IMP");
        for (int b = 1; b <= BOD::SHEET_BOXES; ++b) BOD::BOS(BOD::BIS, BOD::GB, b, "");
        BOD::BOS(BOD::BIS, BOD::GB, 1, "02");
        BOD::BOS(BOD::BIS, BOD::GB, 3, "02");
        BOD::BOS(BOD::BIS, BOD::GB, 23, gr("ΤΕΤΡΑΔΙΑ"));
        BOD::BOS(BOD::BIS, BOD::GB, 29, "48201030");
        BOD::BOS(BOD::BIS, BOD::GB, 32, "10");
        BOD::BOS(BOD::BIS, BOD::GB, 43, "380:CMR-5");
        BOD::BM = UMAS::padTo("1230202", 14);
        BOD::BOB = false;
        BOD::AYB = BOD::MOT{};
        BOD::AYB.ON = "BX";
        BOD::AYB.ER = "M2";
        BOD::AYB.TY = "5";
        UMAS::LOCK("FBIS");
        EXPECT_TRUE(EKDO::KATB().stored);
        UMAS::UNLOC("FBIS");
        BOD::BIS = savedBis;
    }
    // The one file the run wrote in any of the output folders.
    std::string output() const {
        for (int i = 0; i < 7; ++i)
            for (const auto& e : std::filesystem::directory_iterator(work->file("OUT" + std::to_string(i))))
                return TESTS::readFile(e.path().string());
        return "";
    }
};

}  // namespace

TEST_F(TransitGolden, ATransitDeclarationWithItsSideFilesExportsWhole) {
    twoItems();
    run("MTF", DISKET::ED_FILE);
    EXPECT_EQ(PLAT::cp737ToUtf8(TESTS::readFile(work->file("ERROR.TXT"))), "");
    expectGolden("transit2.txt", output());
}
