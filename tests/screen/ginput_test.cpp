// The field editor, its paste from the clipboard and the terminal, and the Windows Greek table.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <optional>

#include "helpers/fixture.h"
#include "platform/clipboard.h"
#include "platform/codepage.h"
#include "platform/console.h"
#include "platform/fatal.h"
#include "screen/scr.h"
#include "screen/winclip.h"

using PLAT::keyChar;
using PLAT::keyExt;
namespace SC = PLAT::SC;

namespace {

constexpr int FX = 10, FY = 5;  // the field of every test starts at column 10 of row 5

PLAT::Event press(int x1, int y1, uint8_t button = PLAT::MouseEvent::LEFT) {
    return PLAT::mouse(PLAT::MouseEvent::PRESS, button, x1 - 1, y1 - 1);
}
PLAT::Event release(int x1, int y1) {
    return PLAT::mouse(PLAT::MouseEvent::RELEASE, PLAT::MouseEvent::LEFT, x1 - 1, y1 - 1);
}
std::vector<PLAT::Event> typed(const std::string& s) {
    std::vector<PLAT::Event> v;
    for (unsigned char c : s) v.push_back(keyChar(c));
    return v;
}
std::vector<PLAT::Event> operator+(std::vector<PLAT::Event> a, const std::vector<PLAT::Event>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

const PLAT::Event ENTER = keyChar(13), ESC = keyChar(27), BS = keyChar(8), CTRL_V = keyChar(22);
const PLAT::Event HOME = keyExt(SC::HOME), END = keyExt(SC::END), LEFT = keyExt(SC::LEFT),
                  RIGHT = keyExt(SC::RIGHT), DEL = keyExt(SC::DEL), INS = keyExt(SC::INS);

class FieldEditor : public ::testing::Test {
protected:
    void SetUp() override {
        PLAT::setThrowOnExit(true);
        con = &TESTS::headless();
        SCR::RESTCLIP.clear();
        PLAT::setClipboardReader([this] { return clip; });
    }
    void TearDown() override { PLAT::setClipboardReader({}); }

    struct Result {
        std::string text;
        int K;
    };
    // Runs the editor on the field (FX, FY, L) with the scripted events.
    Result run(const std::string& S, int L, const std::vector<PLAT::Event>& script,
               const SCR::SOC& sc = SCR::socAll()) {
        for (const auto& e : script) con->push(e);
        int K = -1;
        std::string r = SCR::GINPUT(FX, FY, L, S, "", sc, false, true, K);
        return {r, K};
    }
    // The field's cells on the screen.
    std::string field(int L) const { return con->text(FX, FY, L); }

    PLAT::HeadlessConsole* con = nullptr;
    std::optional<std::string> clip;  // the system clipboard (UTF-8), nullopt: no text
};

// ---- Exit codes -------------------------------------------------------------------------------

TEST_F(FieldEditor, EveryEndingKeyGivesItsExitCodeAndTheEditedText) {
    using PLAT::MOD_ALT;
    using PLAT::MOD_CTRL;
    using PLAT::MOD_SHIFT;
    struct Case {
        const char* what;
        PLAT::Event ev;
        int K;
    } cases[] = {
        {"Enter", ENTER, 0},
        {"Up", keyExt(SC::UP), 1},
        {"Down", keyExt(SC::DOWN), 2},
        {"PgUp", keyExt(SC::PGUP), 4},
        {"PgDn", keyExt(SC::PGDN), 5},
        {"Tab", keyChar(9), 6},
        {"Ctrl-B", keyChar(2), 6},
        {"right press on the field", press(FX + 3, FY, PLAT::MouseEvent::RIGHT), 6},
        {"right press just past the field", press(FX + 5, FY, PLAT::MouseEvent::RIGHT), 6},
        {"F1", keyExt(SC::F1), 7},
        {"F2", keyExt(SC::F2), 8},
        {"F3", keyExt(SC::F3), 9},
        {"F4", keyExt(SC::F4), 10},
        {"F5", keyExt(SC::F5), 11},
        {"F6", keyExt(SC::F6), 12},
        {"F7", keyExt(SC::F7), 13},
        {"Shift-F1", keyExt(SC::SF1, MOD_SHIFT), 14},
        {"Shift-F1 given as F1 with Shift", keyExt(SC::F1, MOD_SHIFT), 14},
        {"F10", keyExt(SC::F10), 16},
        {"Shift-F2", keyExt(SC::SF2, MOD_SHIFT), 17},
        {"Shift-F3", keyExt(SC::SF3, MOD_SHIFT), 18},
        {"Shift-F4", keyExt(SC::SF4, MOD_SHIFT), 19},
        {"Alt-C", keyExt(SC::ALT_C, MOD_ALT), 20},
        {"Shift-F10", keyExt(SC::SF10, MOD_SHIFT), 21},
        {"Shift-F9", keyExt(SC::SF9, MOD_SHIFT), 22},
        {"F8", keyExt(SC::F8), 23},
        {"F9", keyExt(SC::F9), 24},
        {"Shift-F8", keyExt(SC::SF8, MOD_SHIFT), 25},
        {"Alt-F2", keyExt(SC::AF2, MOD_ALT), 29},
        {"Ctrl-F2", keyExt(SC::CF2, MOD_CTRL), 30},
        {"Ctrl-F2 given as F2 with Ctrl", keyExt(SC::F2, MOD_CTRL), 30},
        {"Alt-F3", keyExt(SC::AF3, MOD_ALT), 31},
        {"Ctrl-F3", keyExt(SC::CF3, MOD_CTRL), 32},
        {"Alt-F1", keyExt(SC::AF1, MOD_ALT), 33},
        {"left press on another row", press(FX, FY + 2), 100},
        {"left press left of the field", press(FX - 1, FY), 100},
        {"left press right of the cursor's last column", press(FX + 6, FY), 100},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        // "x" overwrites the first character, so the result shows that the edit is kept.
        Result r = run("ABC", 5, {keyChar('x'), c.ev});
        EXPECT_EQ(r.K, c.K);
        EXPECT_EQ(r.text, "xBC");
        EXPECT_EQ(field(6), "xBC   ");  // the free cells are blank again, the next cell untouched
    }
}

TEST_F(FieldEditor, EscReturnsTheInitialTextWhileTheScreenKeepsWhatWasTyped) {
    Result r = run("ABC", 5, typed("xy") + std::vector{ESC});
    EXPECT_EQ(r.K, 3);
    EXPECT_EQ(r.text, "ABC");
    EXPECT_EQ(field(5), "xyC  ");
}

TEST_F(FieldEditor, LeftPressOutsideLeavesTheReleaseForTheCaller) {
    Result r = run("AB", 5, {press(40, 20), release(40, 20)});
    EXPECT_EQ(r.K, 100);
    PLAT::Event ev;
    ASSERT_TRUE(con->poll(ev));
    EXPECT_EQ(ev.type, PLAT::Event::MOUSE);
    EXPECT_EQ(ev.mouse.action, PLAT::MouseEvent::RELEASE);
    EXPECT_EQ(ev.mouse.x, 39);
    EXPECT_EQ(ev.mouse.y, 19);
}

TEST_F(FieldEditor, ReleasesMovesAndOtherKeysDoNotEndTheInput) {
    Result r = run("AB", 5,
                   {release(1, 1), PLAT::mouse(PLAT::MouseEvent::DRAG, PLAT::MouseEvent::LEFT, 0, 0),
                    press(1, 1, PLAT::MouseEvent::RIGHT), keyExt(SC::SF5, PLAT::MOD_SHIFT), keyChar(1), ENTER});
    EXPECT_EQ(r.K, 0);
    EXPECT_EQ(r.text, "AB");
}

// ---- Editing ------------------------------------------------------------------------------------

TEST_F(FieldEditor, EditingKeys) {
    struct Case {
        const char* what;
        std::string S;
        int L;
        std::vector<PLAT::Event> keys;
        std::string want;
    } cases[] = {
        {"typing overwrites from the start", "ABC", 5, typed("xy"), "xyC"},
        {"overwriting past the end extends the text", "AB", 5, std::vector{END} + typed("cd"), "ABcd"},
        {"a full field takes keys until the cursor is past its end", "", 3, typed("abcde"), "abc"},
        {"insert before the third character", "ABC", 5, std::vector{INS, RIGHT, RIGHT} + typed("x"), "ABxC"},
        {"insert into a full field is ignored", "ABC", 3, std::vector{INS} + typed("x"), "ABC"},
        {"Ins toggles back to overwrite", "ABC", 5, std::vector{INS, INS} + typed("x"), "xBC"},
        {"Home", "ABC", 5, std::vector{END, HOME} + typed("x"), "xBC"},
        {"Left from the end", "ABC", 5, std::vector{END, LEFT} + typed("x"), "ABx"},
        {"Left stops at the start", "ABC", 5, std::vector{LEFT} + typed("x"), "xBC"},
        {"Right stops just after the text", "AB", 5, std::vector{RIGHT, RIGHT, RIGHT} + typed("x"), "ABx"},
        {"Del removes the character at the cursor", "ABC", 5, std::vector{RIGHT, DEL}, "AC"},
        {"Del after the text does nothing", "ABC", 5, std::vector{END, DEL}, "ABC"},
        {"Backspace removes left of the cursor", "ABC", 5, std::vector{END, BS}, "AB"},
        {"Backspace at the start does nothing", "ABC", 5, std::vector{BS}, "ABC"},
        {"Backspace in the middle", "ABC", 5, std::vector{RIGHT, RIGHT, BS} + typed("x"), "Ax"},
        {"Ctrl-Y clears a full field", "ABC", 3, typed("\x19"), ""},
        {"Ctrl-Z clears and puts the cursor at the start", "ABC", 5, typed("\x1a") + typed("q"), "q"},
        {"Ctrl-A is ignored", "ABC", 5, typed("\x01"), "ABC"},
        {"an initial text longer than the field is cut", "ABCDEF", 3, {}, "ABC"},
        {"a click inside the text moves the cursor there", "ABCD", 6, std::vector{press(FX + 2, FY)} + typed("x"),
         "ABxD"},
        {"a click after the text moves the cursor just after it", "AB", 6, std::vector{press(FX + 5, FY)} + typed("x"),
         "ABx"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Result r = run(c.S, c.L, c.keys + std::vector{ENTER});
        EXPECT_EQ(r.K, 0);
        EXPECT_EQ(r.text, c.want);
        EXPECT_EQ(con->bells, 0);
    }
}

TEST_F(FieldEditor, RefusedCharactersRingTheBell) {
    Result r = run("12", 4, typed("a5") + std::vector{END} + typed("b") + std::vector{ENTER}, SCR::socDigits());
    EXPECT_EQ(r.text, "52");
    EXPECT_EQ(con->bells, 2);
    // Past the field's end a character is ignored without a bell.
    Result full = run("1234", 4, std::vector{END} + typed("a") + std::vector{ENTER}, SCR::socDigits());
    EXPECT_EQ(full.text, "1234");
    EXPECT_EQ(con->bells, 2);
}

TEST_F(FieldEditor, CommaIsTheDecimalPointInFieldsWithoutComma) {
    EXPECT_EQ(run("", 6, typed("1,5") + std::vector{ENTER}, SCR::soc("0123456789.")).text, "1.5");
    EXPECT_EQ(run("", 6, typed("a,b") + std::vector{ENTER}).text, "a,b");
}

TEST_F(FieldEditor, FillShowsDotsWhileEditingAndBlanksAfter) {
    std::vector<std::string> seen;
    std::vector<int> cursor;
    con->onIdle = [&] {
        seen.push_back(field(6));
        cursor.push_back(con->whereX());
        if (seen.size() == 1) {
            con->push(keyChar('x'));  // overwrite the last character, then the cursor stands past the field
        } else {
            con->push(ENTER);
        }
    };
    con->cells[FY - 1][FX + 5 - 1].ch = '|';  // the cell after the field stays as it is
    Result r = run("ABCD", 5, {END});
    EXPECT_EQ(seen[0], "ABCD.|");
    EXPECT_EQ(cursor[0], FX + 4);
    EXPECT_EQ(seen[1], "ABCDx|");
    EXPECT_EQ(cursor[1], FX + 5);  // one column past the field's end
    EXPECT_EQ(r.text, "ABCDx");

    con->onIdle = nullptr;
    r = run("AB", 5, {ENTER});
    EXPECT_EQ(field(6), "AB   |");
    EXPECT_TRUE(con->cursorVisible());
}

// ---- Paste -------------------------------------------------------------------------------------

TEST_F(FieldEditor, PasteOfSeveralLinesKeepsTheRestForTheNextFields) {
    clip = "abcd\r\nline two\r\nline three";
    Result r = run("", 10, {CTRL_V});
    EXPECT_EQ(r.K, 99);
    EXPECT_EQ(r.text, "abcd");
    EXPECT_EQ(SCR::RESTCLIP, "line two\r\nline three");
    EXPECT_EQ(field(10), "abcd      ");
}

TEST_F(FieldEditor, PasteLongerThanTheFieldKeepsTheRest) {
    clip = "abcdefghijklmnopqrstuvwxyz0123";
    Result r = run("", 10, {keyExt(SC::INS, PLAT::MOD_SHIFT)});
    EXPECT_EQ(r.K, 99);
    EXPECT_EQ(r.text, "abcdefghij");
    EXPECT_EQ(SCR::RESTCLIP, "klmnopqrstuvwxyz0123");
}

TEST_F(FieldEditor, PasteAtTheCursorReplacesTheRestOfTheText) {
    std::string during;
    con->onIdle = [&] {
        during = field(8);
        con->push(ENTER);
    };
    clip = "xy\n";  // a single line with its line break: nothing is left over, editing goes on
    Result r = run("ABCDEF", 8, {RIGHT, RIGHT, CTRL_V, keyChar('z')});
    EXPECT_EQ(during, "ABzy....");  // the cursor did not move: "z" overwrote the pasted "x"
    EXPECT_EQ(r.text, "ABzy");
    EXPECT_EQ(r.K, 0);
    EXPECT_EQ(SCR::RESTCLIP, "");
}

TEST_F(FieldEditor, EmptyClipboardChangesNothingButEmptiesTheRest) {
    SCR::RESTCLIP = "old";
    clip = std::nullopt;
    Result r = run("ABC", 5, {RIGHT, CTRL_V, keyChar('x'), ENTER});
    EXPECT_EQ(r.text, "AxC");
    EXPECT_EQ(r.K, 0);
    EXPECT_EQ(SCR::RESTCLIP, "");
}

TEST_F(FieldEditor, ClipboardTextIsConvertedToTheCodePageAndCutAt255) {
    clip = "ΑΒΓ άέ";
    EXPECT_EQ(run("", 10, {keyExt(SC::INS, PLAT::MOD_CTRL), ENTER}).text, PLAT::gr("ΑΒΓ άέ"));

    clip = std::string(300, 'a');
    Result r = run("", 10, {keyExt(SC::INS, PLAT::MOD_ALT)});
    EXPECT_EQ(r.K, 99);
    EXPECT_EQ(SCR::RESTCLIP.size(), 245u);

    // The BIOS codes of Ctrl-Ins and Alt-Ins paste as well.
    clip = "q";
    EXPECT_EQ(run("", 10, {keyExt(146), keyExt(162), ENTER}).text, "q");
}

TEST_F(FieldEditor, TerminalPasteIsAPasteAtTheCursor) {
    Result r = run("AB", 10, {END, PLAT::pasteText(PLAT::gr("ΓΔ\rrest"))});
    EXPECT_EQ(r.K, 99);
    EXPECT_EQ(r.text, PLAT::gr("ABΓΔ"));
    EXPECT_EQ(SCR::RESTCLIP, "rest");

    SCR::RESTCLIP = "old";
    r = run("AB", 10, {PLAT::pasteText(""), ENTER});
    EXPECT_EQ(r.text, "AB");
    EXPECT_EQ(SCR::RESTCLIP, "");
}

TEST_F(FieldEditor, PasteStopsAtAFullFieldAndSkipsTheBreakAfterIt) {
    clip = "abcd\r\n\r\nnext";  // the field fills exactly at the line break; the break run is skipped
    Result r = run("", 4, {CTRL_V});
    EXPECT_EQ(r.K, 99);
    EXPECT_EQ(r.text, "abcd");
    EXPECT_EQ(SCR::RESTCLIP, "next");
}

// A paste goes through the field's characters as typing does: refused ones are dropped, with one
// bell for the whole paste.
TEST_F(FieldEditor, PasteKeepsOnlyTheCharactersTheFieldTakes) {
    struct Case {
        const char* what;
        std::string clip;
        SCR::SOC sc;
        bool terminal;
        std::string text;
        int bells;
    } cases[] = {
        {"letters in a mass box", "ABC12xyz", SCR::socDigits(), false, "12", 1},
        {"the same from the terminal", "ABC12xyz", SCR::socDigits(), true, "12", 1},
        {"a decimal comma", "1,5", SCR::soc("0123456789."), false, "1.5", 0},
        {"controls in a text box", "a\tb\x01" "c", SCR::socAll(), false, "abc", 1},
        {"everything taken", "Z9", SCR::socAll(), false, "Z9", 0},
    };
    for (const auto& c : cases) {
        const int before = con->bells;
        clip = c.clip;
        Result r = run("", 10, {c.terminal ? PLAT::pasteText(c.clip) : CTRL_V, ENTER}, c.sc);
        EXPECT_EQ(r.text, c.text) << c.what;
        EXPECT_EQ(con->bells - before, c.bells) << c.what;
    }
    // A paste of nothing the field takes leaves the text as it was.
    clip = "x";
    Result k = run("12", 5, {END, CTRL_V, ENTER}, SCR::socDigits());
    EXPECT_EQ(k.text, "12");
    // The rest for the next boxes is left to them (each holds it to its own characters).
    clip = "x1\r\nab";
    Result r = run("", 10, {CTRL_V}, SCR::socDigits());
    EXPECT_EQ(r.text, "1");
    EXPECT_EQ(SCR::RESTCLIP, "ab");
    EXPECT_TRUE(SCR::PASTEBELL);
    bool refused = false;
    EXPECT_EQ(SCR::PASTEABLE("ab\r\n12", SCR::socDigits(), refused), "\r\n12");
    EXPECT_TRUE(refused);
}

// ---- Windows Greek to code page 737 -----------------------------------------------------------

TEST(Iso437, WindowsGreekBecomesCodePage737) {
    struct Case {
        uint8_t in, out;
    } cases[] = {
        {'A', 'A'}, {'.', '.'},                 // ASCII passes
        {0xC1, 0x80}, {0xD1, 0x90},             // Α, Ρ
        {0xD3, 0x91}, {0xD9, 0x97},             // Σ, Ω
        {0xDC, 0xE1}, {0xDD, 0xE2}, {0xDE, 0xE3}, {0xDF, 0xE5},  // ά έ ή ί
        {0xE1, 0x98}, {0xF1, 0xA8},             // α, ρ
        {0xF2, 0xAA}, {0xF3, 0xA9},             // ς, σ
        {0xF4, 0xAB}, {0xF8, 0xAF}, {0xF9, 0xE0},  // τ, ψ, ω
        {0xFA, 0xE4}, {0xFB, 0xE8},             // ϊ, ϋ
        {0xFC, 0xE6}, {0xFD, 0xE7}, {0xFE, 0xE9},  // ό ύ ώ
        {0xA2, 0xEA}, {0xB8, 0xEB}, {0xB9, 0xEC}, {0xBA, 0xED},  // Ά Έ Ή Ί
        {0xBC, 0xEE}, {0xBE, 0xEF}, {0xBF, 0xF0},  // Ό Ύ Ώ
        {0xDA, 0xF4}, {0xDB, 0xF5},             // Ϊ Ϋ
        {0xE0, '?'},                            // ΰ has no place in code page 737
    };
    for (const auto& c : cases) EXPECT_EQ(SCR::ISO437(c.in), c.out) << std::hex << int(c.in);
}

// ---- The platform's clipboard reader ----------------------------------------------------------

class PlatformClipboard : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* v : {"PATH", "DISPLAY", "WAYLAND_DISPLAY"}) {
            const char* s = std::getenv(v);
            saved.emplace_back(v, s ? std::optional<std::string>(s) : std::nullopt);
        }
        setenv("PATH", work.path().c_str(), 1);
        unsetenv("DISPLAY");
        unsetenv("WAYLAND_DISPLAY");
    }
    void TearDown() override {
        for (auto& [k, v] : saved)
            if (v) setenv(k.c_str(), v->c_str(), 1);
            else unsetenv(k.c_str());
    }
    // A stand-in for a clipboard tool in PATH: prints its name and arguments, or fails.
    void tool(const std::string& name, const std::string& body) {
        std::string p = work.file(name);
        TESTS::writeFile(p, "#!/bin/sh\n" + body + "\n");
        chmod(p.c_str(), 0755);
    }
    TESTS::TempWorkDir work;
    std::vector<std::pair<std::string, std::optional<std::string>>> saved;
};

