#include "platform/keydecode.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

using namespace PLAT;

namespace {

std::string describe(const std::vector<Event>& evs) {
    std::string s;
    char b[64];
    for (const Event& e : evs) {
        if (!s.empty()) s += ' ';
        switch (e.type) {
        case Event::KEY:
            if (e.key.ch) std::snprintf(b, sizeof b, "ch%d/%d", e.key.ch, e.key.mods);
            else std::snprintf(b, sizeof b, "ext%d/%d", e.key.scan, e.key.mods);
            s += b;
            break;
        case Event::MOUSE:
            std::snprintf(b, sizeof b, "mouse%d,%d@%d,%d", e.mouse.action, e.mouse.button, e.mouse.x, e.mouse.y);
            s += b;
            break;
        case Event::PASTE:
            s += "paste[";
            for (unsigned char c : e.paste) {
                std::snprintf(b, sizeof b, "%02X", c);
                s += b;
            }
            s += ']';
            break;
        case Event::NONE: s += "none"; break;
        }
    }
    return s;
}

struct Case {
    const char* name;
    std::vector<std::string> reads;  // the Esc pause passes after each read
    std::vector<Event> want;
};

Event ch(int c) { return keyChar(uint8_t(c)); }
Event ext(int scan, int mods = 0) { return keyExt(uint8_t(scan), uint8_t(mods)); }
constexpr int S = MOD_SHIFT, C = MOD_CTRL, A = MOD_ALT;
const std::string E = "\x1b";

const std::vector<Case>& cases() {
    static const std::vector<Case> t = {
        {"plain ASCII", {"aZ1 ~"}, {ch('a'), ch('Z'), ch('1'), ch(' '), ch('~')}},
        {"Enter CR and LF", {"\r\n"}, {ch(13), ch(13)}},
        {"Backspace DEL and BS", {"\x7f\x08"}, {ch(8), ch(8)}},
        {"control keys as themselves", {std::string("\t\x02\x16\x19\x1a\x01\x03", 7)},
         {ch(9), ch(2), ch(22), ch(25), ch(26), ch(1), ch(3)}},
        {"NUL dropped", {std::string("\0x", 2)}, {ch('x')}},
        {"Greek UTF-8 to CP737", {"αΑωάψ"}, {ch(0x98), ch(0x80), ch(0xE0), ch(0xE1), ch(0xAF)}},
        {"character outside CP737 dropped", {"é€x"}, {ch('x')}},
        {"stray UTF-8 bytes dropped", {"\x80\xff\xc3x"}, {ch('x')}},

        {"F1-F4 SS3", {E + "OP" + E + "OQ" + E + "OR" + E + "OS"}, {ext(59), ext(60), ext(61), ext(62)}},
        {"F1-F4 rxvt", {E + "[11~" + E + "[12~" + E + "[13~" + E + "[14~"}, {ext(59), ext(60), ext(61), ext(62)}},
        {"F5-F10", {E + "[15~" + E + "[17~" + E + "[18~" + E + "[19~" + E + "[20~" + E + "[21~"},
         {ext(63), ext(64), ext(65), ext(66), ext(67), ext(68)}},
        {"F11 F12 / Linux Shift-F1 F2", {E + "[23~" + E + "[24~"}, {ext(84, S), ext(85, S)}},
        {"Linux console F1-F5", {E + "[[A" + E + "[[B" + E + "[[C" + E + "[[D" + E + "[[E"},
         {ext(59), ext(60), ext(61), ext(62), ext(63)}},
        {"Shift-F keys", {E + "[1;2P" + E + "[1;2Q" + E + "[1;2S" + E + "[19;2~" + E + "[20;2~" + E + "[21;2~"},
         {ext(84, S), ext(85, S), ext(87, S), ext(91, S), ext(92, S), ext(93, S)}},
        {"Ctrl-F keys", {E + "[1;5Q" + E + "[1;5R" + E + "[15;5~"}, {ext(95, C), ext(96, C), ext(98, C)}},
        {"Alt-F keys, Alt before Ctrl", {E + "[1;3P" + E + "[1;3Q" + E + "[21;3~" + E + "[1;7P"},
         {ext(104, A), ext(105, A), ext(113, A), ext(104, A | C)}},
        {"old xterm modifier after O", {E + "O2P" + E + "O5A"}, {ext(84, S), ext(72, C)}},

        {"arrows CSI and SS3", {E + "[A" + E + "OA" + E + "[B" + E + "[C" + E + "[D" + E + "OD"},
         {ext(72), ext(72), ext(80), ext(77), ext(75), ext(75)}},
        {"arrows with modifiers", {E + "[1;5A" + E + "[1;2D"}, {ext(72, C), ext(75, S)}},
        {"Home variants", {E + "[H" + E + "[1~" + E + "OH" + E + "[7~"}, {ext(71), ext(71), ext(71), ext(71)}},
        {"End variants", {E + "[F" + E + "[4~" + E + "OF" + E + "[8~"}, {ext(79), ext(79), ext(79), ext(79)}},
        {"Ins with modifiers, Del, PgUp, PgDn",
         {E + "[2~" + E + "[2;2~" + E + "[2;5~" + E + "[2;3~" + E + "[3~" + E + "[5~" + E + "[6~"},
         {ext(82), ext(82, S), ext(82, C), ext(82, A), ext(83), ext(73), ext(81)}},
        {"keypad Enter", {E + "OM"}, {ch(13)}},

        {"lone Esc after the pause", {E}, {ch(27)}},
        {"Esc twice", {E + E}, {ch(27), ch(27)}},
        {"Esc, pause, then text", {E, "[A"}, {ch(27), ch('['), ch('A')}},
        {"Alt-C as Esc c / Esc C", {E + "c" + E + "C"}, {ext(46, A), ext(46, A)}},
        {"Alt-C on the Greek layout", {E + "ψ" + E + "Ψ"}, {ext(46, A), ext(46, A)}},
        {"Alt-C as 8-bit meta", {"\xe3", "\xe3x"}, {ext(46, A), ext(46, A), ch('x')}},
        {"E3 leading a real character is not Alt-C", {"\xe3\x80\x80y"}, {ch('y')}},
        {"other Alt letters and digits as DOS scan codes", {E + "x" + E + "1" + E + "0"},
         {ext(45, A), ext(120, A), ext(129, A)}},
        {"Alt with other keys swallowed", {E + "." + E + "\r" + E + "α" + "z"}, {ch('z')}},

        {"unknown CSI swallowed", {E + "[99~x" + E + "[?1;2c" + E + "[Zy" + E + "[3;5;7Hq"},
         {ch('x'), ch('y'), ch('q')}},
        {"unknown SS3 swallowed", {E + "Ox" + E + "O;;;k" + "m"}, {ch('m')}},
        {"unfinished CSI dropped at the pause", {E + "[1;", "x"}, {ch('x')}},
        {"broken CSI rereads the byte", {E + "[1;\r" + E + "[2" + E + "[A"}, {ch(13), ext(72)}},
        {"overlong CSI swallowed whole", {E + "[" + std::string(200, '1') + "~z"}, {ch('z')}},

        {"mouse left press and release", {E + "[<0;10;5M" + E + "[<0;10;5m"},
         {mouse(MouseEvent::PRESS, MouseEvent::LEFT, 9, 4), mouse(MouseEvent::RELEASE, MouseEvent::LEFT, 9, 4)}},
        {"mouse right and middle", {E + "[<2;1;1M" + E + "[<1;80;25M"},
         {mouse(MouseEvent::PRESS, MouseEvent::RIGHT, 0, 0), mouse(MouseEvent::PRESS, MouseEvent::MIDDLE, 79, 24)}},
        {"mouse drag", {E + "[<32;7;8M"}, {mouse(MouseEvent::DRAG, MouseEvent::LEFT, 6, 7)}},
        {"mouse with Ctrl still a press", {E + "[<16;2;3M"}, {mouse(MouseEvent::PRESS, MouseEvent::LEFT, 1, 2)}},
        {"wheel, buttonless motion and bad positions ignored",
         {E + "[<64;3;3M" + E + "[<65;3;3M" + E + "[<35;3;3M" + E + "[<0;0;5M" + E + "[<0;5M" + "w"},
         {ch('w')}},

        {"bracketed paste to CP737, CR LF kept", {E + "[200~αβ\r\nxy" + E + "[201~k"},
         {pasteText("\x98\x99\r\nxy"), ch('k')}},
        {"paste holding Esc bytes", {E + "[200~a" + E + "b" + E + "[20" + E + "[201~"}, {pasteText("a\x1b" "b\x1b[20")}},
        {"paste not ended by a pause", {E + "[200~ab", "cd" + E + "[201~"}, {pasteText("abcd")}},
        {"empty paste", {E + "[200~" + E + "[201~"}, {pasteText("")}},
        {"stray paste end swallowed", {E + "[201~q"}, {ch('q')}},
    };
    return t;
}

std::vector<Event> run(const Case& c, bool byteByByte) {
    KeyDecoder d;
    std::vector<Event> got;
    Event ev;
    for (const std::string& r : c.reads) {
        if (byteByByte) {
            for (char b : r) d.feed(&b, 1);
        } else {
            d.feed(r);
        }
        d.timeout();
    }
    while (d.next(ev)) got.push_back(ev);
    return got;
}

TEST(KeyDecode, Table) {
    for (const Case& c : cases()) {
        EXPECT_EQ(describe(run(c, false)), describe(c.want)) << c.name;
        EXPECT_EQ(describe(run(c, true)), describe(c.want)) << c.name << " (one byte per read)";
    }
}

TEST(KeyDecode, WaitsOnlyInsideASequence) {
    KeyDecoder d;
    Event ev;
    d.feed("\x1b");
    EXPECT_TRUE(d.waiting());
    EXPECT_FALSE(d.next(ev));  // the lone Esc is not decided before the pause
    d.feed("[1;5");
    EXPECT_TRUE(d.waiting());
    d.feed("A");
    EXPECT_FALSE(d.waiting());
    ASSERT_TRUE(d.next(ev));
    EXPECT_EQ(ev, keyExt(SC::UP, MOD_CTRL));
    d.feed("\x1b[200~abc");
    EXPECT_FALSE(d.waiting());  // a paste is never cut by the pause
    d.feed("\x1b[201~\xce");
    EXPECT_TRUE(d.waiting());
}

}  // namespace
