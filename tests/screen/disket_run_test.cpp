// Submission runs on the headless console: the window, the set-up (table, reference, folder and
// its listing), the end (error list, counters), the names per mode, and the customs client through
// the stand-in.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>

#include "common/umas.h"
#include "config/params.h"
#include "declarations/bod.h"
#include "declarations/store_form.h"
#include "platform/clock.h"
#include "documents/ekextra.h"
#include "helpers/fixture.h"
#include "platform/codepage.h"
#include "platform/console.h"
#include "platform/files.h"
#include "shell/install.h"
#include "screen/scr.h"
#include "submission/disket.h"
#include "submission/disket_run.h"
#include "submission/diskvas.h"
#include "screen/disket_items_fixture.h"

using PLAT::gr;
namespace fs = std::filesystem;

namespace {

constexpr const char* ESC = "\x1b";

void expectGoldenFile(const std::string& name, const std::string& bytes) { TESTS::expectGolden("disket/" + name, bytes); }

// The demo's kind of table, small: header, reference, date, item count, the goods block.
const std::vector<std::string> TABLE = {
    "1|1001|ΕΠΙΚΕΦΑΛΙΔΑ|R|6||",    "2|20|ΑΡ.ΑΝΑΦΟΡΑΣ|R|..22||", "3|8|ΗΜΕΡΟΜΗΝΙΑ|R|8|N|",
    "4|18|ΕΙΔΗ|R|..3|N|",          "5|12|ΕΠΩΝΥΜΙΑ|R|..35||",    "101|1031|ΕΙΔΟΣ|R|6||",
    "102|78|Α/Α|R|..3|N|",         "103|72|ΠΕΡΙΓΡΑΦΗ||..40||",  "200|1099|ΤΕΛΟΣ||6||",
};

class Run : public TESTS::Installation {
protected:
    void SetUp() override {
        TESTS::Installation::SetUp();
        install(TESTS::companies(1));
        INSTALL::makeExportCounter(work->file("DATABASE"));
        ASSERT_TRUE(freshForm("IMP"));
        box(8, "150326");
        box(18, "1");
        box(20, "77");
        box(12, "ΕΤΑΙΡΕΙΑ Α.Ε.");
        box(72, "ΒΙΒΛΙΑ");
        BOD::TM = UMAS::LEJU("123", 10);
        UMAS::HLEK4 = false;
        table("NPARDISK.dat", TABLE);
        folders({"OUT\\", "OUT1\\", "OUT3\\", "OUT4\\", "OUT5\\", "OUT6\\", "OUT7\\"});
        for (const char* d : {"OUT", "OUT4", "OUT5", "OUT6"}) fs::create_directories(work->file(d));
    }
    void TearDown() override {
        con->onIdle = nullptr;
        unsetenv("KORVEX_JAVA");
        TESTS::Installation::TearDown();
    }
    void box(int n, const std::string& utf8) { BOD::BOS(BOD::DIA, BOD::GV, n, gr(utf8.c_str())); }
    // The form of the kind, every box empty but the number 123 in box 1.
    bool freshForm(const std::string& kind) {
        if (!BOD::SETFORM(kind)) return false;
        for (int b = 1; b <= BOD::BOXES; ++b) BOD::BOS(BOD::DIA, BOD::GV, b, "");
        box(1, "123");
        return true;
    }
    std::string co(const std::string& f) const { return company(0) + "/" + f; }
    void table(const std::string& name, const std::vector<std::string>& lines) {
        TESTS::writeFile(co(name), INSTALL::fieldTableImage(lines));
    }
    void folders(const std::vector<std::string>& lines) {
        std::string s;
        for (const auto& l : lines) s += l + "\r\n";
        TESTS::writeFile(co("ASCI_OUT.TXT"), s);
    }
    // Runs with the keys given for each wait of the run (one entry per wait, in order); the screen
    // at each of those waits is kept in screens.
    void run(const std::string& EXT, uint8_t EDE, std::vector<std::string> waits, bool test = false,
             const DISKET::PBUF* buf = nullptr) {
        screens.clear();
        size_t i = 0;
        con->onIdle = [this, &i, waits] {
            if (i >= waits.size()) return;
            screens.push_back(con->dump());
            con->keys(gr(waits[i++].c_str()));
        };
        DISKET::MAKE_DISK(EXT, EDE, buf, test);
        con->onIdle = nullptr;
        EXPECT_EQ(i, waits.size()) << "waits left";
    }
    bool shown(size_t wait, const std::string& utf8) const {
        return wait < screens.size() && screens[wait].find(utf8) != std::string::npos;
    }
    std::string errorList() const { return PLAT::cp737ToUtf8(TESTS::readFile(work->file("ERROR.TXT"))); }
    std::vector<std::string> screens;
};

}  // namespace

TEST_F(Run, ACleanFileRunWritesTheFileCountsAndMovesTheReference) {
    run("IMP", DISKET::ED_FILE, {"Ν", " "});
    EXPECT_TRUE(shown(0, "ΕΙΣΑΓΩΓΗ"));
    EXPECT_TRUE(shown(0, "ΝΑ ΓΙΝΕΙ ΑΡΧΕΙΟ ASCII"));
    EXPECT_TRUE(shown(1, "ΑΡΙΘΜΟΣ ΣΦΑΛΜΑΤΩΝ:   0"));
    const std::string iso = PLAT::cp737ToIso88597(gr("ΕΤΑΙΡΕΙΑ Α.Ε.~ΒΙΒΛΙΑ"));
    EXPECT_EQ(TESTS::readFile(work->file("OUT/D77.TXT")),
              "0001:1~77~20260315~1~" + iso.substr(0, iso.find('~')) + "\r\n0031:1~1~" + iso.substr(iso.find('~') + 1) +
                  "\r\n0099:1\r\n");
    EXPECT_EQ(TESTS::readFile(work->file("ERROR.TXT")), "");
    EXPECT_EQ(TESTS::readFile(co("ANAF.DAT")), "77        \r\n");
    EXPECT_EQ(TESTS::readFile(work->file("DATABASE/ARXEIO0/HDD.DAT")), std::string("\x01\x00", 2));
    // The window is gone.
    EXPECT_EQ(con->dump().find("ΑΡΙΘΜΟΣ ΣΦΑΛΜΑΤΩΝ"), std::string::npos);
}

