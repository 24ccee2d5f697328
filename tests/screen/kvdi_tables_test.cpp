// The simple code tables, the dated tables, the attached documents and the text blocks on the
// headless console.
#include <gtest/gtest.h>

#include "codes/gencod.h"
#include "screen/kvdi_fixture.h"

namespace {

using namespace KVTEST;

template <class R>
std::string bytes(const R& r) {
    std::string s(R::SIZE, '\0');
    r.encode(reinterpret_cast<uint8_t*>(s.data()));
    return s;
}

void writeList(const std::string& name, const std::vector<std::string>& utf8Lines) {
    std::string out;
    for (const auto& l : utf8Lines) out += PLAT::cp737ToCp1253(gr(l.c_str())) + "\r\n";
    TESTS::writeFile(name, out);
}

class Tables : public CodeTables {
protected:
    void SetUp() override {
        CodeTables::SetUp();
        PLAT::setFixedNow(PLAT::DateTime{2009, 3, 15, 10, 0, 0, 0});
    }
};

// ---- Stored records and sizes ------------------------------------------------------------------

TEST_F(Tables, EachTableStoresItsRecordAtItsOffsetAndKeepsItsSize) {
    const std::string esc(1, char(ESC)), esc2(2, char(ESC));
    struct Case {
        const char* file;
        std::function<void()> open;
        std::function<void()> keys;  // after Down to record 2 (and the dates of a dated table)
        size_t offset;
        std::string record;
        size_t size;
        std::string leave;
    } cases[] = {
        {"XVR", [] { uint8_t k; KVDI::POL(KVDI::V02, false, k); },
         [&] { type("DE"); ch(ENTER); type("ΓΕΡΜΑΝΙΑ"); ch(ENTER); }, 26,
         bytes(KVDI::RECPOL{"DE", pad(gr("ΓΕΡΜΑΝΙΑ"), 20)}), 6240, esc},
        {"TEL", [] { uint8_t k; KVDI::TEL(KVDI::V04, false, k); },
         [&] { type("5"); ch(ENTER); type("ΤΕΛ"); ch(ENTER); type("ΠΟΛΗ"); ch(ENTER); }, 44,
         bytes(KVDI::RECTEL{5, pad(gr("ΤΕΛ"), 20), pad(gr("ΠΟΛΗ"), 20)}), 15840, esc},
        {"TRM", [] { uint8_t k; KVDI::TRM(KVDI::V06, false, k); },
         [&] { type("3"); ch(ENTER); type("ΦΟΡΤΗΓΟ"); ch(ENTER); }, 32,
         bytes(KVDI::RECTRM{3, pad(gr("ΦΟΡΤΗΓΟ"), 30)}), 7680, esc},
        {"MON", [] { uint8_t k; KVDI::MON(KVDI::V0D, false, k); },
         [&] { type("41"); ch(ENTER); type("ΚΙΛΑ"); ch(ENTER); }, 32,
         bytes(KVDI::RECMON{41, pad(gr("ΚΙΛΑ"), 30)}), 768, esc},
        {"PER", [] { uint8_t k; KVDI::PER(KVDI::V07, false, k); },
         [&] { type("ΠΡΟΤ"); ch(ENTER); type("IM"); ch(ENTER); type("40"); ch(ENTER); type("1234567"); ch(ENTER); }, 34,
         bytes(KVDI::RECPER{pad(gr("ΠΡΟΤ"), 20), "IM     ", 40, 1234567}), 1224, esc},
        {"TRP", [] { uint8_t k; KVDI::TRP(KVDI::V08, false, k); },
         [&] { type("CIF"); ch(ENTER); type("ΚΟΣΤΟΣ"); ch(ENTER); }, 35,
         bytes(KVDI::RECTRP{"CIF", pad(gr("ΚΟΣΤΟΣ"), 30)}), 840, esc},
        {"SYS", [] { uint8_t k; KVDI::SYS(KVDI::V0E, false, k); },
         [&] { type("CT"); ch(ENTER); type("ΧΑΡΤ"); ch(ENTER); }, 35,
         bytes(KVDI::RECSYS{"CT ", pad(gr("ΧΑΡΤ"), 30)}), 840, esc},
        {"PROSTH", [] { uint8_t k; KVDI::PROSTHETA(KVDI::V0F, false, k); },
         [&] { type("AB"); ch(ENTER); type("ΣΤΟΙΧΕΙΟ"); ch(ENTER); }, 38,
         bytes(KVDI::RECPROSTHETA{"AB    ", pad(gr("ΣΤΟΙΧΕΙΟ"), 30)}), 912, esc},
        {"NOM", [] { uint8_t k; KVDI::NOM(KVDI::V01, false, "", k); },
         [&] {
             type("USD"); ch(ENTER); type("ΔΟΛΑΡΙΟ"); ch(ENTER); type("USD"); ch(ENTER);
             type("1"); ch(ENTER); ch(ENTER); type("1.25"); ch(ENTER);
         },
         14 + 50, bytes(KVDI::RECNOM{"USD", pad(gr("ΔΟΛΑΡΙΟ"), 20), "USD", 1, "", "1.25"}), 1214, esc2},
        {"KAY", [] { uint8_t k; KVDI::KAY(KVDI::V00, false, "", k); },
         [&] { type("ΤΕΛΟΣ"); ch(ENTER); type("0.5"); ch(ENTER); }, 14 + 41,
         bytes(KVDI::RECKAY{pad(gr("ΤΕΛΟΣ"), 30), "0.5"}), 1982, esc2},
        {"PRE", [] { uint8_t k; KVDI::PRE(KVDI::V09, false, k); },
         [&] { type("N380"); ch(ENTER); type("ΤΙΜΟΛΟΓΙΟ"); ch(ENTER); }, 36,
         bytes(KVDI::RECPRE{"N380", pad(gr("ΤΙΜΟΛΟΓΙΟ"), 30)}), 1728, esc},
        {"SFR", [] { uint8_t k; KVDI::SFR(KVDI::V0B, false, k); },
         [&] { type("ABC"); ch(ESC); }, 8 * 80,
         [] {
             std::string s;
             for (int c = 0; c < 40; ++c) s += std::string{c < 3 ? char('A' + c) : ' ', char(15)};
             return s;
         }(),
         25600, esc},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const bool dated = c.leave.size() == 2;
        if (dated) {  // the dates: today for both
            ch(ENTER);
            ch(ENTER);
        }
        key(SC::DOWN);
        ch(ENTER);
        c.keys();
        key(SC::F1);
        run(c.open, {}, c.leave);
        const std::string f = read(c.file);
        ASSERT_EQ(f.size(), c.size);
        EXPECT_EQ(f.substr(c.offset, c.record.size()), c.record);
        if (dated) {
            EXPECT_EQ(f.substr(0, 14), pstr("150309", 6) + pstr("150309", 6));
        }
    }
    // The additional-information table was created on first opening with blank entries.
    EXPECT_EQ(read("PROSTH").substr(0, 38), bytes(KVDI::RECPROSTHETA{std::string(6, ' '), std::string(30, ' ')}));
}

// ---- Simple tables -------------------------------------------------------------------------------

TEST_F(Tables, CountryAndCustomsOfficePresets) {
    seed("XVR", {"GR|ΕΛΛΑΔΑ", "DE|ΓΕΡΜΑΝΙΑ", "IT|ΙΤΑΛΙΑ"});
    struct Case {
        const char* what;
        KVDI::RECPOL preset;
        std::string want;  // code handed back by Enter
    } cases[] = {
        {"name with trailing blanks", {"IT", gr("ΓΕΡΜ") + "   "}, "DE"},
        {"code when no name", {"IT", ""}, "IT"},
        {"the entry that comes first wins", {"GR", gr("ΙΤΑΛ")}, "GR"},
        {"four blanks and no name: entry 1", {"    ", ""}, "GR"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        KVDI::RECPOL m = c.preset;
        uint8_t KK = 9;
        ch(ENTER);
        KVDI::POL(m, true, KK);
        EXPECT_EQ(KK, 0);
        EXPECT_EQ(m.KV, c.want);
    }
    seed("TEL", {"1001|Α|ΠΕΙΡ", "2001|Β|ΘΕΣ", "1001|Γ|ΑΘΗ"});
    KVDI::RECTEL t{1001, "", ""};
    uint8_t KK = 9;
    ch(ENTER);
    KVDI::TEL(t, true, KK);
    EXPECT_EQ(t.TE, pad(gr("Γ"), 20)) << "the last entry with the number";
    t = {};
    ch(ENTER);
    KVDI::TEL(t, true, KK);
    EXPECT_EQ(t.KV, 1001) << "0 opens entry 1";
}

TEST_F(Tables, CustomsOfficeListKeepsTheTownAndF5KeepsIt) {
    seed("TEL", {"1001|ΠΕΙΡΑΙΑ|ΠΕΙΡΑΙΑΣ"});
    writeList("TELONIA.TXT", {"2001", "ΘΕΣΣΑΛΟΝΙΚΗ", "70000", "ΠΟΛΥ ΜΕΓΑΛΟΣ"});
    KVDI::RECTEL m{0, "", gr("ΠΟΛΗ")};
    uint8_t KK = 9;
    ch(TAB);
    ch(ENTER);
    KVDI::TEL(m, true, KK);
    EXPECT_EQ(KK, 0);
    EXPECT_EQ(m, (KVDI::RECTEL{2001, gr("ΘΕΣΣΑΛΟΝΙΚΗ"), gr("ΠΟΛΗ")}));
    // F5 blanks number and name, not the town.
    key(SC::F5);
    key(SC::F1);
    run([&] { KVDI::TEL(m, false, KK); });
    EXPECT_EQ(read("TEL").substr(0, 44), bytes(KVDI::RECTEL{0, std::string(20, ' '), pad(gr("ΠΕΙΡΑΙΑΣ"), 20)}));
    // Units: a list code above 255 is refused with the bell and nothing changes.
    writeList("MONMETR.TXT", {"", "300", "ΜΕΓΑΛΗ", "", ""});
    KVDI::RECMON u{7, "X"};
    ch(TAB);
    ch(ENTER);
    ch(ESC);
    KVDI::MON(u, true, KK);
    EXPECT_EQ(KK, 3);
    EXPECT_EQ(u, (KVDI::RECMON{7, "X"}));
    EXPECT_EQ(con->bells, 1);
}

TEST_F(Tables, CodesDrawWithLeadingZerosAndBlanksForZero) {
    seed("TRM", {"3|ΦΟΡΤΗΓΟ", "0|ΧΩΡΙΣ"});
    seed("TEL", {"12|Α|Β"});
    std::string r1, r2, t1;
    uint8_t KK = 0;
    run([&] { KVDI::TRM(KVDI::V06, false, KK); }, [&] {
        r1 = con->text(22, 7, 2);
        r2 = con->text(22, 8, 2);
    });
    run([&] { KVDI::TEL(KVDI::V04, false, KK); }, [&] { t1 = con->text(18, 7, 4); });
    EXPECT_EQ(r1, "03");
    EXPECT_EQ(r2, "  ");
    EXPECT_EQ(t1, "0012");
}

// ---- Currencies and per-unit rates ---------------------------------------------------------------

// A row is drawn whole: after paging, a shorter rate leaves no digit of the longer one before it.
TEST_F(Tables, CurrencyRowsAreRedrawnWholeAfterPaging) {
    std::vector<std::string> lines{"DATES|010109|311209", "JPY|ΓΙΕΝ|JPY|1|12345.678|161.03"};
    for (int i = 2; i <= 12; ++i) lines.push_back("C" + std::to_string(i) + "|Ν|XX|1||1.5");
    lines.push_back("DKK|ΚΟΡΩΝΑ|DKK|1|0.5|0.134");
    lines.push_back("@24");
    lines.push_back("EUR|ΕΥΡΩ|EUR|1||340.75");
    seed("NOM", lines);
    std::string first, second;
    int step = 0;
    con->onIdle = [&] {
        if (step == 0) {
            first = con->text(52, 7, 20);
            key(SC::PGDN);
        } else if (step == 1) {
            second = con->text(52, 7, 20);
            ch(ESC);
        }
        ++step;
    };
    KVDI::RECNOM m{"    ", "", "", 0, "", ""};  // no preset: page 1
    uint8_t KK = 9;
    KVDI::NOM(m, true, "010609", KK);
    con->onIdle = nullptr;
    EXPECT_EQ(first.substr(11, 9), "161.03000");
    EXPECT_EQ(second.substr(0, 10), "0.500000  ");
    EXPECT_EQ(second.substr(11, 9), "0.134000 ");
}

TEST_F(Tables, CurrencyPickerHonoursTheValidityDates) {
    std::vector<std::string> lines{"DATES|010109|311209"};
    for (int i = 1; i <= 23; ++i) lines.push_back("C" + std::to_string(i) + "|ΝΟΜΙΣΜΑ " + std::to_string(i) + "|XX" + std::to_string(i % 10) + "|1||1.5");
    lines.push_back("EUR|ΕΥΡΩ|EUR|1||340.75");
    seed("NOM", lines);
    struct Case {
        std::string date;
        uint8_t KK;
    } cases[] = {{"010109", 0}, {"311209", 0}, {"150609", 0}, {"311208", 3}, {"010110", 3}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.date);
        KVDI::RECNOM m{"C17", "PRIN", "", 0, "", ""};
        uint8_t KK = 9;
        std::string l22, l23;
        int cx = 0, cy = 0;
        bool done = false;
        con->onIdle = [&] {
            if (done) return;
            done = true;
            l22 = con->text(42, 22, 37);
            l23 = con->text(42, 23, 37);
            cx = con->whereX();
            cy = con->whereY();
            ch(' ');
        };
        ch(ENTER);  // the preset opens page 2, row 5: entry 17
        KVDI::NOM(m, true, c.date, KK);
        con->onIdle = nullptr;
        EXPECT_EQ(KK, c.KK);
        if (c.KK == 0) {
            EXPECT_EQ(m.NO, pad(gr("ΝΟΜΙΣΜΑ 17"), 20));
        } else {
            EXPECT_EQ(m.NO, "PRIN");
            EXPECT_EQ(l22, gr("  Οι ισοτιμίες είναι εκτός ισχύος.   "));
            EXPECT_EQ(l23, gr("     Ελέγξτε την ημερομηνία ...      "));
            EXPECT_EQ(cx, 75);
            EXPECT_EQ(cy, 23);
        }
        EXPECT_EQ(SCR::STACKPOINTER(), 0);
    }

    // Tab in the picker hands back the official code and name with units 1, whatever the dates.
    writeList("NOMISMA.TXT", {"1", "CHF", "ΦΡΑΓΚΟ ΕΛΒΕΤΙΑΣ", "", ""});
    KVDI::RECNOM m{"MINE", "", "", 0, "9", "9"};
    uint8_t KK = 9;
    ch(TAB);
    ch(ENTER);
    KVDI::NOM(m, true, "010150", KK);
    EXPECT_EQ(KK, 0);
    EXPECT_EQ(m, (KVDI::RECNOM{"MINE", gr("ΦΡΑΓΚΟ ΕΛΒΕΤΙΑΣ"), "CHF", 1, "", ""}));

    // The per-unit rates: out of the dates, silently nothing.
    seed("KAY", {"DATES|010109|311209", "ΤΕΛΟΣ|2.5"});
    KVDI::RECKAY k{"PRIN", ""};
    ch(ENTER);
    KVDI::KAY(k, true, "010110", KK);
    EXPECT_EQ(KK, 3);
    EXPECT_EQ(k.NO, "PRIN");
    ch(ENTER);
    KVDI::KAY(k, true, "010109", KK);
    EXPECT_EQ(KK, 0);
    EXPECT_EQ(k, (KVDI::RECKAY{pad(gr("ΤΕΛΟΣ"), 30), "2.5"}));
    EXPECT_EQ(con->bells, 0);
}

TEST_F(Tables, TheEuroEntryIsNeitherEditedNorBlankedButTakesAListFill) {
    seed("NOM", {"DATES|010109|311209", "@24", "EUR|ΕΥΡΩ|EUR|1|2|340.75"});
    writeList("NOMISMA.TXT", {"1", "EUA", "ΕΥΡΩ ΝΕΟ", "", ""});
    const std::string before = read("NOM").substr(14 + 23 * 50, 50);
    ch(ENTER);
    ch(ENTER);  // the dates as they are
    key(SC::PGDN);
    for (int i = 0; i < 11; ++i) key(SC::DOWN);
    ch(ENTER);
    type("XXXX");
    key(SC::F5);
    key(SC::F1);
    std::string shown;
    uint8_t KK = 0;
    run([&] { KVDI::NOM(KVDI::V01, false, "", KK); }, [&] { shown = con->text(12, 18, 4); }, std::string(2, char(ESC)));
    EXPECT_EQ(read("NOM").substr(14 + 23 * 50, 50), before);
    EXPECT_EQ(shown, "EUR ");
    // Tab with a choice: code, name and units change, the rates stay.
    ch(ENTER);
    ch(ENTER);
    key(SC::PGDN);
    for (int i = 0; i < 11; ++i) key(SC::DOWN);
    ch(TAB);
    ch(ENTER);
    key(SC::F1);
    run([&] { KVDI::NOM(KVDI::V01, false, "", KK); }, {}, std::string(2, char(ESC)));
    EXPECT_EQ(read("NOM").substr(14 + 23 * 50, 50), bytes(KVDI::RECNOM{"EUR", pad(gr("ΕΥΡΩ ΝΕΟ"), 20), "EUA", 1, "2", "340.75"}));
}

TEST_F(Tables, CurrencyRowShowsUnitsAndRates) {
    seed("NOM", {"DATES|010109|311209", "USD|ΔΟΛΑΡΙΟ|USD|7|0|1.25", "GBP|ΛΙΡΑ|GBP|0|x|"});
    std::string mo1, mo2, is1, ig2, from, to;
    uint8_t KK = 0;
    run([&] { KVDI::NOM(KVDI::V01, false, "", KK); }, [&] {
        mo1 = con->text(45, 7, 3);
        mo2 = con->text(45, 8, 3);
        is1 = con->text(63, 7, 8);
        ig2 = con->text(52, 8, 8);
        from = con->text(22, 19, 9);
        to = con->text(36, 19, 9);
    });
    EXPECT_EQ(mo1, "  7");
    EXPECT_EQ(mo2, "   ");
    EXPECT_EQ(is1, "1.250000");
    EXPECT_EQ(ig2, "        ") << "a rate that is no number shows blank";
    EXPECT_EQ(from, "010109 " + gr("Πε"));
    EXPECT_EQ(to, "311209 " + gr("Πε"));
}

TEST_F(Tables, DatesAcceptedUnchangedWriteNothingChangedWriteOnF1) {
    seed("KAY", {"DATES|010109|311209", "ΤΕΛΟΣ|2.5"});
    const FileId id = fileId(dat("KAY"));
    ch(ENTER);
    ch(ENTER);
    key(SC::F1);
    uint8_t KK = 0;
    run([&] { KVDI::KAY(KVDI::V00, false, "", KK); }, {}, std::string(2, char(ESC)));
    EXPECT_TRUE(sameFile(fileId(dat("KAY")), id));
    // A new "to" date is written with F1.
    ch(ENTER);
    ch(CTRL_Y);
    type("2010");
    ch(ENTER);
    key(SC::F1);
    run([&] { KVDI::KAY(KVDI::V00, false, "", KK); }, {}, std::string(2, char(ESC)));
    EXPECT_EQ(read("KAY").substr(0, 14), pstr("010109", 6) + pstr("311210", 6));
}

TEST_F(Tables, RowChangesBeforeGoingBackToTheDatesAreStoredByALaterF1) {
    // A rate changed, Esc back to the dates, the same dates accepted, F1: the changed rate is
    // on screen and in the file.
    seed("KAY", {"DATES|010109|311209", "ΤΕΛΟΣ|2.5"});
    ch(ENTER);
    ch(ENTER);  // the dates as they are
    ch(ENTER);  // row 1
    ch(ENTER);  // its name as it is
    ch(CTRL_Y);
    type("7.25");
    ch(ENTER);
    ch(ESC);  // back to the dates
    ch(ENTER);
    ch(ENTER);
    key(SC::F1);
    uint8_t KK = 0;
    run([&] { KVDI::KAY(KVDI::V00, false, "", KK); }, {}, std::string(2, char(ESC)));
    const std::string f = read("KAY");
    ASSERT_EQ(f.size(), KVDI::F_KAY.size);
    EXPECT_EQ(KVDI::RECKAY::decode(reinterpret_cast<const uint8_t*>(f.data()) + 14).IS, "7.25");
    EXPECT_EQ(f.substr(0, 14), pstr("010109", 6) + pstr("311209", 6));
}

// ---- Attached documents --------------------------------------------------------------------------

TEST_F(Tables, AttachedDocumentsMarksInOrder) {
    std::vector<std::string> lines;
    for (int i = 1; i <= 12; ++i) lines.push_back("D" + std::to_string(i) + "|ΕΓΓΡΑΦΟ " + std::to_string(i));
    seed("PRE", lines);
    auto markRow = [&](int row) {  // 1-based rows of page 1, from the top
        key(SC::PGUP);
        for (int i = 0; i < 11; ++i) key(SC::UP);
        for (int i = 1; i < row; ++i) key(SC::DOWN);
        ch(' ');
    };
    auto doc = [](int n) { return std::pair{pad("D" + std::to_string(n), 4), pad(gr(("ΕΓΓΡΑΦΟ " + std::to_string(n)).c_str()), 30)}; };
    // Rows 5, 2, 9 in that order.
    markRow(5);
    markRow(2);
    markRow(9);
    ch(ENTER);
    KVDI::RECPREB m;
    m.KV[1] = "OLD";
    uint8_t KK = 9;
    KVDI::PRE(m, true, KK);
    EXPECT_EQ(KK, 0);
    for (auto [slot, n] : {std::pair{1, 5}, {2, 2}, {3, 9}}) {
        EXPECT_EQ(m.KV[size_t(slot)], doc(n).first);
        EXPECT_EQ(m.EE[size_t(slot)], doc(n).second);
    }
    for (int s = 4; s <= 8; ++s) EXPECT_TRUE(m.KV[size_t(s)].empty() && m.EE[size_t(s)].empty()) << s;

    // Nine marks: the ninth replaces the first; one row marked twice fills two slots.
    for (int r = 1; r <= 8; ++r) markRow(r);
    markRow(10);
    ch(ENTER);
    KVDI::PRE(m, true, KK);
    EXPECT_EQ(m.KV[1], doc(10).first);
    EXPECT_EQ(m.KV[2], doc(2).first);
    EXPECT_EQ(m.KV[8], doc(8).first);
    markRow(3);
    markRow(3);
    ch(ENTER);
    KVDI::PRE(m, true, KK);
    EXPECT_EQ(m.KV[1], doc(3).first);
    EXPECT_EQ(m.KV[2], doc(3).first);

    // Marks are painted green and survive paging; Esc hands back empty slots.
    markRow(4);
    key(SC::DOWN);
    key(SC::DOWN);
    key(SC::PGDN);
    key(SC::PGUP);
    uint8_t at4 = 0, at5 = 0;
    bool done = false;
    con->onIdle = [&] {
        if (done) return;
        done = true;
        at4 = con->attr(30, 10);
        at5 = con->attr(30, 11);
        ch(ESC);
    };
    KVDI::PRE(m, true, KK);
    con->onIdle = nullptr;
    EXPECT_EQ(at4, 0x2E);
    EXPECT_EQ(at5, 0x0E);
    EXPECT_EQ(KK, 3);
    EXPECT_EQ(m, KVDI::RECPREB{});
}

// ---- Text blocks ---------------------------------------------------------------------------------

TEST_F(Tables, TextBlocksF5F1AndAPick) {
    // Block 13 (page 2, row 3): typed, stored; then blanked with F5 and stored again.
    key(SC::PGDN);
    key(SC::DOWN);
    key(SC::DOWN);
    ch(ENTER);
    type("ΚΕΙΜΕΝΟ");
    ch(ENTER);
    type("ΔΕΥΤΕΡΗ");
    ch(ESC);
    key(SC::F1);
    uint8_t KK = 0;
    run([&] { KVDI::SFR(KVDI::V0B, false, KK); });
    const size_t b13 = size_t(12 * 8) * 80;
    std::string f = read("SFR");
    ASSERT_EQ(f.size(), 25600u);
    EXPECT_EQ(f[b13], char(gr("Κ")[0]));
    EXPECT_EQ(f[b13 + 80], char(gr("Δ")[0]));

    // The pick copies 40 cells of each row; the caller's cells 41..50 stay.
    KVDI::RECSFR m;
    for (auto& row : m.ME) row[45] = {'Z', 0x21};
    key(SC::PGDN);
    key(SC::DOWN);
    key(SC::DOWN);
    ch(ENTER);
    KVDI::SFR(m, true, KK);
    EXPECT_EQ(KK, 0);
    EXPECT_EQ(m.ME[0][0].ch, uint8_t(gr("Κ")[0]));
    EXPECT_EQ(m.ME[1][0].ch, uint8_t(gr("Δ")[0]));
    EXPECT_EQ(m.ME[0][39], (PLAT::Cell{' ', 15}));
    EXPECT_EQ(m.ME[7][45], (PLAT::Cell{'Z', 0x21}));

    key(SC::PGDN);
    key(SC::DOWN);
    key(SC::DOWN);
    key(SC::F5);
    key(SC::F1);
    run([&] { KVDI::SFR(KVDI::V0B, false, KK); });
    f = read("SFR");
    std::string blank;
    for (int i = 0; i < 320; ++i) blank += std::string{' ', char(15)};
    EXPECT_EQ(f.substr(b13, 640), blank);
}

}  // namespace

