// Company selection, the after-choice sequence and the main menu on the headless console.
#include <gtest/gtest.h>

#include <filesystem>

#include "common/umas.h"
#include "config/params.h"
#include "helpers/fixture.h"
#include "platform/codepage.h"
#include "platform/fatal.h"
#include "screen/scr.h"
#include "shell/korvex.h"

namespace SC = PLAT::SC;

namespace {

class CompanySelection : public TESTS::Installation {
protected:
    void SetUp() override {
        TESTS::Installation::SetUp();
        PARAMS::AREKTEL = 0;
    }
    // Runs the selection; returns the exit code when it ended the program, -1 when it returned.
    int select() {
        try {
            PARAMS::INITEKT();
        } catch (const PLAT::ProgramExit& e) {
            return e.code;
        }
        return -1;
    }
    std::string row(int y) { return con->text(18, y, 45); }
};

TEST_F(CompanySelection, EightCompaniesFillOnePage) {
    install(TESTS::companies(8));
    for (int i = 0; i < 9; ++i) con->key(SC::DOWN);  // the bar stops on the eighth row
    con->ch(13);
    ASSERT_EQ(select(), -1);
    EXPECT_EQ(PARAMS::AREKTEL, 7);
    EXPECT_EQ(UMAS::PATH, "DATABASE\\ARXEIO7\\");
    EXPECT_EQ(UMAS::LOGOTYPO[1], "COMPANY 8");
    EXPECT_EQ(UMAS::DEFAULT_POLI, "TOWN 8");
    EXPECT_EQ(PARAMS::MAXEKT, 8);
    EXPECT_EQ(SCR::STACKPOINTER(), 0);
}

TEST_F(CompanySelection, NineCompaniesMakeTwoPages) {
    install(TESTS::companies(9));
    // Page 1 is drawn first; the ninth company is on page 2 alone, with seven blank rows.
    for (int i = 0; i < 8; ++i) con->key(SC::DOWN);
    con->key(SC::DOWN);  // row 2 of page 2: empty
    con->ch(13);         // Enter on an empty row does nothing
    con->onIdle = [&] {
        if (con->pending() == 0 && con->text(18, 7, 12) == "9. COMPANY 9") {
            EXPECT_EQ(row(8), std::string(45, ' '));
            EXPECT_EQ(row(14), std::string(45, ' '));
            EXPECT_EQ(con->text(63, 2, 4), "4.30");
            con->key(SC::UP);  // back to company 9
            con->key(SC::UP);  // and up to the last row of page 1
            con->ch(13);
            con->onIdle = nullptr;
        }
    };
    ASSERT_EQ(select(), -1);
    EXPECT_EQ(PARAMS::AREKTEL, 7);
}

TEST_F(CompanySelection, StartsOnTheCompanyChosenLast) {
    install(TESTS::companies(16));
    PARAMS::AREKTEL = 12;
    con->ch(13);
    ASSERT_EQ(select(), -1);
    EXPECT_EQ(PARAMS::AREKTEL, 12);
    EXPECT_EQ(UMAS::PATH, "DATABASE\\ARXEIO12\\");
}

// The list was shortened since the last choice: the bar starts on the first company, not on a row
// beyond the list where Enter could never choose.
TEST_F(CompanySelection, CompanyChosenLastNoLongerListed) {
    install(TESTS::companies(3));
    PARAMS::AREKTEL = 5;
    con->ch(13);
    ASSERT_EQ(select(), -1);
    EXPECT_EQ(PARAMS::AREKTEL, 0);
    EXPECT_EQ(UMAS::LOGOTYPO[1], "COMPANY 1");
}

TEST_F(CompanySelection, ThreeCompaniesAndDigits) {
    install(TESTS::companies(3));
    con->keys("4");  // beyond the list: ignored
    con->keys("3");
    ASSERT_EQ(select(), -1);
    EXPECT_EQ(PARAMS::AREKTEL, 2);
}

TEST_F(CompanySelection, LongNamesAreCutAndTheTaxNumberIsFound) {
    auto cs = TESTS::companies(2);
    cs[1][0] = "ΕΝΑ ΠΟΛΥ ΜΑΚΡΥ ΟΝΟΜΑ ΕΤΑΙΡΙΑΣ ΠΟΥ ΞΕΠΕΡΝΑ ΤΑ ΣΑΡΑΝΤΑ";
    cs[1][4] = "Α.Φ.Μ.: 099999999 Δ.Ο.Υ. ΦΑΕ ΠΕΙΡΑΙΑ";
    install(cs);
    con->key(SC::DOWN);
    con->ch(13);
    ASSERT_EQ(select(), -1);
    EXPECT_EQ(UMAS::LOGOTYPO[1], PLAT::gr("ΕΝΑ ΠΟΛΥ ΜΑΚΡΥ ΟΝΟΜΑ ΕΤΑΙΡΙΑΣ ΠΟΥ ΞΕΠΕΡΝ"));
    EXPECT_EQ(UMAS::AFM_EKTEL, "099999999");
}

TEST_F(CompanySelection, EndEndsTheProgramWithZero) {
    install(TESTS::companies(2));
    con->key(SC::END);
    EXPECT_EQ(select(), 0);
    EXPECT_EQ(SCR::STACKPOINTER(), 0);
}

TEST_F(CompanySelection, MissingCompanyListStopsWithAMessage) {
    install(TESTS::companies(2));
    std::remove("DATABASE/KORVEX.INI");
    EXPECT_EQ(select(), 1);
    EXPECT_EQ(con->text(1, 1, 25), "file not found KORVEX.INI");
}

TEST_F(CompanySelection, BadCompanyCountIsRefused) {
    install(TESTS::companies(2));
    TESTS::writeFile("DATABASE/KORVEX.INI", "COMPANIES=0\r\n");
    EXPECT_EQ(select(), 1);
    TESTS::writeFile("DATABASE/KORVEX.INI", "COMPANIES=xx\r\n");
    EXPECT_EQ(select(), 1);
}

// A company without a name (a list cut short or edited by hand) is not offered; the others keep
// their numbers and folders.
TEST_F(CompanySelection, ACompanyWithoutANameIsLeftOut) {
    auto cs = TESTS::companies(3);
    cs[1][0] = "   ";
    install(cs);
    con->key(SC::DOWN);
    con->onIdle = [&] {
        if (con->pending() == 0) {
            EXPECT_EQ(con->text(18, 7, 12), "1. COMPANY 1");
            EXPECT_EQ(con->text(18, 8, 12), "3. COMPANY 3");
            EXPECT_EQ(row(9), std::string(45, ' '));
            con->ch(13);
            con->onIdle = nullptr;
        }
    };
    ASSERT_EQ(select(), -1);
    EXPECT_EQ(PARAMS::AREKTEL, 2);
    EXPECT_EQ(UMAS::PATH, "DATABASE\\ARXEIO2\\");
    EXPECT_EQ(UMAS::LOGOTYPO[1], "COMPANY 3");

    // The list cut in the middle of the second company, and a list with no usable line at all.
    std::string ini = TESTS::readFile("DATABASE/KORVEX.INI");
    TESTS::writeFile("DATABASE/KORVEX.INI", ini.substr(0, ini.find("COMPANY 1") + 9) + "\r\n");
    con->ch(13);
    ASSERT_EQ(select(), -1);
    EXPECT_EQ(PARAMS::AREKTEL, 0);
    TESTS::writeFile("DATABASE/KORVEX.INI", "COMPANIES=2\r\nNAME=\r\n");
    try {
        PARAMS::INITEKT();
        ADD_FAILURE() << "a list without a usable company must stop the run";
    } catch (const PLAT::ProgramExit& e) {
        EXPECT_EQ(e.code, 1);
        EXPECT_NE(e.message.find("KORVEX.INI"), std::string::npos);
    }
}

// "DATABASE.TXT" naming its folder without the closing backslash: the same folder.
TEST_F(CompanySelection, ADatabaseFolderWithoutItsBackslashIsTheSameFolder) {
    install(TESTS::companies(1));
    TESTS::writeFile("DATABASE.TXT", "DATABASE\r\n");
    EXPECT_EQ(PARAMS::GETDATABASEPATH(), "DATABASE\\");
    con->ch(13);
    ASSERT_EQ(select(), -1);
    EXPECT_EQ(UMAS::PATH, "DATABASE\\ARXEIO0\\");
    EXPECT_EQ(UMAS::LOGOTYPO[1], "COMPANY 1");
    TESTS::writeFile("DATABASE.TXT", "DATABASE\\\r\n");
    EXPECT_EQ(PARAMS::GETDATABASEPATH(), "DATABASE\\");
    TESTS::writeFile("DATABASE.TXT", "DATABASE\\  \t\r\n");
    EXPECT_EQ(PARAMS::GETDATABASEPATH(), "DATABASE\\") << "blanks after the folder";
    TESTS::writeFile("DATABASE.TXT", "\r\n");
    EXPECT_EQ(PARAMS::GETDATABASEPATH(), "") << "an empty line is the working folder";
}

// A company of the list whose folder is not there is told by its folder and not opened; the
// clerk chooses another.
TEST_F(CompanySelection, ACompanyWithoutItsFolderIsToldAndNotOpened) {
    install(TESTS::companies(2));
    std::filesystem::remove_all(company(1));
    std::string told;
    con->key(SC::DOWN);
    con->ch(13);
    con->onIdle = [&] {
        if (con->pending() != 0) return;
        told = con->text(7, 23, 63);
        con->ch(' ');      // the message
        con->key(SC::UP);  // the first company
        con->ch(13);
        con->onIdle = nullptr;
    };
    ASSERT_EQ(select(), -1);
    EXPECT_EQ(told, PLAT::gr("Δεν υπάρχει ο φάκελος ARXEIO1 της εταιρίας. Πατήστε ένα πλήκτρο"));
    EXPECT_EQ(PARAMS::AREKTEL, 0);
    EXPECT_EQ(UMAS::PATH, "DATABASE\\ARXEIO0\\");
    EXPECT_FALSE(std::filesystem::exists(company(1))) << "nothing is made for it";
    EXPECT_EQ(SCR::STACKPOINTER(), 0);
}

class AfterChoice : public TESTS::Installation {};

TEST_F(AfterChoice, RunsEveryStepInItsOrder) {
    install(TESTS::companies(1));
    UMAS::PATH = "DATABASE\\ARXEIO0\\";
    KORVEX::afterChoice();
    const std::vector<std::string> want = {
        "random", "REB_POL", "REB_PELAT MF", "REB_PELAT XMF", "REB_NOM", "REB_NOM_2", "REB_PRE", "REB_TAX",
        "REB_PEMP", "REB_PRE2", "REB_PARDISK", "REB_PARAUTO", "REB_EMPOR", "REB_TIMOL", "REB_TIMEAFDSS",
        "CREATESEIRES", "READFORMIXPATH", "REIDEX_PELAT IF", "REIDEX_PELAT XIF", "REIDEX_PEL2 IF",
        "REIDEX_PEL2 XIF", "REB_TAX2", "PAREDE", "REBQPAR PARDEFK", "REBQPAR PARAUTO", "REBQPAR PARDILO",
        "REBQPAR PARDAO", "REBQPAR PARSDE", "REB2010", "REB2049", "REB_DISI_BISI", "REB_DIPE", "REB_DISI_2", "REB_TEL",
        "REB_APODI", "KALOS"};
    EXPECT_EQ(KORVEX::sequenceLog, want);
    EXPECT_EQ(UMAS::TIMEUR, 0);  // the installed switch 7: the ledgers show euros
}

// Bad values and files that disagree are told once, by name, in one box after the sequence; the
// run goes on and nothing is repaired.
TEST_F(AfterChoice, DamagedFilesAndBadSettingsAreToldOnceByName) {
    install(TESTS::companies(1));
    UMAS::PATH = "DATABASE\\ARXEIO0\\";
    const std::string co = "DATABASE/ARXEIO0/";
    TESTS::writeFile(co + "formi_01.txt", "F\r\nabc\r\n0\r\n\r\n");
    TESTS::writeFile(co + "HF.DAT", std::string("\x04\x00", 2));  // four customers counted, none stored
    const std::string xif = TESTS::readFile(co + "XIF.DAT");
    TESTS::writeFile(co + "XIF.DAT", xif.substr(0, xif.size() / 2));
    std::vector<std::string> screens;
    con->onIdle = [&] {
        screens.push_back(con->dump());
        con->ch(27);
    };
    KORVEX::afterChoice();
    con->onIdle = nullptr;
    ASSERT_EQ(screens.size(), 1u) << "one box, one key";
    const std::string& box = screens[0];
    for (const std::string& l : {std::string("formi_01.txt"), std::string("HF.DAT"), std::string("XIF.DAT: 1200240 bytes")})
        EXPECT_NE(box.find(l), std::string::npos) << l << "\n" << box;
    EXPECT_NE(box.find(PLAT::cp737ToUtf8(PLAT::gr("Η ΣΗΜΑΝΣΗ ΔΕΝ ΓΙΝΕΤΑΙ"))), std::string::npos) << box;
    EXPECT_EQ(TESTS::readFile(co + "XIF.DAT").size(), xif.size() / 2);
    EXPECT_EQ(SCR::STACKPOINTER(), 0);
    // Chosen again, the same is told again (once each time).
    screens.clear();
    con->onIdle = [&] {
        screens.push_back(con->dump());
        con->ch(27);
    };
    KORVEX::afterChoice();
    con->onIdle = nullptr;
    EXPECT_EQ(screens.size(), 1u);
}

TEST_F(AfterChoice, SwitchesOfAnotherCompanyDoNotSurviveAMissingFile) {
    install(TESTS::companies(2));
    UMAS::PATH = "DATABASE\\ARXEIO0\\";
    std::string img = TESTS::readFile("DATABASE/ARXEIO0/PAREDE.dat");
    img[19 * 42 + 41] = 2;  // switch 20
    TESTS::writeFile("DATABASE/ARXEIO0/PAREDE.dat", img);
    UMAS::KALOS1 = "X";
    KORVEX::afterChoice();
    EXPECT_TRUE(UMAS::HLEK4);
    EXPECT_EQ(UMAS::KALOS1, "");
    std::remove("DATABASE/ARXEIO1/PAREDE.dat");
    UMAS::PATH = "DATABASE\\ARXEIO1\\";
    KORVEX::afterChoice();
    EXPECT_FALSE(UMAS::HLEK4);
    EXPECT_EQ(UMAS::PAREDE[20].TIMI, 0);
    EXPECT_NE(con->dump().find("file not found DATABASE\\ARXEIO1\\PAREDE.dat call VALTERO"), std::string::npos);
}

class MainMenu : public TESTS::Installation {};

TEST_F(MainMenu, ShowsTheCompanyAndLeavesWithEsc) {
    install(TESTS::companies(2));
    UMAS::LOGOTYPO[1] = "COMPANY 2";
    con->onIdle = [&] {
        if (con->pending()) return;
        EXPECT_EQ(con->text(1, 1, 9), "COMPANY 2");
        EXPECT_EQ(con->attr(25, 5), 0x70);  // the bar on the first entry
        EXPECT_EQ(SCR::STACKPOINTER(), 2);
        con->key(SC::DOWN);
        con->key(SC::END);  // ignored
        con->ch(27);
        con->onIdle = nullptr;
    };
    KORVEX::mainMenu();
    EXPECT_EQ(SCR::STACKPOINTER(), 0);
}

}  // namespace