TEST_F(Run, NoAtTheQuestionDoesNothing) {
    run("IMP", DISKET::ED_FILE, {"Ο"});
    EXPECT_FALSE(TESTS::exists(work->file("OUT/D77.TXT")));
    EXPECT_FALSE(TESTS::exists(co("ANAF.DAT")));
}

TEST_F(Run, ARunWithErrorsShowsTheListAndLeavesNoFileAndNoCounter) {
    TESTS::writeFile(co("ANAF.DAT"), "5\r\n");
    TESTS::writeFile(work->file("OUT/D77.TXT"), "OLD");
    box(12, "");
    run("IMP", DISKET::ED_FILE, {"Ν", " ", " "});
    EXPECT_TRUE(shown(1, "ΑΡΙΘΜΟΣ ΣΦΑΛΜΑΤΩΝ:   2"));
    EXPECT_TRUE(shown(2, "Γραμμή 5 Κενή υποχρεωτική θέση 12 ΕΠΩΝΥΜΙΑ"));
    EXPECT_TRUE(shown(2, "Πατήστε κάποιο πλήκτρο ..."));
    EXPECT_EQ(errorList(), "Οταν δεν υπάρχει EORI Αποστολέα πρέπει να γράφονται τα υπόλοιπα στοιχεία\r\n"
                           "Γραμμή 5 Κενή υποχρεωτική θέση 12 ΕΠΩΝΥΜΙΑ\r\n");
    EXPECT_FALSE(TESTS::exists(work->file("OUT/D77.TXT")));
    EXPECT_EQ(TESTS::readFile(co("ANAF.DAT")), "5\r\n");
    EXPECT_EQ(TESTS::readFile(work->file("DATABASE/ARXEIO0/HDD.DAT")), std::string("\0\0", 2));
}

// Another workstation sharing the working folder runs its own submission while the clerk reads the
// error count: the window still lists this run's errors.
TEST_F(Run, TheErrorWindowListsTheRunsOwnErrorsWhateverERRORTXTNowHolds) {
    box(12, "");
    screens.clear();
    int waits = 0;
    con->onIdle = [&] {
        screens.push_back(con->dump());
        if (waits == 1) TESTS::writeFile(work->file("ERROR.TXT"), gr("ΣΦΑΛΜΑ ΑΛΛΟΥ ΣΤΑΘΜΟΥ\r\n"));
        con->keys(gr(waits++ == 0 ? "Ν" : " "));
    };
    DISKET::MAKE_DISK("IMP", DISKET::ED_FILE, nullptr, false);
    con->onIdle = nullptr;
    ASSERT_EQ(waits, 3);
    EXPECT_TRUE(shown(2, "Γραμμή 5 Κενή υποχρεωτική θέση 12 ΕΠΩΝΥΜΙΑ")) << screens.at(2);
    EXPECT_FALSE(shown(2, "ΣΦΑΛΜΑ ΑΛΛΟΥ ΣΤΑΘΜΟΥ"));
}

TEST_F(Run, AMissingExportCounterIsToldAndTheRunStands) {
    std::filesystem::remove(work->file("DATABASE/ARXEIO0/HDD.DAT"));
    run("IMP", DISKET::ED_FILE, {"Ν", " ", " "});
    EXPECT_TRUE(TESTS::exists(work->file("OUT/D77.TXT")));
    EXPECT_EQ(TESTS::readFile(co("ANAF.DAT")), "77        \r\n");
    EXPECT_FALSE(TESTS::exists(work->file("DATABASE/ARXEIO0/HDD.DAT")));
}

TEST_F(Run, TheReferenceIsCheckedBeforeAnything) {
    struct Case {
        const char* ref;
        const char* line;
    } cases[] = {{"", "Πρέπει να συμπληρωθεί ο αριθμός αναφοράς (θέση 7) "},
                 {"12345/2010", "Ο αριθμός αναφοράς (θέση 7) περιέχει λάθος χαρακτήρες"},
                 {"12.5", "Ο αριθμός αναφοράς (θέση 7) περιέχει λάθος χαρακτήρες"}};
    for (const auto& c : cases) {
        box(20, c.ref);
        run("IMP", DISKET::ED_FILE, {"Ν", " "});
        EXPECT_EQ(errorList(), std::string(c.line) + "\r\n") << c.ref;
        EXPECT_TRUE(fs::is_empty(work->file("OUT"))) << c.ref;
    }
}