TEST_F(PlatformClipboard, ToolsAreChosenByTheDisplay) {
    tool("wl-paste", "printf 'wl %s' \"$*\"");
    tool("xclip", "printf 'x %s' \"$*\"");
    EXPECT_EQ(PLAT::readClipboard(), std::nullopt);  // no display: nothing

    setenv("DISPLAY", ":9", 1);
    EXPECT_EQ(PLAT::readClipboard(), std::optional<std::string>("x -o -selection clipboard"));

    setenv("WAYLAND_DISPLAY", "wayland-9", 1);
    EXPECT_EQ(PLAT::readClipboard(), std::optional<std::string>("wl --no-newline"));
}

TEST_F(PlatformClipboard, EmptyFailingOrMissingToolGivesNothing) {
    setenv("WAYLAND_DISPLAY", "wayland-9", 1);
    EXPECT_EQ(PLAT::readClipboard(), std::nullopt);  // no wl-paste and no X display
    setenv("DISPLAY", ":9", 1);
    tool("xclip", "printf 'from x'");
    EXPECT_EQ(PLAT::readClipboard(), std::optional<std::string>("from x"));  // wl-paste missing: X is asked
    tool("wl-paste", "echo 'Nothing is copied' >&2; exit 1");
    EXPECT_EQ(PLAT::readClipboard(), std::nullopt);
    tool("wl-paste", "exit 0");
    EXPECT_EQ(PLAT::readClipboard(), std::nullopt);
}

TEST_F(PlatformClipboard, WinclipReportsSizeWithTheTerminatingZero) {
    setenv("DISPLAY", ":9", 1);
    tool("xclip", "printf 'abc'");
    EXPECT_EQ(WINCLIP::GETTEXTWINCLIPBOARDSIZE(), 4);
    std::string p;
    int32_t n = 0;
    ASSERT_TRUE(WINCLIP::GETTEXTWINCLIPBOARDDATA(p, n));
    EXPECT_EQ(n, 4);
    EXPECT_EQ(p, std::string("abc\0", 4));
    unsetenv("DISPLAY");
    EXPECT_EQ(WINCLIP::GETTEXTWINCLIPBOARDSIZE(), 0);
    EXPECT_FALSE(WINCLIP::GETTEXTWINCLIPBOARDDATA(p, n));
}

}  // namespace