// The maintenance legend of a table with an official list holds six keys: every one reads whole on
// row 25, the store and delete keys with short captions; a legend that fits keeps its captions.
TEST_F(Tables, MaintenanceLegendsReadWhole) {
    const std::string arrow(1, char(26));
    struct C {
        const char* name;
        std::function<void(uint8_t&)> open;
        std::vector<std::string> keys;
    };
    const C cases[] = {
        {"NOM", [](uint8_t& k) { KVDI::NOM(KVDI::V01, false, "", k); },
         {"ESC" + arrow + gr("Εξοδος"), "F1" + arrow + gr("Καταχ."), "TAB" + arrow + gr("Αρχείο ΓΓΠΣ"),
          "F5" + arrow + gr("Διαγρ."), "Enter" + arrow + gr("Μεταβολή")}},
        {"KAY", [](uint8_t& k) { KVDI::KAY(KVDI::V00, false, "", k); },
         {"F1" + arrow + gr("Καταχώρηση"), "Enter" + arrow + gr("Μεταβολή")}},
    };
    for (const C& c : cases) {
        SCOPED_TRACE(c.name);
        seed(c.name, {"DATES|010109|311209"});
        ch(ENTER);
        ch(ENTER);  // the dates as they are: the rows and their legend
        std::string legend;
        uint8_t KK = 0;
        run([&] { c.open(KK); }, [&] { legend = con->text(25); }, std::string(2, char(ESC)));
        for (const std::string& k : c.keys) EXPECT_NE(legend.find(k), std::string::npos) << legend;
        EXPECT_EQ(legend.back(), ' ') << "nothing runs into the last column";
    }
}