TEST_F(Run, AMissingOrEmptyTableStopsTheRunNamingIt) {
    fs::remove(co("NPARDISK.dat"));
    run("IMP", DISKET::ED_FILE, {"Ν", " "});
    EXPECT_EQ(errorList(), "Δεν βρέθηκε ο πίνακας πεδίων NPARDISK.dat (ή δεν έχει καμία γραμμή).\r\n");
    table("NPARDISK.dat", {});
    run("IMP", DISKET::ED_FILE, {"Ν", " "});
    EXPECT_EQ(errorList(), "Δεν βρέθηκε ο πίνακας πεδίων NPARDISK.dat (ή δεν έχει καμία γραμμή).\r\n");
    // A table of 0 bytes: told by the run's own list alone, with no line of the parameter service.
    TESTS::writeFile(co("NPARDISK.dat"), "");
    run("IMP", DISKET::ED_FILE, {"Ν", " "});
    EXPECT_EQ(errorList(), "Δεν βρέθηκε ο πίνακας πεδίων NPARDISK.dat (ή δεν έχει καμία γραμμή).\r\n");
    EXPECT_EQ(con->dump().find("not found"), std::string::npos) << con->dump();
    EXPECT_TRUE(fs::is_empty(work->file("OUT")));
    EXPECT_FALSE(TESTS::exists(co("ANAF.DAT")));
}

TEST_F(Run, OutputFoldersOfTheProgramItselfAreRefused) {
    TESTS::writeFile(co("KEEP.TXT"), "x");
    for (const char* f : {"", ".", "..\\", "DATABASE\\", "DATABASE\\ARXEIO0\\", "DATABASE\\ARXEIO7", "/"}) {
        folders({f});
        run("IMP", DISKET::ED_FILE, {"Ν", " "});
        EXPECT_NE(errorList().find("δεν είναι αποδεκτός"), std::string::npos) << f;
    }
    EXPECT_TRUE(TESTS::exists(co("KEEP.TXT")));
    EXPECT_TRUE(TESTS::exists(co("NPARDISK.dat")));
}

TEST_F(Run, TheFolderListingAsksBeforeErasing) {
    TESTS::writeFile(work->file("OUT/OLD.TXT"), "1");
    TESTS::writeFile(work->file("OUT/X.DOC"), "2");
    // No, with files of other type: the run is abandoned with message 7.
    run("IMP", DISKET::ED_FILE, {"Ν", "Ο", " "});
    EXPECT_TRUE(shown(1, "ΠΕΡΙΕΧΟΜΕΝΑ ΦΑΚΕΛΟΥ"));
    EXPECT_TRUE(shown(1, "OLD.TXT"));
    EXPECT_TRUE(shown(1, "X.DOC"));
    EXPECT_TRUE(shown(1, "ΠΡΟΒΛΗΜΑ!  Η δισκέτα περιλαμβάνει και αρχεία άλλου τύπου."));
    EXPECT_TRUE(shown(2, "Η διαδικασία δεν μπορεί να συνεχιστεί."));
    EXPECT_TRUE(TESTS::exists(work->file("OUT/X.DOC")));
    EXPECT_FALSE(TESTS::exists(work->file("OUT/D77.TXT")));
    // Yes: everything is erased and the run goes on.
    run("IMP", DISKET::ED_FILE, {"Ν", "Ν", " "});
    EXPECT_FALSE(TESTS::exists(work->file("OUT/X.DOC")));
    EXPECT_FALSE(TESTS::exists(work->file("OUT/OLD.TXT")));
    EXPECT_TRUE(TESTS::exists(work->file("OUT/D77.TXT")));
    // Only text files: no, then "go on?" yes keeps them.
    TESTS::writeFile(work->file("OUT/OLD.TXT"), "1");
    run("IMP", DISKET::ED_FILE, {"Ν", "Ο", "Ν", " "});
    EXPECT_TRUE(shown(2, "Να συνεχιστεί η διαδικασία (Ν/Ο);"));
    EXPECT_TRUE(TESTS::exists(work->file("OUT/OLD.TXT")));
    // A small "txt" ending counts as another type.
    TESTS::writeFile(work->file("OUT/a.txt"), "1");
    run("IMP", DISKET::ED_FILE, {"Ν", "Ο", " "});
    EXPECT_TRUE(shown(1, "αρχεία άλλου τύπου"));
}

TEST_F(Run, ARunAbandonedAtTheListingLeavesTheEditorAsItWas) {
    TESTS::writeFile(work->file("OUT/OLD.TXT"), "1");
    struct Case {
        const char* other;  // a file of other type in the folder, or none
        std::vector<std::string> keys;
    } cases[] = {{"X.DOC", {"Ν", "Ο", " "}}, {nullptr, {"Ν", "Ο", "Ο"}}};
    for (const auto& c : cases) {
        if (c.other) TESTS::writeFile(work->file(std::string("OUT/") + c.other), "2");
        else fs::remove(work->file("OUT/X.DOC"));
        // The editor's screen with its legend, over the screen of the menu it came from.
        SCR::CALLM(2, true);
        SCR::PRINT(1, 25, gr("ESC.Μενού  F2.Αποθήκευση"));
        const std::string before = con->dump();
        const int depth = SCR::STACKPOINTER();
        run("IMP", DISKET::ED_FILE, c.keys);
        EXPECT_TRUE(shown(1, "ΠΕΡΙΕΧΟΜΕΝΑ ΦΑΚΕΛΟΥ"));
        EXPECT_EQ(con->dump(), before) << (c.other ? c.other : "text files only");
        EXPECT_EQ(SCR::STACKPOINTER(), depth);
        SCR::RECALL();
        EXPECT_FALSE(TESTS::exists(work->file("OUT/D77.TXT")));
    }
}

