// UMAS: the text, number and date routines, the general-switch codec, the named locks and the
// in-use slots, within one process (tests/multi has the cross-process cases).
#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <cstring>
#include <filesystem>

#include "common/umas.h"
#include "helpers/fixture.h"
#include "platform/clock.h"
#include "platform/codec.h"
#include "platform/fatal.h"
#include "platform/files.h"
#include "platform/oslock.h"
#include "screen/scr.h"

namespace fs = std::filesystem;
using TESTS::readFile;
using TESTS::writeFile;

// ---- Text and number routines -------------------------------------------------------------------

TEST(UmasRoutines, TextPadding) {
    struct Case {
        const char* name;
        std::string got, want;
    } cases[] = {
        {"CUTLEADSPACES cuts the end", UMAS::CUTLEADSPACES("  AB  "), "  AB"},
        {"CUTLEADSPACES all blanks", UMAS::CUTLEADSPACES("   "), ""},
        {"CUTLEADCHAR", UMAS::CUTLEADCHAR("0AB00", '0'), "0AB"},
        {"REMLCH", UMAS::REMLCH("00AB0", '0'), "AB0"},
        {"CENTE odd blank left", UMAS::CENTE("AB", 5), "  AB "},
        {"CENTE even", UMAS::CENTE("AB", 4), " AB "},
        {"CENTE too long", UMAS::CENTE("ABCDEF", 4), "ABCD"},
        {"CENTE empty", UMAS::CENTE("", 3), "   "},
        {"CENTE zero width", UMAS::CENTE("AB", 0), ""},
        {"CENTE negative width", UMAS::CENTE("AB", -3), ""},
        {"LEJU pads", UMAS::LEJU("AB", 4), "AB  "},
        {"LEJU cuts", UMAS::LEJU("ABCDEF", 4), "ABCD"},
        {"RIJU pads", UMAS::RIJU("AB", 4), "  AB"},
        {"RIJU keeps the left part", UMAS::RIJU("ABCDEF", 4), "ABCD"},
        {"LZ", UMAS::LZ("7", 3), "007"},
        {"LZ long", UMAS::LZ("1234", 3), "1234"},
        {"LZ at most 16 zeros", UMAS::LZ("", 20), std::string(16, '0')},
        {"LO2S zero is blanks", UMAS::LO2S(0, 5), "     "},
        {"LO2S right-aligned", UMAS::LO2S(42, 5), "   42"},
        {"LO2S not cut", UMAS::LO2S(123456, 3), "123456"},
        {"LO2S no width", UMAS::LO2S(-7, 0), "-7"},
        {"LO2S zero no width", UMAS::LO2S(0, 0), ""},
        {"LO2S min", UMAS::LO2S(INT32_MIN, 0), "-2147483648"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.got, c.want) << c.name;
    EXPECT_EQ(UMAS::SPACS(), std::string(255, ' '));
    std::string z = " 1 2 ";
    UMAS::ZER(z);
    EXPECT_EQ(z, "01020");
}

TEST(UmasRoutines, Numbers) {
    struct E {
        const char* s;
        double v;
    } evals[] = {
        {"12,50", 12},  {"1.5.3", 1.5}, {"12A", 12},  {"  -3.25", -3.25}, {"+7", 7},     {"-", 0},
        {"", 0},        {"abc", 0},     {".5", 0.5},  {"5.", 5},          {"1E3", 1000}, {"1E", 1},
        {"2e-2x", 0.02}, {"1E+", 1},    {" 12 ", 12}, {"0.156275", 0.156275}, {"- 5", 0}, {"1234567.89", 1234567.89},
    };
    for (const auto& c : evals) EXPECT_DOUBLE_EQ(UMAS::EVAL(c.s), c.v) << "EVAL(" << c.s << ")";
    struct L {
        const char* s;
        int32_t v;
    } longs[] = {
        {" 12 ", 12}, {"12A", 0}, {"-34", -34}, {"+5", 5}, {"", 0}, {"  ", 0}, {"1 2", 0}, {"12.0", 0},
        {"2147483647", INT32_MAX}, {"2147483648", 0}, {"-2147483648", INT32_MIN}, {"99999999999999999999", 0},
        {"-", 0},
    };
    for (const auto& c : longs) EXPECT_EQ(UMAS::S2LO(c.s), c.v) << "S2LO(" << c.s << ")";
}

TEST(UmasRoutines, DayNumbers) {
    struct Case {
        const char* h;
        int32_t z;
    } cases[] = {
        {"010190", 0},     {"010100", 3720},  {"311219", 11159}, {"311249", 22319}, {"010150", 22320},
        {"310189", 36858}, {"0101AB", 3720},  // a year that is not a number counts as 0
        {"000100", 0},     {"320100", 0},     {"011300", 0},     {"010000", 0},     {"01AB00", 0},
        {"01010", 0},      {"0101000", 0},    {" 10100", 0},     {"A10100", 0},     {"", 0},
        {"310124", 30 + 34 * 372},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(UMAS::HMVAL(c.h), c.z) << c.h;
        int32_t z = -1;
        UMAS::HMVAL(c.h, z);
        EXPECT_EQ(z, c.z) << c.h;
    }
}

TEST(UmasRoutines, PackedDates) {
    struct Case {
        const char* s;
        int32_t packed;
        const char* back;
    } cases[] = {
        {"05/03/24", 2024 * 65536 + 3 * 256 + 5, "05/03/24"},
        {"01/01/90", 2090 * 65536 + 1 * 256 + 1, "01/01/90"},
        {"01/01/91", 1991 * 65536 + 1 * 256 + 1, "01/01/91"},
        {"31/12/99", 1999 * 65536 + 12 * 256 + 31, "31/12/99"},
        {"01/01/00", 2000 * 65536 + 1 * 256 + 1, "01/01/00"},
        {"", 0, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(UMAS::S2DATE(c.s), c.packed) << c.s;
        EXPECT_EQ(UMAS::DATE2S(c.packed), c.back) << c.s;
    }
    EXPECT_EQ(UMAS::DATE2S(1990 * 65536 + 1 * 256 + 1), "01/01/-10");
    EXPECT_EQ(UMAS::S2DATE("xx/03/24"), 2024 * 65536 + 3 * 256);
}

TEST(UmasRoutines, TodayFromThePlatformClock) {
    PLAT::setFixedNow(PLAT::DateTime{2024, 3, 5, 9, 7, 41, 0});
    EXPECT_EQ(UMAS::GETCURDATE(), "05/03/24");
    EXPECT_EQ(UMAS::GETCURTIME(), "09:07");
    PLAT::setFixedNow(PLAT::DateTime{1995, 12, 31, 23, 59, 0, 0});
    EXPECT_EQ(UMAS::GETCURDATE(), "31/12/95");
    EXPECT_EQ(UMAS::GETCURTIME(), "23:59");
    PLAT::setFixedNow(std::nullopt);
}

TEST(UmasRoutines, FileExistFindsFoldersAndPatterns) {
    TESTS::TempWorkDir work;
    fs::create_directories("ARXEIO0");
    writeFile("ARXEIO0/TM.DAT", "");
    EXPECT_TRUE(UMAS::FILEEXIST("ARXEIO0"));
    EXPECT_TRUE(UMAS::FILEEXIST("arxeio0\\tm.dat"));
    EXPECT_TRUE(UMAS::FILEEXIST("ARXEIO0\\*.DAT"));
    EXPECT_FALSE(UMAS::FILEEXIST("ARXEIO0\\SM.DAT"));
}

TEST(UmasRoutines, GeneralSwitchesCodec) {
    std::array<UMAS::RECPAREDE, 21> t{};
    for (int i = 1; i <= 20; ++i) t[size_t(i)] = {"SWITCH " + std::to_string(i), uint8_t(i % 10)};
    std::string img = UMAS::encodePAREDE(t);
    ASSERT_EQ(img.size(), 840u);
    EXPECT_EQ(uint8_t(img[42]), 8u) << "record 2 starts with its label length";
    EXPECT_EQ(uint8_t(img[42 + 41]), 2u);
    EXPECT_EQ(img[42 + 9], '\0') << "unused label bytes are zero";
    std::array<UMAS::RECPAREDE, 21> back{};
    UMAS::decodePAREDE(img, back);
    for (int i = 1; i <= 20; ++i) {
        EXPECT_EQ(back[size_t(i)].MAL, t[size_t(i)].MAL);
        EXPECT_EQ(back[size_t(i)].TIMI, t[size_t(i)].TIMI);
    }
    UMAS::decodePAREDE(img.substr(0, 2 * 42 + 41), back);  // a short file reads zero-filled
    EXPECT_EQ(back[2].TIMI, 2);
    EXPECT_EQ(back[3].MAL, "SWITCH 3");
    EXPECT_EQ(back[3].TIMI, 0);
    EXPECT_EQ(back[4].MAL, "");
    EXPECT_EQ(back[20].TIMI, 0);
    UMAS::PAREDE = t;
    UMAS::PAREDE[7].TIMI = 1;
    UMAS::PAREDE[20].TIMI = 2;
    UMAS::derivePAREDE();
    EXPECT_EQ(UMAS::TIMEUR, 1);
    EXPECT_TRUE(UMAS::HLEK4);
    UMAS::PAREDE[20].TIMI = 1;
    UMAS::derivePAREDE();
    EXPECT_FALSE(UMAS::HLEK4);
}

TEST(UmasRoutines, MaskRecords) {
    UMAS::CONV c = UMAS::CONV::make(3, 4, 12, 6);
    EXPECT_EQ(c.raw.size(), 8u + 2 * 10 * 3);
    EXPECT_EQ(c.X1(), 3);
    EXPECT_EQ(c.Y2(), 6);
    c.ch(9, 2) = 'x';
    EXPECT_EQ(c.raw.back(), 0);
    EXPECT_EQ(c.raw[c.raw.size() - 2], 'x');
    auto saved = UMAS::MPR;
    UMAS::MPR.assign(3, UMAS::CONV{});
    UMAS::MPR[2] = c;
    EXPECT_EQ(UMAS::mask(2), &UMAS::MPR[2]);
    EXPECT_EQ(UMAS::mask(1), nullptr) << "an empty record is no mask";
    EXPECT_EQ(UMAS::mask(0), nullptr);
    EXPECT_EQ(UMAS::mask(3), nullptr);
    UMAS::MPR = saved;
}

// ---- Named locks --------------------------------------------------------------------------------

namespace {

class UmasLocks : public ::testing::Test {
protected:
    void SetUp() override {
        PLAT::setThrowOnExit(true);
        work = std::make_unique<TESTS::TempWorkDir>();
        fs::create_directories("CO");
        UMAS::PATH = "co\\";
    }
    void TearDown() override {
        UMAS::releaseAllLocks();
        work.reset();
    }
    static std::string byte(const char* f) { return readFile(f); }
    // Whether another open file could take the OS lock now (the lock is free at OS level).
    static bool osFree(const char* f) {
        PLAT::File o(f, PLAT::File::READWRITE);
        bool ok = PLAT::tryLockFd(o.handle());
        if (ok) PLAT::unlockFd(o.handle());
        return ok;
    }
    std::unique_ptr<TESTS::TempWorkDir> work;
};

const std::string ZERO(1, '\0'), ONE(1, '\1');

}  // namespace

TEST_F(UmasLocks, TakeAndReleaseWriteTheByte) {
    writeFile("CO/FPAR.DAT", ZERO);
    UMAS::LOCK("FPAR");
    EXPECT_EQ(byte("CO/FPAR.DAT"), ONE);
    EXPECT_FALSE(osFree("CO/FPAR.DAT")) << "the OS lock is held with the named lock";
    UMAS::UNLOC("FPAR");
    EXPECT_EQ(byte("CO/FPAR.DAT"), ZERO);
    EXPECT_TRUE(osFree("CO/FPAR.DAT"));
}

TEST_F(UmasLocks, MissingLockFileIsCreatedFree) {
    UMAS::LOCK("FTIM");
    EXPECT_EQ(byte("CO/FTIM.DAT"), ONE);
    UMAS::UNLOC("FTIM");
    EXPECT_EQ(byte("CO/FTIM.DAT"), ZERO);
}

TEST_F(UmasLocks, ByteLeftByADeadProcessIsTakenOver) {
    writeFile("CO/FDIA.DAT", ONE);  // nobody holds the OS lock
    auto t0 = std::chrono::steady_clock::now();
    UMAS::LOCK("FDIA");
    EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::milliseconds(100)) << "no waiting";
    EXPECT_EQ(byte("CO/FDIA.DAT"), ONE);
    UMAS::UNLOC("FDIA");
    EXPECT_EQ(byte("CO/FDIA.DAT"), ZERO);
}

TEST_F(UmasLocks, ReleaseOfALockNotHeldDoesNothing) {
    writeFile("CO/FPEL.DAT", ONE);
    UMAS::UNLOC("FPEL");
    EXPECT_EQ(byte("CO/FPEL.DAT"), ONE);
    UMAS::LOCK("FPEL");
    UMAS::UNLOC("FPEL");
    writeFile("CO/FPEL.DAT", ONE);  // as if another workstation took it since
    UMAS::UNLOC("FPEL");            // a second release
    EXPECT_EQ(byte("CO/FPEL.DAT"), ONE);
    EXPECT_FALSE(fs::exists("CO/FNONE.DAT") && byte("CO/FNONE.DAT") != ZERO);
    UMAS::UNLOC("FNONE");
    EXPECT_FALSE(fs::exists("CO/FNONE.DAT")) << "a release creates nothing";
}

TEST_F(UmasLocks, ReentrantWithinTheProcess) {
    UMAS::LOCK("FKVD");
    UMAS::LOCK("fkvd");  // the same file whatever the case
    UMAS::UNLOC("FKVD");
    EXPECT_EQ(byte("CO/FKVD.DAT"), ONE) << "the inner release keeps the outer hold";
    EXPECT_FALSE(osFree("CO/FKVD.DAT"));
    UMAS::UNLOC("FKVD");
    EXPECT_EQ(byte("CO/FKVD.DAT"), ZERO);
    EXPECT_TRUE(osFree("CO/FKVD.DAT"));
}

TEST_F(UmasLocks, EveryExitPathReleasesTheHeldLocks) {
    UMAS::LOCK("FTIM");
    UMAS::LOCK("FPEL");
    try {
        PLAT::quit(0);
    } catch (const PLAT::ProgramExit&) {
    }
    EXPECT_EQ(byte("CO/FTIM.DAT"), ZERO);
    EXPECT_EQ(byte("CO/FPEL.DAT"), ZERO);
    // Taken again after the hook ran: a fatal error releases them too.
    UMAS::LOCK("FTIM");
    try {
        PLAT::File f("co\\none.dat", PLAT::File::READ);
    } catch (const PLAT::ProgramExit& e) {
        EXPECT_EQ(e.code, 2);
    }
    EXPECT_EQ(byte("CO/FTIM.DAT"), ZERO);
    EXPECT_TRUE(osFree("CO/FTIM.DAT"));
}

TEST_F(UmasLocks, MaskLockInTheFirstCompanyFolder) {
    fs::create_directories("DB/ARXEIO0");
    UMAS::LOCKIN("DB\\ARXEIO0\\", "FMAS");
    EXPECT_EQ(byte("DB/ARXEIO0/FMAS.DAT"), ONE);
    UMAS::UNLOCIN("db\\arxeio0\\", "FMAS");
    EXPECT_EQ(byte("DB/ARXEIO0/FMAS.DAT"), ZERO);
}

TEST_F(UmasLocks, MissingFolderIsAnErrorNotAWait) {
    UMAS::PATH = "NOFOLDER\\";
    try {
        UMAS::LOCK("FPAR");
        FAIL() << "expected a fatal error";
    } catch (const PLAT::ProgramExit& e) {
        EXPECT_EQ(e.code, 2);
        EXPECT_NE(e.message.find("NOFOLDER/FPAR.DAT"), std::string::npos) << e.message;
    }
}

// ---- In-use slots -------------------------------------------------------------------------------

namespace {

class UmasSlots : public ::testing::Test {
protected:
    void SetUp() override {
        PLAT::setThrowOnExit(true);
        work = std::make_unique<TESTS::TempWorkDir>();
        fs::create_directories("CO");
        UMAS::PATH = "CO\\";
        con = &TESTS::headless();
        try {
            TESTS::loadMasks();
        } catch (...) {
            UMAS::MPR.clear();  // no mask file built: the busy screen still waits for Esc
        }
    }
    void TearDown() override {
        others.reset();
        UMAS::releaseAllClaims();
        work.reset();
    }

    // A slot file image: four string[ss] records.
    static std::string image(const std::vector<std::string>& s, int ss) {
        std::string img(size_t(4 * (ss + 1)), '\0');
        for (size_t k = 0; k < s.size(); ++k)
            PLAT::putS(reinterpret_cast<uint8_t*>(img.data()) + k * size_t(ss + 1), ss, s[k]);
        return img;
    }
    static std::vector<std::string> slots(const char* f, int ss) {
        std::string img = readFile(f);
        std::vector<std::string> v;
        for (int k = 0; k < 4; ++k)
            v.push_back(size_t((k + 1) * (ss + 1)) <= img.size()
                            ? PLAT::getS(reinterpret_cast<const uint8_t*>(img.data()) + k * (ss + 1), ss)
                            : "<missing>");
        return v;
    }
    // Other live workstations: the file written, and its non-empty slots held the way a live
    // claim holds them (a lock on the slot's bytes through a file of its own).
    void heldElsewhere(const char* f, const std::vector<std::string>& s, int ss) {
        writeFile(f, image(s, ss));
        others = std::make_unique<PLAT::File>(f, PLAT::File::READWRITE);
        for (size_t k = 0; k < s.size(); ++k)
            if (!s[k].empty()) ASSERT_TRUE(PLAT::tryLockRange(others->handle(), int64_t(k) * (ss + 1), ss + 1));
    }
    std::unique_ptr<TESTS::TempWorkDir> work;
    std::unique_ptr<PLAT::File> others;
    PLAT::HeadlessConsole* con = nullptr;
};

using V = std::vector<std::string>;

}  // namespace

TEST_F(UmasSlots, ClaimingMovingAndFreeingOwnClaims) {
    writeFile("CO/NUDI.DAT", image({}, 10));
    struct Step {
        const char *btm, *tm;
        V after;
        const char* name;
    } steps[] = {
        {"", "10", {"", "10", "", ""}, "empty BTM takes slot 2 first"},
        {"", "11", {"", "10", "11", ""}, "a second claim takes the next free slot"},
        {"10", "12", {"", "12", "11", ""}, "own slot changes number"},
        {"12", "12", {"", "12", "11", ""}, "same number again"},
        {"12", "11", {"", "", "11", ""}, "a number already held here stays where it is"},
        {"", "12345678901", {"", "1234567890", "11", ""}, "cut to the slot width"},
        {"1234567890X", "", {"", "", "11", ""}, "claim of no number frees own slot"},
        {"", "", {"", "", "11", ""}, "claim of no number with nothing held"},
    };
    for (const auto& s : steps) {
        EXPECT_FALSE(UMAS::ELDI(s.btm, s.tm, "NUDI", 10)) << s.name;
        EXPECT_EQ(slots("CO/NUDI.DAT", 10), s.after) << s.name;
        EXPECT_EQ(fs::file_size("CO/NUDI.DAT"), 44u) << s.name;
    }
    UMAS::MHNU("11", "NUDI", 10);
    EXPECT_EQ(readFile("CO/NUDI.DAT"), image({}, 10));
    EXPECT_EQ(con->pending(), 0u);
    EXPECT_EQ(SCR::STACKPOINTER(), 0);
}

TEST_F(UmasSlots, ClaimsBesideOtherLiveWorkstations) {
    heldElsewhere("CO/NUDI.DAT", {"", "2", "3", "4"}, 10);
    EXPECT_FALSE(UMAS::ELDI("", "5", "NUDI", 10));
    EXPECT_EQ(slots("CO/NUDI.DAT", 10), (V{"5", "2", "3", "4"})) << "slot 1 is the only free one";
    EXPECT_FALSE(UMAS::ELDI("5", "6", "NUDI", 10));
    EXPECT_EQ(slots("CO/NUDI.DAT", 10), (V{"6", "2", "3", "4"}));
    UMAS::MHNU("6", "NUDI", 10);
    // Four live claims elsewhere: a fifth is not recorded and never overwrites one of them.
    heldElsewhere("CO/NUDI.DAT", {"1", "2", "3", "4"}, 10);
    EXPECT_FALSE(UMAS::ELDI("", "5", "NUDI", 10));
    EXPECT_EQ(slots("CO/NUDI.DAT", 10), (V{"1", "2", "3", "4"}));
    UMAS::MHNU("5", "NUDI", 10);
    // Freeing frees only this workstation's own claim, never another's of the same number.
    heldElsewhere("CO/NUTI.DAT", {"", "", "100", ""}, 6);
    UMAS::MHNU("100", "NUTI", 6);
    EXPECT_EQ(slots("CO/NUTI.DAT", 6), (V{"", "", "100", ""}));
    EXPECT_EQ(con->pending(), 0u);
}

// Numbers that no live workstation holds were left by one that stopped: they count as free.
TEST_F(UmasSlots, StaleClaimsAreTakenOverAndSweptAtStart) {
    writeFile("CO/NUDI.DAT", image({"1", "2", "3", "4"}, 10));
    EXPECT_FALSE(UMAS::ELDI("", "3", "NUDI", 10)) << "not busy: nobody holds 3";
    EXPECT_EQ(slots("CO/NUDI.DAT", 10), (V{"1", "2", "3", "4"})) << "its own slot taken over";
    EXPECT_FALSE(UMAS::ELDI("", "9", "NUDI", 10));
    EXPECT_EQ(slots("CO/NUDI.DAT", 10), (V{"1", "9", "3", "4"})) << "first slot no live claim holds";
    // A stale claim is not this workstation's to free by number...
    UMAS::MHNU("4", "NUDI", 10);
    EXPECT_EQ(slots("CO/NUDI.DAT", 10), (V{"1", "9", "3", "4"}));
    // ...but the sweep at the company choice empties every slot no live claim holds.
    writeFile("CO/NUTI.DAT", image({"77", "", "", "78"}, 6));
    writeFile("CO/NUAP.DAT", std::string(24, '\0'));
    UMAS::freeStaleClaims();
    EXPECT_EQ(slots("CO/NUDI.DAT", 10), (V{"", "9", "3", ""})) << "live claims (this one's) kept";
    EXPECT_EQ(readFile("CO/NUTI.DAT"), image({}, 6));
    EXPECT_EQ(readFile("CO/NUAP.DAT"), std::string(24, '\0'));
    fs::remove("CO/NUAP.DAT");
    UMAS::freeStaleClaims();
    EXPECT_FALSE(fs::exists("CO/NUAP.DAT")) << "a missing file is not created by the sweep";
    // Every claim freed on the way out.
    UMAS::releaseAllClaims();
    EXPECT_EQ(readFile("CO/NUDI.DAT"), image({}, 10));
}

TEST_F(UmasSlots, BusyShowsTheScreenUntilEsc) {
    struct Case {
        const char* name;
        V before;
        const char *btm, *tm;
    } cases[] = {
        {"held elsewhere, nothing held here", {"", "10", "", ""}, "", "10"},
        {"held elsewhere, a claimed BTM that is not ours", {"", "10", "11", ""}, "10", "11"},
        {"held elsewhere, all slots taken", {"1", "2", "10", "4"}, "", "10"},
        {"own claim lost from the file", {"1", "2", "10", "4"}, "99", "10"},
        {"compared after cutting", {"", "", "1234567890", ""}, "", "1234567890X"},
    };
    for (const auto& c : cases) {
        heldElsewhere("CO/NUDI.DAT", c.before, 10);
        std::string img = image(c.before, 10);
        PLAT::CellBuffer screenBefore;
        std::memcpy(&screenBefore, &con->cells, sizeof screenBefore);
        int stackDuring = -1, xDuring = 0, yDuring = 0;
        bool cursorDuring = false, fileFree = false;
        con->ch('a');
        con->key(PLAT::SC::F1);
        con->ch('\r');
        con->onIdle = [&] {
            stackDuring = SCR::STACKPOINTER();
            xDuring = con->whereX();
            yDuring = con->whereY();
            cursorDuring = con->cursorVisible();
            PLAT::File o("CO/NUDI.DAT", PLAT::File::READWRITE);  // not guarded while the screen waits
            fileFree = PLAT::tryLockRange(o.handle(), 44, 1);
            con->ch(27);
        };
        EXPECT_TRUE(UMAS::ELDI(c.btm, c.tm, "NUDI", 10)) << c.name;
        con->onIdle = nullptr;
        EXPECT_EQ(readFile("CO/NUDI.DAT"), img) << c.name << ": nothing claimed";
        EXPECT_EQ(con->pending(), 0u) << c.name << ": other keys are read and ignored";
        EXPECT_EQ(xDuring, 48);
        EXPECT_EQ(yDuring, 13);
        EXPECT_TRUE(cursorDuring);
        EXPECT_TRUE(fileFree);
        if (UMAS::mask(86)) {
            EXPECT_EQ(stackDuring, 1) << "mask 86 saved on the screen stack";
        }
        EXPECT_FALSE(con->cursorVisible());
        EXPECT_EQ(SCR::STACKPOINTER(), 0);
        EXPECT_EQ(std::memcmp(&screenBefore, &con->cells, sizeof screenBefore), 0) << c.name << ": screen restored";
    }
}

TEST_F(UmasSlots, FreeingASlot) {
    writeFile("CO/NUTI.DAT", image({}, 6));
    ASSERT_FALSE(UMAS::ELDI("", "100", "NUTI", 6));
    UMAS::MHNU("100", "NUTI", 6);
    EXPECT_EQ(slots("CO/NUTI.DAT", 6), (V{"", "", "", ""}));
    // A number in no slot writes nothing: stray bytes after a slot's length stay as they are.
    std::string img = image({"1", "2", "", ""}, 6);
    img[20] = 'Z';
    writeFile("CO/NUTI.DAT", img);
    UMAS::MHNU("77", "NUTI", 6);
    UMAS::MHNU("", "NUTI", 6);
    EXPECT_EQ(readFile("CO/NUTI.DAT"), img);
    // Cut to the slot width before the search.
    writeFile("CO/NUAP.DAT", image({}, 5));
    ASSERT_FALSE(UMAS::ELDI("", "12345", "NUAP", 5));
    UMAS::MHNU("123456", "NUAP", 5);
    EXPECT_EQ(slots("CO/NUAP.DAT", 5), (V{"", "", "", ""}));
}

TEST_F(UmasSlots, MissingShortAndDamagedFiles) {
    EXPECT_FALSE(UMAS::ELDI("", "5", "NUAP", 5));
    EXPECT_EQ(readFile("CO/NUAP.DAT"), image({"", "5", "", ""}, 5)) << "created with four empty slots";
    writeFile("CO/NUTI.DAT", image({"42"}, 6).substr(0, 10));  // slot 1 and part of slot 2
    EXPECT_FALSE(UMAS::ELDI("", "43", "NUTI", 6));
    EXPECT_EQ(readFile("CO/NUTI.DAT"), image({"42", "43", "", ""}, 6)) << "padded to four slots";
    // A length byte beyond the slot width is read cut to the width.
    std::string bad = image({"", "", "", ""}, 6);
    bad[7] = char(200);
    std::memcpy(&bad[8], "123456", 6);
    writeFile("CO/NUTI.DAT", bad);
    EXPECT_FALSE(UMAS::ELDI("123456", "7", "NUTI", 6));
    EXPECT_EQ(slots("CO/NUTI.DAT", 6), (V{"", "7", "", ""}));
    UMAS::MHNU("9", "NUDI", 10);  // a missing file on freeing: created, nothing claimed
    EXPECT_EQ(readFile("CO/NUDI.DAT"), std::string(44, '\0'));
}