TEST_F(Run, AFolderThatCannotBeWrittenIsAskedAgainAndEscGivesUp) {
    folders({"NOWHERE\\"});
    run("IMP", DISKET::ED_FILE, {"Ν", " ", ESC});
    EXPECT_TRUE(shown(1, "ΠΡΟΒΛΗΜΑ ΣΤΗ ΔΗΜΙΟΥΡΓΙΑ ΑΡΧΕΙΟΥ"));
    EXPECT_TRUE(shown(2, "ΠΡΟΒΛΗΜΑ ΣΤΗ ΔΗΜΙΟΥΡΓΙΑ ΑΡΧΕΙΟΥ"));
    EXPECT_GE(con->bells, 2);
    // Without "ASCI_OUT.TXT" the folder is the diskette "A:\", which is a folder of the program here.
    fs::remove(co("ASCI_OUT.TXT"));
    run("IMP", DISKET::ED_FILE, {"Ν", " "});
    EXPECT_TRUE(TESTS::exists(work->file("drives/a/D77.TXT")));
}

TEST_F(Run, NamesTablesAndFoldersPerMode) {
    struct Case {
        const char* EXT;
        uint8_t EDE;
        bool t2l;
        const char* table;
        int line;
        const char* file;
        const char* log;
    } cases[] = {
        {"IMP", 0, false, "PARDISK", 1, "D123.TXT", ""}, {"MTF", 0, false, "PART1", 6, "D123.TXT", ""},
        {"EXP", 0, true, "PART2L", 1, "D123.TXT", ""},   {"IMP", 1, false, "PARAUTO", 2, "D123.TXT", ""},
        {"IMP", 2, false, "PARDAO", 5, "A123.TXT", ""},  {"IMP", 3, false, "PARDILO", 4, "L123.TXT", ""},
        {"MTF", 4, false, "PART1", 0, "inp3.txt", ""},   {"IMP", 5, false, "PARDISK", 0, "inp3.txt", "inp3.log"},
        {"MTF", 5, false, "PART1", 0, "inp3.txt", "inp3.log"}, {"IMP", 7, false, "PARAUTO", 0, "inp3.txt", "inp3.log"},
        {"MTF", 8, false, "PART1", 6, "T123.TXT", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DISKET::TABLEOF(c.EXT, c.EDE, c.t2l), c.table) << c.EXT << int(c.EDE);
        EXPECT_EQ(DISKET::FOLDERLINE(c.EXT, c.EDE), c.line) << c.EXT << int(c.EDE);
        std::string f, l;
        DISKET::NAMES(c.EDE, "123", f, l);
        EXPECT_EQ(f, c.file) << int(c.EDE);
        EXPECT_EQ(l, c.log) << int(c.EDE);
    }
    // T2L: box 2, or box 3 when box 2 is empty.
    box(2, " T2L ");
    EXPECT_TRUE(DISKET::ISDECLT2L());
    box(2, "");
    box(3, "T2");
    EXPECT_FALSE(DISKET::ISDECLT2L());
}

TEST_F(Run, ATransitFileUsesItsTableAndLineSix) {
    table("NPART1.dat", TABLE);
    run("MTF", DISKET::ED_FILE, {"Ν", " "});
    EXPECT_TRUE(shown(0, "ΔΙΑΜΕΤΑΚΟΜΙΣΗ"));
    EXPECT_TRUE(shown(0, "ΝΑ ΓΙΝΕΙ ΑΡΧΕΙΟ T1"));
    EXPECT_TRUE(TESTS::exists(work->file("OUT6/D77.TXT")));
    // The "Q" tables when switch 20 is 2.
    UMAS::HLEK4 = true;
    run("MTF", DISKET::ED_FILE, {"Ν", " "});
    EXPECT_NE(errorList().find("QPART1.dat"), std::string::npos);
}

TEST_F(Run, ADaoRunProposesTheNextNumberAndKeepsTheConfirmedOne) {
    table("NPARDAO.dat", {"1|1001|ΔΑΟ|R|6||", "2|999|ΣΤΑΘΕΡΟ||..5||D"});
    TESTS::writeFile(co("DAOANAF.DAT"), "41");
    DISKET::PBUF dao;
    dao.LINES.assign(36, "");
    // The DAO question (Enter: outgoing), then the proposed number 42 confirmed.
    run("IMP", DISKET::ED_DAO, {"Ν", "\r", "\r", " "}, false, &dao);
    EXPECT_TRUE(shown(1, "ΕΞΕΡΧΟΜΕΝΟ"));
    EXPECT_TRUE(shown(2, "ΑΡΙΘΜΟΣ ΑΝΑΦΟΡΑΣ:"));
    EXPECT_TRUE(shown(2, "42"));
    EXPECT_EQ(TESTS::readFile(work->file("OUT5/A42.TXT")), "0001:1~D\r\n");
    EXPECT_EQ(TESTS::readFile(co("DAOANAF.DAT")), "42");
    EXPECT_EQ(TESTS::readFile(co("ANAF.DAT")), "");
    // Esc at the number: message 3, no file, the counter stays.
    run("IMP", DISKET::ED_DAO, {"Ν", "\r", ESC, " "}, false, &dao);
    EXPECT_EQ(errorList(), "Πρέπει να συμπληρωθεί ο αριθμός αναφοράς (θέση 7) \r\n");
    EXPECT_FALSE(TESTS::exists(work->file("OUT5/A43.TXT")));
    EXPECT_EQ(TESTS::readFile(co("DAOANAF.DAT")), "42");
    // A next number above 99999 is refused.
    TESTS::writeFile(co("DAOANAF.DAT"), "99999");
    run("IMP", DISKET::ED_DAO, {"Ν", "\r", " "}, false, &dao);
    EXPECT_NE(errorList().find("99999"), std::string::npos);
}

TEST_F(Run, AManifestRunOfMoreThan60LinesWritesSixtyWithAnErrorLine) {
    table("NPARDILO.dat", {"1|1001|ΔΗΛ|R|6||", "70|343|ΓΡΑΜΜΗ||..3||"});
    TESTS::writeFile(co("DILANAF.DAT"), "00007");
    DISKET::PBUF dil;
    dil.LINES.assign(27, "");
    dil.CELLS.assign(721, "");
    dil.LINES[1] = "61";
    run("IMP", DISKET::ED_DILO, {"Ν", "\r", " ", " "}, false, &dil);
    EXPECT_TRUE(shown(1, "8"));
    EXPECT_EQ(errorList(), "Το δηλωτικό έχει 61 γραμμές: γράφονται οι 60 πρώτες.\r\n");
    // Three lines: the block is walked three times.
    dil.LINES[1] = "3";
    run("IMP", DISKET::ED_DILO, {"Ν", "\r", " "}, false, &dil);
    EXPECT_EQ(TESTS::readFile(work->file("OUT4/L8.TXT")), "0001:1~1~2~3\r\n");
    EXPECT_EQ(TESTS::readFile(co("DILANAF.DAT")), "8");
}

TEST_F(Run, TirRunsWriteTheGuaranteeFromTheTirData) {
    table("NPART1.dat", {"1|1001|TIR|R|6||", "2|1032|ΕΓΓΥΗΣΗ|||"});
    EKEXTRA::ST_TIR tit;
    tit.T = {gr("XA12345"), "ID", "OFFICE", ""};
    EKEXTRA::WRITETIT(EKEXTRA::SIDEFILE(".TIT"), tit);
    run("MTF", DISKET::ED_TIR, {"Ν", " "});
    EXPECT_TRUE(shown(0, "TIR"));
    EXPECT_EQ(TESTS::readFile(work->file("OUT6/T77.TXT")), "0001:1\r\n0032:1~2~1~1~~XA12345~~1\r\n");
    // The older layout of 64 bytes (string[15]), and no file at all.
    std::string old(64, '\0');
    old[0] = 5;
    old.replace(1, 5, "OLD15");
    TESTS::writeFile(co("123.TIT"), old);
    run("MTF", DISKET::ED_TIR, {"Ν", " "});
    EXPECT_EQ(TESTS::readFile(work->file("OUT6/T77.TXT")), "0001:1\r\n0032:1~2~1~1~~OLD15~~1\r\n");
    std::filesystem::remove(co("123.TIT"));
    run("MTF", DISKET::ED_TIR, {"Ν", " "});
    EXPECT_EQ(TESTS::readFile(work->file("OUT6/T77.TXT")), "0001:1\r\n0032:1~2~1~1~~~~1\r\n");
}

// ---- The customs client through the stand-in --------------------------------------------------

namespace {

class Client : public Run {
protected:
    void SetUp() override {
        Run::SetUp();
        box(34, " 123456789 ");
        fs::create_directories(work->file("drives/c/jicis"));
        fs::create_directories(work->file("drives/c/trial_jicis"));
        fs::create_directories(work->file("rec"));
    }
    void TearDown() override {
        // A stand-in told to hang is ended here (only the one this test started).
        const std::string pid = TESTS::readFile(work->file("rec/JICIS-PID.TXT"));
        if (!pid.empty() && hung) kill(pid_t(std::stol(pid)), SIGTERM);
        Run::TearDown();
    }
    void client(const std::string& switches = "") {
        setenv("KORVEX_JAVA", (std::string(KORVEX_JICIS) + " --record " + work->file("rec") + " " + switches).c_str(), 1);
    }
    // Waits (at most 10 s) for the stand-in's record.
    bool recorded() {
        for (int i = 0; i < 200; ++i) {
            if (TESTS::exists(work->file("rec/JICIS-ARGS.TXT"))) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return false;
    }
    bool hung = false;
};

}  // namespace

TEST_F(Client, ASendWritesInpAndStartsTheClientWithItsArguments) {
    client();
    run("IMP", DISKET::ED_SEND, {"Ν", " "});
    EXPECT_TRUE(shown(0, "ΝΑ ΓΙΝΕΙ ΑΠΟΣΤΟΛΗ Icinet"));
    ASSERT_TRUE(recorded());
    const std::string file = work->path() + "/inp7.txt";
    EXPECT_EQ(TESTS::readFile(work->file("rec/JICIS-ARGS.TXT")),
              "-jar\nJIcis.jar\n-dsmode\n-f\n" + file + "\n-a\n123456789\n");
    EXPECT_EQ(TESTS::readFile(work->file("rec/JICIS-CWD.TXT")),
              fs::canonical(work->file("drives/c/jicis")).string() + "\n");
    EXPECT_EQ(TESTS::readFile(work->file("rec/JICIS-INPUT.TXT")), TESTS::readFile(file));
    expectGoldenFile("send_client.txt", TESTS::readFile(work->file("rec/JICIS-INPUT.TXT")));
    EXPECT_TRUE(TESTS::exists(work->file("inp7.log")));
    EXPECT_EQ(TESTS::readFile(co("ANAF.DAT")), "77        \r\n");
}

TEST_F(Client, TheTestEnvironmentStartsInTheTrialFolder) {
    client();
    run("IMP", DISKET::ED_SEND, {"Ν", " "}, true);
    EXPECT_TRUE(shown(0, "ΔΟΚΙΜΑΣΤΙΚΟ"));
    ASSERT_TRUE(recorded());
    EXPECT_EQ(TESTS::readFile(work->file("rec/JICIS-CWD.TXT")),
              fs::canonical(work->file("drives/c/trial_jicis")).string() + "\n");
}

TEST_F(Client, TheProgramIsBackAtOnceWhateverTheClientDoes) {
    for (const char* sw : {"--exit 3", "--slow 3000", "--hang"}) {
        fs::remove(work->file("rec/JICIS-ARGS.TXT"));
        client(sw);
        hung = std::string(sw) == "--hang";
        const auto t0 = std::chrono::steady_clock::now();
        run("IMP", DISKET::ED_SEND, {"Ν", " "});
        EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::milliseconds(2500)) << sw;
        if (std::string(sw) != "--slow 3000") {
            EXPECT_TRUE(recorded()) << sw;
        }
    }
}

TEST_F(Client, NothingIsStartedAfterErrors) {
    client();
    box(12, "");
    run("IMP", DISKET::ED_SEND, {"Ν", " ", " "});
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_FALSE(TESTS::exists(work->file("rec/JICIS-PID.TXT")));
    EXPECT_FALSE(TESTS::exists(work->file("inp7.txt")));
}

TEST_F(Client, AClientThatCannotStartIsToldTheFileKeptNothingCounted) {
    // A missing client folder.
    client();
    fs::remove(work->file("drives/c/jicis"));
    run("IMP", DISKET::ED_SEND, {"Ν", " ", " "});
    EXPECT_TRUE(shown(1, "ΔΕΝ ΒΡΕΘΗΚΕ Ο ΦΑΚΕΛΟΣ C:\\jicis"));
    EXPECT_TRUE(TESTS::exists(work->file("inp7.txt")));
    EXPECT_FALSE(TESTS::exists(co("ANAF.DAT")));
    // A program that is not there.
    fs::create_directories(work->file("drives/c/jicis"));
    setenv("KORVEX_JAVA", "/nonexistent/java", 1);
    run("IMP", DISKET::ED_SEND, {"Ν", " ", " "});
    EXPECT_TRUE(shown(1, "ΤΟ ΠΡΟΓΡΑΜΜΑ ΤΟΥ ΤΕΛΩΝΕΙΟΥ ΔΕΝ ΞΕΚΙΝΗΣΕ"));
    EXPECT_FALSE(TESTS::exists(co("ANAF.DAT")));
}

// ---- Golden segment files over the demo's tables ---------------------------------------------

namespace {

class Golden : public Client {
protected:
    void SetUp() override {
        Client::SetUp();
        PLAT::setFixedNow(PLAT::DateTime{2026, 12, 10, 9, 5, 0, 0});
        UMAS::AFM_EKTEL = "099999999";
        UMAS::LOGOTYPO[9] = gr("ΑΦΟΙ ΠΑΠΑΔΟΠΟΥΛΟΙ");
        for (auto& p : UMAS::PAREDE) p.TIMI = 0;
        for (const char* t : {"PARDISK", "PARDAO"}) table(std::string("N") + t + ".dat", demo(t));
    }
    void TearDown() override {
        PLAT::setFixedNow(std::nullopt);
        Client::TearDown();
    }
    static std::vector<std::string> demo(const std::string& name) {
        std::vector<std::string> lines;
        std::ifstream in(std::string(KORVEX_SOURCE_DIR) + "/data/demo/tables/eformats/" + name + ".txt");
        for (std::string l; std::getline(in, l);) lines.push_back(l);
        return lines;
    }
    // A declaration of three items: item 1 on the main page, items 2 and 3 stored on sheet 2; each
    // sheet passes through `sheet` (with its item) before it is stored.
    void threeItems(const std::string& kind, const std::function<void(int)>& sheet = nullptr) {
        box(2, kind == "EXP" ? "EX A" : "IM A");
        box(11, "GR123456789");
        box(12, "ΕΞΑΓΩΓΕΑΣ Α.Ε.");
        box(13, "ΟΔΟΣ 1");
        box(14, "ΑΘΗΝΑ");
        box(21, "DE999888777");
        box(22, "KUNDE GMBH");
        box(23, "STRASSE 2");
        box(24, "BERLIN");
        box(18, "3");
        box(34, "099999999");
        box(54, "EUR");
        box(56, "1.0000");
        box(59, "3");
        box(72, "ΒΙΒΛΙΑ ΤΥΠΩΜΕΝΑ");
        box(79, "49019900 00 0000 0000");
        box(82, "120.5");
        box(86, "100");
        box(100, "2500");
        box(88, "ΔΑΟ: 1234");
        const BOD::SCB savedBis = BOD::BIS;
        BOD::BIS = BOD::SHEETPAGE(kind);
        for (int n = 2; n <= 3; ++n) {
            for (int b = 1; b <= BOD::SHEET_BOXES; ++b) BOD::BOS(BOD::BIS, BOD::GB, b, "");
            BOD::BOS(BOD::BIS, BOD::GB, 1, "02");
            BOD::BOS(BOD::BIS, BOD::GB, 3, "0" + std::to_string(n));
            BOD::BOS(BOD::BIS, BOD::GB, 23, gr(n == 2 ? "ΤΕΤΡΑΔΙΑ" : "ΜΟΛΥΒΙΑ"));
            BOD::BOS(BOD::BIS, BOD::GB, 29, n == 2 ? "48201030 00 0000 0000" : "96091010 00 0000 0000");
            BOD::BOS(BOD::BIS, BOD::GB, 32, "10");
            BOD::BOS(BOD::BIS, BOD::GB, 36, "8");
            BOD::BOS(BOD::BIS, BOD::GB, 50, std::to_string(100 * n));
            BOD::BOS(BOD::BIS, BOD::GB, 38, "X-" + std::to_string(n));
            if (sheet) sheet(n);
            EXPECT_TRUE(TESTS::storeSheetItem("123", 2, n));
        }
        BOD::BIS = savedBis;
    }
    std::string isoToUtf8(const std::string& s) { return PLAT::cp737ToUtf8(PLAT::iso88597ToCp737(s)); }
};

}  // namespace

TEST_F(Golden, AnImportAndAnExportOfThreeItemsOverTheDemoTable) {
    threeItems("IMP");
    run("IMP", DISKET::ED_FILE, {"Ν", " "});
    EXPECT_EQ(errorList(), "");
    expectGoldenFile("import3.txt", TESTS::readFile(work->file("OUT/D77.TXT")));
    std::filesystem::remove(work->file("OUT/D77.TXT"));
    ASSERT_TRUE(freshForm("EXP"));
    box(8, "150326");
    box(20, "78");
    threeItems("EXP");
    run("EXP", DISKET::ED_FILE, {"Ν", " "});
    EXPECT_EQ(errorList(), "");
    expectGoldenFile("export3.txt", TESTS::readFile(work->file("OUT/D78.TXT")));
}

TEST_F(Golden, ASendWritesTheDescriptionLog) {
    threeItems("IMP");
    box(4, "ΣΗΜΕΙΩΣΗ");
    box(145, "A00");
    box(146, "2500*0.12");
    box(148, "300.00");
    client();
    run("IMP", DISKET::ED_SEND, {"Ν", " "});
    EXPECT_EQ(errorList(), "");
    expectGoldenFile("send3.log", TESTS::readFile(work->file("inp7.log")));
}

TEST_F(Golden, ADaoRunFromItsBuffer) {
    DISKET::PBUF dao;
    dao.LINES.assign(36, "");
    dao.LINES[1] = gr("ΕΠΙΒΑΤΙΚΟ ΑΥΤΟΚΙΝΗΤΟ");
    dao.LINES[3] = "1";
    dao.LINES[4] = "123456789";
    dao.LINES[11] = gr("ΠΑΠΑΣ ΓΙΩΡΓΟΣ");
    dao.LINES[14] = "WVWZZZ1JZXW000001";
    dao.LINES[15] = "ABC1234";
    dao.LINES[23] = "01/02/07";
    dao.LINES[26] = "GR001234";
    run("IMP", DISKET::ED_DAO, {"Ν", "\r", "\r", " "}, false, &dao);
    EXPECT_EQ(errorList(), "");
    expectGoldenFile("dao.txt", TESTS::readFile(work->file("OUT5/A1.TXT")));
}

TEST_F(Golden, AManifestRunFromItsBuffer) {
    table("NPARDILO.dat", {"1|1001|ΔΗΛΩΤΙΚΟ|R|6||", "2|342|ΑΝΑΦΟΡΑ|R|..30||", "3|358|ΕΙΔΟΣ||..3||", "4|355|ΔΕΜΑΤΑ||..9||",
                           "5|356|ΜΑΖΑ||..15||", "70|1002|ΓΡΑΜΜΗ|R|6||", "71|343|Α/Α|R|..3|N|", "72|344|ΦΟΡΤΩΤΙΚΗ||..1||",
                           "73|345|ΑΡΙΘΜΟΣ||..20||", "74|350|ΔΕΜΑΤΑ||..8||", "75|351|ΠΕΡΙΓΡΑΦΗ||..30||",
                           "76|352|ΒΑΡΟΣ||..12||", "77|353|ΚΑΤΑΣΤΑΣΗ||..7||"});
    DISKET::PBUF dil;
    dil.LINES.assign(27, "");
    dil.CELLS.assign(721, "");
    dil.LINES[1] = "2";
    dil.LINES[4] = "10/12/26";
    for (int l = 0; l < 2; ++l) {
        dil.CELLS[size_t(l * 12 + 1)] = "1";
        dil.CELLS[size_t(l * 12 + 2)] = "BL" + std::to_string(l + 1);
        dil.CELLS[size_t(l * 12 + 6)] = "PK";
        dil.CELLS[size_t(l * 12 + 7)] = std::to_string(5 + l);
        dil.CELLS[size_t(l * 12 + 9)] = gr("ΕΠΙΠΛΑ");
        dil.CELLS[size_t(l * 12 + 10)] = "LOT " + std::to_string(l + 1);
        dil.CELLS[size_t(l * 12 + 11)] = "100.5";
        dil.CELLS[size_t(l * 12 + 12)] = "T2F";
    }
    run("IMP", DISKET::ED_DILO, {"Ν", "\r", " "}, false, &dil);
    EXPECT_EQ(errorList(), "");
    expectGoldenFile("manifest.txt", TESTS::readFile(work->file("OUT4/L1.TXT")));
}

// ---- Item taxes, base products and vehicles over the demo's tables -------------------------------

namespace {

class ItemGolden : public Golden {
protected:
    void SetUp() override {
        Golden::SetUp();
        UMAS::EXTRA_OXIMATA = {};
        table("NPARAUTO.dat", demo("PARAUTO"));
        fs::create_directories(work->file("OUT1"));
    }
    void TearDown() override {
        UMAS::EXTRA_OXIMATA = {};
        Golden::TearDown();
    }
    // The sheet's tax lines of items 2 and 3.
    static void sheetTaxes(int n) {
        using DISKETITEMS::taxLine;
        if (n == 2) {
            taxLine(BOD::BIS, BOD::GB, 51, 1, "100", "200", "10", "20");
            taxLine(BOD::BIS, BOD::GB, 51, 2, "TNE", "", "", "1.5");
        } else {
            taxLine(BOD::BIS, BOD::GB, 51, 1, "080", "", "", "3");
            taxLine(BOD::BIS, BOD::GB, 51, 3, "300", "300", "24", "72");
        }
    }
};

}  // namespace

TEST_F(ItemGolden, AnImportWithTaxesAndBaseProductsOverThreeItems) {
    using namespace DISKETITEMS;
    threeItems("IMP", sheetTaxes);
    box(33, "02");
    taxLine(BOD::DIA, BOD::GV, 101, 1, "100", "2500", "10", "250");
    taxLine(BOD::DIA, BOD::GV, 101, 2, "DT5", "", "", "12");
    taxLine(BOD::DIA, BOD::GV, 101, 3, "300", "2750", "24", "660");
    vas(1, {{1, {"0405101100 0001", "ΒΟΥΤΥΡΟ", "12.5"}}, {3, {"0402101100 0002", "ΓΑΛΑ ΣΚΟΝΗ", "3"}}});
    vas(2, {{1, {"1701991000 0003", "ΖΑΧΑΡΗ", "100"}}});
    run("IMP", DISKET::ED_FILE, {"Ν", " "});
    EXPECT_EQ(errorList(), "");
    expectGoldenFile("import3_taxes.txt", TESTS::readFile(work->file("OUT/D77.TXT")));
}

TEST_F(ItemGolden, AnImportSentWithVehiclesShowsTheTotalsWindow) {
    using namespace DISKETITEMS;
    threeItems("IMP");
    cars(1, {{1, car("10 ΕΠΙΒΑΤΙΚΑ", "WVWZZZ1JZXW000001", "1999")}, {2, car("10", "WVWZZZ1JZXW000002")}});
    cars(3, {{5, car("20 ΦΟΡΤΗΓΑ", "VF7ABC", "2010", "2500", "2")}});
    permits({"150799", "010105", "A-12", "ΑΔΕΙΑ ΚΥΚΛ.", "1", "ΑΘΗΝΑ"});
    client();
    run("IMP", DISKET::ED_SEND, {"Ν", " "});
    EXPECT_EQ(errorList(), "");
    EXPECT_TRUE(shown(0, "ΟΧΗΜΑΤΑ"));
    EXPECT_TRUE(shown(1, "ΕΓΙΝΕ ΔΙΣΚΕΤΑ ΠΟΥ ΠΕΡΙΛΑΜΒΑΝΕΙ"));
    EXPECT_TRUE(shown(1, "ΣΥΝΟΛΙΚΑ 3 ΟΧΗΜΑΤΑ"));
    EXPECT_EQ(con->dump().find("ΣΥΝΟΛΙΚΑ"), std::string::npos);
    expectGoldenFile("send3_vehicles.txt", TESTS::readFile(work->file("inp7.txt")));
}

TEST_F(ItemGolden, AnExciseFileOfVehiclesOverTwoItems) {
    using namespace DISKETITEMS;
    ASSERT_TRUE(freshForm("DFK"));
    box(8, "101226");
    box(18, "2");
    box(20, "42");
    box(11, "GR123456789");
    box(12, "AUTO IMPORT Α.Ε.");
    box(21, "099999999");
    box(22, "ΠΑΠΑΣ ΓΙΩΡΓΟΣ");
    box(34, "099999999");
    box(72, "ΑΥΤΟΚΙΝΗΤΑ ΕΠΙΒΑΤΙΚΑ");
    box(79, "87032190 00");
    box(89, "11:2");
    taxLine(BOD::DIA, BOD::GV, 101, 1, "A00", "15000", "10", "1500");
    taxLine(BOD::DIA, BOD::GV, 101, 2, "DT5", "", "", "350");
    const BOD::SCB savedBis = BOD::BIS;
    BOD::BIS = BOD::SHEETPAGE("DFK");
    for (int b = 1; b <= BOD::SHEET_BOXES; ++b) BOD::BOS(BOD::BIS, BOD::GB, b, "");
    BOD::BOS(BOD::BIS, BOD::GB, 1, "02");
    BOD::BOS(BOD::BIS, BOD::GB, 3, "02");
    BOD::BOS(BOD::BIS, BOD::GB, 23, gr("ΦΟΡΤΗΓΟ"));
    BOD::BOS(BOD::BIS, BOD::GB, 29, "87042191 00");
    BOD::BOS(BOD::BIS, BOD::GB, 39, "11:1");
    taxLine(BOD::BIS, BOD::GB, 51, 1, "A00", "20000.555", "5", "1000");
    EXPECT_TRUE(TESTS::storeSheetItem("123", 2, 2));
    BOD::BIS = savedBis;
    cars(1, {{1, car("10 ΕΠΙΒΑΤΙΚΑ", "WVWZZZ1JZXW000001", "1999")}, {2, car("10", "WVWZZZ1JZXW000002")}});
    cars(2, {{1, car("20 ΦΟΡΤΗΓΑ", "VF7ABC", "2010", "2500", "2")}});
    permits({"150799", "010105", "A-12", "ΑΔΕΙΑ ΚΥΚΛ.", "1", "ΑΘΗΝΑ"});
    run("DFK", DISKET::ED_AUTO, {"Ν", " "});
    EXPECT_EQ(errorList(), "");
    EXPECT_TRUE(shown(0, "Δ.Ε.Φ.Κ."));
    EXPECT_TRUE(shown(1, "ΣΥΝΟΛΙΚΑ 3 ΟΧΗΜΑΤΑ"));
    expectGoldenFile("excise_vehicles.txt", TESTS::readFile(work->file("OUT1/D42.TXT")));
}
