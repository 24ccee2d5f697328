// The invoice editor on the headless console with today fixed: the proposed number and its claim,
// the busy screen, dates, the customer name, the credit-note title, the question before a change
// is lost, and a document stored and loaded again.
#include <gtest/gtest.h>

#include <cmath>
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>

#include "common/umas.h"
#include "config/params.h"
#include "helpers/fixture.h"
#include "helpers/invoices.h"
#include "invoicing/apodi.h"
#include "invoicing/tim.h"
#include "platform/clock.h"
#include "platform/codec.h"
#include "platform/codepage.h"
#include "platform/files.h"
#include "platform/oslock.h"
#include "screen/scr.h"

using PLAT::gr;
namespace SC = PLAT::SC;

namespace {

class InvoiceEditor : public TESTS::Installation {
protected:
    void SetUp() override {
        Installation::SetUp();
        install(TESTS::companies(1));
        PLAT::setFixedNow(PLAT::DateTime{2026, 12, 10, 10, 0, 0, 0});
        UMAS::EURO = 340.75;
        PARAMS::PARTIM1 = {};
        PARAMS::PARTIM1[1] = gr("_ΑΜΟΙΒΗ");
        PARAMS::PARTIM1[2] = gr("ΕΞΟΔΑ");
        PARAMS::PARTIM1[18] = gr("ΛΟΙΠΑ=24");
        PARAMS::PARTIM3 = {};
        TIM0::SEIRA.clear();
    }
    void TearDown() override {
        PLAT::setFixedNow(std::nullopt);
        UMAS::EURO = 0;
        Installation::TearDown();
    }
    std::string file(const std::string& n) const { return company(0) + "/" + n; }
    std::string bytes(const std::string& n) const { return TESTS::readFile(file(n)); }
    TIM0::RTIM record(size_t r) const {
        std::string b = bytes("TM.DAT");
        return TIM0::RTIM::decode(reinterpret_cast<const uint8_t*>(b.data()) + r * TIM0::RTIM::SIZE);
    }
    uint16_t indexEntry(size_t n) const {
        std::string b = bytes("TI.DAT");
        return PLAT::getW(reinterpret_cast<const uint8_t*>(b.data()) + 2 * n);
    }

    // Steps run one after another whenever the editor waits with nothing scripted.
    void stages(std::vector<std::function<void()>> s) {
        auto list = std::make_shared<std::deque<std::function<void()>>>(s.begin(), s.end());
        con->onIdle = [list] {
            if (list->empty()) return;
            auto f = list->front();
            list->pop_front();
            f();
        };
    }
    void enter() { con->ch(13); }
    void esc() { con->ch(27); }
    void up() { con->key(SC::UP); }
    void clear() { con->ch(25); }
    void typed(const char* utf8) { con->keys(gr(utf8)); }
    std::string at(int x, int y, int n) const { return PLAT::cp737ToUtf8(con->text(x, y, n)); }

    void run(uint8_t kind = 0) {
        TIM::TIMO(kind);
        EXPECT_EQ(con->pending(), 0u);
        EXPECT_EQ(SCR::STACKPOINTER(), 0);
    }

    // Number (the proposal), date (today), declaration (none), the customer by the first letters
    // and its confirmation: the cursor is then on the reference text of line 1.
    void toLine1(const char* customer) {
        enter();
        enter();
        enter();
        typed(customer);
        enter();
        enter();
    }
};

TEST_F(InvoiceEditor, NewInvoiceStoredAndLoadedAgain) {
    const uint16_t pr = TESTS::addCustomer("Παπαδοπουλος Α.Ε.");
    toLine1("παπ");
    enter();
    typed("100");
    enter();
    enter();
    typed("50");
    enter();
    con->key(SC::F1);
    std::string shown;
    stages({[&] {
        shown = con->dump();
        EXPECT_EQ(at(20, 2, 5), "1....");  // the number field is being edited
        EXPECT_EQ(at(69, 5, 10), "    100.00");
        EXPECT_EQ(at(69, 6, 10), "     50.00");
        EXPECT_EQ(at(69, 23, 10), "     24.00");
        EXPECT_EQ(at(69, 24, 10), "    174.00");
        EXPECT_EQ(at(57, 24, 7), " ΕΥΡΩ  ");
        EXPECT_EQ(at(39, 2, 17), "ΠΑΠΑΔΟΠΟΥΛΟΣ Α.Ε.");
        // The number is claimed while it is open.
        EXPECT_NE(bytes("NUTI.DAT").find("1     "), std::string::npos);
        esc();
    }});
    run();
    ASSERT_EQ(bytes("TM.DAT").size(), TIM0::RTIM::SIZE) << shown;
    const TIM0::RTIM r = record(0);
    EXPECT_EQ(r.TM, "1     ");
    EXPECT_EQ(r.HM, "101226");
    EXPECT_EQ(r.PR, pr);
    EXPECT_EQ(r.XR[1], 10000);
    EXPECT_EQ(r.XR[2], 5000);
    EXPECT_EQ(r.FF[1], 24);
    EXPECT_EQ(TESTS::customerXR(pr), int32_t(std::nearbyint(174 * 340.75)));
    // Leaving released the claim.
    EXPECT_EQ(bytes("NUTI.DAT").find("1     "), std::string::npos);

    // Opened again by its number: the same lines and total.
    clear();
    typed("1");
    enter();
    stages({[&] {
        EXPECT_EQ(at(69, 5, 10), "    100.00");
        EXPECT_EQ(at(69, 6, 10), "     50.00");
        EXPECT_EQ(at(69, 24, 10), "    174.00");
        EXPECT_EQ(at(16, 3, 6), "101226");
        esc();
    }});
    run();
    EXPECT_EQ(bytes("TM.DAT").size(), TIM0::RTIM::SIZE);
    EXPECT_EQ(TESTS::customerXR(pr), int32_t(std::nearbyint(174 * 340.75)));
}

TEST_F(InvoiceEditor, ANumberOpenOnAnotherWorkstationShowsTheBusyScreen) {
    // Another workstation holds number 1: its slot written and held the way a live claim holds it
    // (a lock on the slot's bytes through a file of its own).
    {
        std::string img(4 * 7, '\0');
        img[0] = 6;
        img.replace(1, 6, "1     ");
        PLAT::File f(UMAS::PATH + "NUTI.DAT", PLAT::File::CREATE);
        f.writeAt(0, img.data(), img.size());
    }
    PLAT::File other(UMAS::PATH + "NUTI.DAT", PLAT::File::READWRITE);
    ASSERT_TRUE(PLAT::tryLockRange(other.handle(), 0, 7));
    enter();
    std::string busy, after;
    stages({[&] {
                busy = con->dump();
                esc();
            },
            [&] {
                after = at(20, 2, 5);
                esc();
            }});
    run();
    EXPECT_NE(busy.find("σε άλλο σταθμό εργασίας"), std::string::npos) << busy;
    EXPECT_EQ(after, ".....");  // the number field again, empty
}

TEST_F(InvoiceEditor, DateCompletionAndRefusal) {
    enter();
    clear();
    typed("12345");
    enter();
    clear();
    typed("150150");
    enter();
    std::string refused;
    stages({[&] {
                refused = at(16, 3, 6);
                clear();
                typed("5");
                enter();
            },
            [&] {
                EXPECT_EQ(at(16, 3, 6), "051226");
                EXPECT_EQ(at(23, 3, 2), PLAT::cp737ToUtf8(UMAS::WE[6]));  // 5 December 2026, a Saturday
                esc();
            }});
    run();
    EXPECT_EQ(refused, "101226");
    EXPECT_EQ(con->bells, 2);
}

TEST_F(InvoiceEditor, ATypedNameIsFoldedToCapitalsWithFinalSigma) {
    const uint16_t kostas = TESTS::addCustomer("ΚΩΣΤΑΣ");
    TESTS::addCustomer("ΛΑΜΠΡΟΥ");
    enter();
    enter();
    enter();
    typed("κωστας");
    enter();
    stages({[&] {
        EXPECT_EQ(at(39, 2, 6), "ΚΩΣΤΑΣ");
        EXPECT_EQ(APODI::PR, kostas);
        esc();
        con->ch('O');  // do not store
    }});
    run();
    EXPECT_EQ(bytes("TM.DAT").size(), 0u);
}

TEST_F(InvoiceEditor, CreditNoteTitle) {
    std::string title;
    uint8_t a1 = 0, a2 = 0;
    stages({[&] {
        title = at(27, 1, 27);
        a1 = con->attr(26, 2);
        a2 = con->attr(2, 4);
        esc();
    }});
    run(2);
    EXPECT_EQ(title, "    ΠΙΣΤΩΤΙΚΟ ΤΙΜΟΛΟΓΙΟ    ");
    EXPECT_EQ(a1, 0x2F);
    EXPECT_EQ(a2, 0x2F);
}

TEST_F(InvoiceEditor, LeavingAChangedDocumentAsks) {
    TESTS::addCustomer("ΠΑΠΑΔΟΠΟΥΛΟΣ");
    struct Case {
        char answer;
        size_t records;
    } cases[] = {{'O', 0}, {'N', 1}};
    for (const auto& c : cases) {
        toLine1("π");
        enter();
        typed("10");
        enter();
        esc();
        std::string question;
        stages({[&] {
            question = con->dump();
            con->ch(uint8_t(c.answer));
        }});
        run();
        EXPECT_NE(question.find("Καταχώρηση αλλαγών"), std::string::npos) << question;
        EXPECT_EQ(bytes("TM.DAT").size(), c.records * TIM0::RTIM::SIZE) << c.answer;
    }
}

TEST_F(InvoiceEditor, MovingToAnotherNumberStoresTheOldDocumentUnderItsOwnNumber) {
    TESTS::addCustomer("ΠΑΠΑΔΟΠΟΥΛΟΣ");
    toLine1("π");
    enter();
    typed("10");
    // Back to the number field: amount, reference, name, declaration, date, number.
    for (int i = 0; i < 5; ++i) up();
    clear();
    typed("2");
    enter();
    con->ch('N');
    stages({[&] {
        EXPECT_EQ(at(16, 3, 6), "101226");
        EXPECT_EQ(at(69, 5, 10), "          ");
        esc();
    }});
    run();
    ASSERT_EQ(bytes("TM.DAT").size(), TIM0::RTIM::SIZE);
    EXPECT_EQ(indexEntry(1), 0);
    EXPECT_EQ(indexEntry(2), 65000);
    EXPECT_EQ(record(0).TM, "1     ");
    EXPECT_EQ(record(0).XR[1], 1000);
    const std::string nuti = bytes("NUTI.DAT");
    EXPECT_EQ(nuti.find("1     "), std::string::npos);
    EXPECT_EQ(nuti.find("2     "), std::string::npos);
}

// With a file of the store missing, every way a document is stored refuses it whole and keeps it
// on screen: F1, Shift-F1 (which stores before it prints, and then prints nothing), another number
// with the store answered yes (the number goes back), and leaving with the store answered yes (the
// editor stays). Only "No" to the question lets it go. The company folder is never written.
TEST_F(InvoiceEditor, ARefusedStoreKeepsTheDocumentOnScreen) {
    TESTS::addCustomer("ΠΑΠΑΔΟΠΟΥΛΟΣ");
    std::filesystem::remove(file("TH.DAT"));
    auto folder = [&] { return TESTS::folderFiles(company(0), true); };
    const auto before = folder();
    toLine1("π");
    enter();
    typed("10");
    enter();
    con->key(SC::F1);
    const std::string refusal = UMAS::padTo(gr(" ΑΡΧΕΙΟ TH.DAT ΔΕΝ ΥΠΑΡΧΕΙ."), 36);
    std::vector<std::string> notices;
    auto notice = [&] {
        notices.push_back(con->text(3, 22, 36));
        esc();
    };
    auto documentShown = [&](const char* when) {
        EXPECT_EQ(at(20, 2, 5), "1....") << when;
        EXPECT_EQ(at(39, 2, 12), "ΠΑΠΑΔΟΠΟΥΛΟΣ") << when;
        EXPECT_EQ(at(69, 5, 10), "     10.00") << when;
        EXPECT_EQ(at(69, 24, 10), "     12.40") << when;
    };
    stages({
        notice,  // F1
        [&] {
            documentShown("after F1");
            // Number, date, declaration, the name looked up and confirmed: line 1, where Shift-F1
            // prints.
            for (int i = 0; i < 5; ++i) enter();
            con->key(SC::F1, PLAT::MOD_SHIFT);
        },
        [&] { esc(); },  // the detail lines
        notice,          // the store before printing
        notice,          // the print: the document is not stored
        [&] {
            for (int i = 0; i < 4; ++i) up();  // name, declaration, date, number
            clear();
            typed("2");
            enter();
            con->ch('N');  // store the document on screen first
        },
        notice,
        [&] {
            documentShown("after another number");
            esc();
            con->ch('N');
        },
        notice,
        [&] {
            documentShown("after leaving");
            esc();
            con->ch('O');
        },
    });
    run();
    ASSERT_EQ(notices.size(), 5u);
    EXPECT_EQ(notices[0], refusal);
    EXPECT_EQ(notices[1], refusal);
    EXPECT_EQ(notices[2], UMAS::padTo(gr(" ΤΟ ΠΑΡΑΣΤΑΤΙΚΟ ΔΕΝ ΚΑΤΑΧΩΡΗΘΗΚΕ."), 36));
    EXPECT_EQ(notices[3], refusal);
    EXPECT_EQ(notices[4], refusal);
    EXPECT_EQ(folder(), before);
    EXPECT_TRUE(TESTS::readFile("drives/ports/LPT1").empty());
    EXPECT_EQ(bytes("NUTI.DAT").find("1     "), std::string::npos);
    EXPECT_EQ(bytes("NUTI.DAT").find("2     "), std::string::npos);
}

// A missing table of item headings (at the company choice) or print layout is told on the message
// bar of row 23 when the editor opens, and the layout again when a document is to be printed,
// before it is stored: the parameter service's own line, until a key, which goes to nothing else.
TEST_F(InvoiceEditor, MissingHeadingsAndLayoutAreToldBeforeTheDocumentIsStoredOrPrinted) {
    TESTS::addCustomer("ΠΑΠΑΔΟΠΟΥΛΟΣ");
    PARAMS::PARTIM1MISSING = true;
    std::filesystem::remove(file("PARTIM4.dat"));
    const std::string path = UMAS::PATH;
    std::vector<std::string> bars;
    size_t recordsAtPrintNotice = 99;
    auto bar = [&](char key) {
        return [&, key] {
            bars.push_back(con->text(1, 23, 80));
            con->ch(uint8_t(key));
        };
    };
    stages({
        bar('7'),  // the headings: the key does not reach the number field
        bar('7'),  // the layout
        [&] {
            EXPECT_EQ(at(20, 2, 5), "1....");
            toLine1("π");
            enter();
            typed("10");
            enter();
            con->key(SC::F1, PLAT::MOD_SHIFT);
        },
        [&] { esc(); },  // the detail lines
        [&] {
            recordsAtPrintNotice = bytes("TM.DAT").size() / TIM0::RTIM::SIZE;
            bar(' ')();
        },
        [&] { con->ch('O'); },  // the print question: no
        [&] { esc(); },
    });
    run();
    PARAMS::PARTIM1MISSING = false;
    ASSERT_EQ(bars.size(), 3u);
    auto shows = [&](const std::string& row, const std::string& table) {
        return row.find("file not found " + path + table + ".dat call VALTERO") != std::string::npos;
    };
    EXPECT_TRUE(shows(bars[0], "PARTIM1")) << bars[0];
    EXPECT_TRUE(shows(bars[1], "PARTIM4")) << bars[1];
    EXPECT_TRUE(shows(bars[2], "PARTIM4")) << bars[2];
    EXPECT_EQ(recordsAtPrintNotice, 0u);
    // The tables are as they were: the layout still missing, the document stored after the notice.
    EXPECT_FALSE(TESTS::exists(file("PARTIM4.dat")));
    EXPECT_EQ(bytes("TM.DAT").size(), TIM0::RTIM::SIZE);
}

}  // namespace

namespace {

TEST_F(InvoiceEditor, NamedSeriesAndUnknownSeries) {
    // Series Α of the invoices, next number 7.
    PARAMS::SEIRESTABLE s{};
    s[0].AA = 1;
    s[1].SEIRA = gr("Α");
    s[1].AA = 7;
    std::string b(PARAMS::SEIRES_SIZE, '\0');
    PARAMS::encodeSEIRES(s, reinterpret_cast<uint8_t*>(b.data()));
    TESTS::writeFile(file("SEIRES.DAT"), b);
    std::string ix;
    for (int i = 0; i < 100000; ++i) ix += std::string("\xE8\xFD", 2);
    TESTS::writeFile(file("TI_A.DAT"), ix);

    typed("Β");
    enter();
    std::string unknown, proposed;
    stages({[&] {
                unknown = con->dump();
                esc();
                clear();
                typed("Α");
                enter();
            },
            [&] {
                proposed = at(20, 2, 5);
                esc();
            }});
    run();
    EXPECT_NE(unknown.find("ΑΓΝΩΣΤΗ ΣΕΙΡΑ ΤΙΜΟΛΟΓΙΩΝ"), std::string::npos) << unknown;
    EXPECT_EQ(proposed, "7....");
}

TEST_F(InvoiceEditor, UpInTheNumberProposesAgainAndDownStepsToTheNextCustomer) {
    TESTS::addCustomer("ΑΛΦΑ");
    const uint16_t beta = TESTS::addCustomer("ΒΗΤΑ");
    clear();
    typed("5");
    up();
    std::string proposed, next;
    stages({[&] {
                proposed = at(20, 2, 5);
                enter();
                enter();
                enter();
                typed("αλφα");
                enter();
                con->key(SC::DOWN);
            },
            [&] {
                next = at(39, 2, 4);
                EXPECT_EQ(APODI::PR, beta);
                esc();
                con->ch('O');
            }});
    run();
    EXPECT_EQ(proposed, "1....");
    EXPECT_EQ(next, "ΒΗΤΑ");
}

TEST_F(InvoiceEditor, F5DeletesAStoredInvoice) {
    const uint16_t pr = TESTS::addCustomer("ΠΑΠΑΔΟΠΟΥΛΟΣ");
    toLine1("π");
    enter();
    typed("10");
    con->key(SC::F1);
    // Back to line 1 of the stored document, then F5 and yes.
    enter();
    enter();
    enter();
    enter();
    enter();
    con->key(SC::F5);
    con->ch('N');
    std::string after;
    stages({[&] {
        after = at(20, 2, 5);
        esc();
    }});
    run();
    EXPECT_EQ(after, ".....");  // the number field, empty
    EXPECT_EQ(indexEntry(1), 65000);
    EXPECT_EQ(TESTS::customerXR(pr), 0);
    EXPECT_EQ(bytes("TD.DAT").substr(0, 4), std::string("\x01\0\0\0", 4));
}

}  // namespace

namespace {

TEST_F(InvoiceEditor, PgUpOpensTheStatementAndPgDnTheRateTable) {
    TESTS::addCustomer("ΠΑΠΑΔΟΠΟΥΛΟΣ");
    toLine1("π");
    enter();
    typed("100");
    con->key(SC::PGUP);  // the statement, from the amount of line 1
    typed("25");
    enter();
    esc();
    std::string line8, total, table;
    stages({[&] {
                line8 = at(69, 12, 10);
                total = at(69, 24, 10);
                con->key(SC::PGDN);
            },
            [&] {
                table = at(16, 7, 10);  // row 1 of the rate table: the taxed line 1
                esc();
            },
            [&] {
                esc();
                con->ch('O');
            }});
    run();
    EXPECT_EQ(line8, "     25.00");
    EXPECT_EQ(total, "    149.00");  // 100 + 24 % VAT + 25
    EXPECT_EQ(table, "100.00....");  // being edited
}

// A new document takes item headings 14 to 17 as the captions of lines 14 to 17: they show on
// rows 18 to 21, and a heading beginning with "_" taxes its line.
TEST_F(InvoiceEditor, ANewDocumentTakesHeadings14To17AsItsCaptions) {
    TESTS::addCustomer("ΠΑΠΑΔΟΠΟΥΛΟΣ");
    PARAMS::PARTIM1[14] = gr("_ΔΙΑΦΟΡΑ Α");
    PARAMS::PARTIM1[15] = gr("ΔΙΑΦΟΡΑ Β");
    PARAMS::PARTIM1[17] = gr("_ΑΠΟΘΗΚΕΥΤΙΚΑ ΜΕ ΠΟΛΥ ΜΑΚΡΥ ΟΝΟΜΑ");
    toLine1("π");
    for (int i = 0; i < 25; ++i) enter();  // lines 1 to 13, then the caption of line 14
    typed("100");
    enter();
    std::string rows[4], total;
    stages({[&] {
        for (int r = 0; r < 4; ++r) rows[r] = at(3, 18 + r, 23);
        total = at(69, 24, 10);
        esc();
        con->ch('O');
    }});
    run();
    EXPECT_EQ(rows[0], "_ΔΙΑΦΟΡΑ Α             ");
    EXPECT_EQ(rows[1], "ΔΙΑΦΟΡΑ Β              ");
    EXPECT_EQ(rows[2], std::string(23, ' '));
    EXPECT_EQ(rows[3], "_ΑΠΟΘΗΚΕΥΤΙΚΑ ΜΕ ΠΟΛΥ Μ");
    EXPECT_EQ(total, "    124.00");  // line 14 taxed at 24 %
}

}  // namespace

namespace {

// Row 1 of the rate table (the VAT analysis of the printout) is stored with the invoice's taxed
// amount whether or not the table was opened, unless the clerk typed an amount of their own into
// it after the last change of the charge lines or the rate.
TEST_F(InvoiceEditor, RateTableRow1IsTheTaxedAmountUnlessTheClerksOwnStands) {
    TESTS::addCustomer("ΠΑΠΑΔΟΠΟΥΛΟΣ");
    auto key = [&](uint8_t k) { con->key(k); };
    auto amount = [&](const char* a) {
        clear();
        typed(a);
    };
    // From the number field after a store back to the reference text of line 1.
    auto backToLine1 = [&] {
        for (int i = 0; i < 4; ++i) enter();
    };
    // From the number field after a store: line 1's reference text changed, the table opened
    // again and left, the document stored.
    auto reopenTheTable = [&] {
        backToLine1();
        typed("X");
        enter();
        key(SC::PGDN);
        esc();
        key(SC::F1);
    };
    // Line 1 (taxed) 100.00; in the table row 1 80.00, with a rate of its own when one is given.
    auto typedRow1 = [&](const char* rate) {
        enter();
        typed("100");
        key(SC::PGDN);
        amount("80");
        enter();
        if (rate) {
            amount(rate);
            enter();
        }
        esc();
        key(SC::F1);
    };
    struct Case {
        const char* what;
        std::function<void()> keys;
        int32_t FX1;
        uint16_t FF1;
    };
    const Case cases[] = {
        {"the table never opened",
         [&] {
             enter();
             typed("100");
             key(SC::F1);
         },
         10000, 24},
        {"an amount typed into row 1", [&] { typedRow1(nullptr); }, 8000, 24},
        {"the typed amount, the table opened again and another field changed",
         [&] {
             typedRow1(nullptr);
             reopenTheTable();
         },
         8000, 24},
        {"the typed amount, then a charge line changed",
         [&] {
             typedRow1(nullptr);
             backToLine1();
             enter();
             amount("150");
             key(SC::F1);
         },
         15000, 24},
        {"an amount typed with a rate of its own", [&] { typedRow1("13"); }, 8000, 13},
        {"the next opening takes the invoice's rate again, and with it the taxed amount",
         [&] {
             typedRow1("13");
             reopenTheTable();
         },
         10000, 24},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        toLine1("π");
        c.keys();
        esc();
        run();
        ASSERT_EQ(bytes("TM.DAT").size(), (i + 1) * TIM0::RTIM::SIZE) << c.what;
        const TIM0::RTIM r = record(i);
        EXPECT_EQ(r.FX[1], c.FX1) << c.what;
        EXPECT_EQ(r.FF[1], c.FF1) << c.what;
    }
}

// A loaded document keeps the row 1 it was stored with, except an unsigned one stored with row 1
// empty, which the next store fills; a signed one is not changed by it, so that it can be printed
// again.
TEST_F(InvoiceEditor, ALoadedDocumentKeepsItsRow1UnlessItIsUnsignedAndEmpty) {
    TESTS::addCustomer("ΠΑΠΑΔΟΠΟΥΛΟΣ");
    TIM0::FP = "24";
    struct Case {
        const char* what;
        int32_t stored;  // row 1 as an earlier store left it
        int32_t mark;
        int32_t FX1;  // row 1 after loading and storing again
    };
    const Case cases[] = {
        {"unsigned with row 1 empty", 0, 0, 10000},
        {"unsigned with an amount of the clerk's", 8000, 0, 8000},
        {"signed with row 1 empty", 0, 42, 0},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        const int n = int(i) + 1;
        {
            TIM::TIMOS t;
            ASSERT_FALSE(TESTS::openDoc(t, n));
            TESTS::setCustomer("ΠΑΠ");
            TIM0::XR[1] = 100;
            t.PAIPS[1] = c.mark;
            ASSERT_TRUE(t.KTT(false, false));
        }
        std::string b = bytes("TM.DAT");
        PLAT::putL(reinterpret_cast<uint8_t*>(b.data()) + i * TIM0::RTIM::SIZE + TIM0::RTIM::O_FX, c.stored);
        TESTS::writeFile(file("TM.DAT"), b);

        TIM::TIMOS t;
        ASSERT_TRUE(TESTS::openDoc(t, n));
        t.KTT(true, false);
        EXPECT_FALSE(t.ALLA()) << c.what << ": a signed document still prints again";
        EXPECT_EQ(record(i).FX[1], c.FX1) << c.what;
        // A change of a charge line fills row 1 (a signed document refuses the store until Esc).
        TIM0::XR[1] = 150;
        if (c.mark != 0) esc();
        t.KTT(true, false);
        EXPECT_EQ(con->pending(), 0u) << c.what;
        EXPECT_EQ(record(i).FX[1], c.mark == 0 ? 15000 : 0) << c.what;
    }
}

// Shift-F4 on a signed document shows the mark line for the manual mark; a key other than
// Shift-F9 clears it, and it stays cleared on the form.
TEST_F(InvoiceEditor, ShiftF4ThenAnotherKeyLeavesTheMarkLineCleared) {
    TESTS::addCustomer("ΠΑΠΑΔΟΠΟΥΛΟΣ");
    {
        TIM::TIMOS t;
        ASSERT_FALSE(TESTS::openDoc(t, 1));
        TESTS::setCustomer("ΠΑΠ");
        TIM0::XR[1] = 10;
        t.PAIPS[1] = 42;
        ASSERT_TRUE(t.KTT(false, false));
    }
    clear();
    typed("1");
    enter();
    enter();  // the date
    enter();  // the declaration
    enter();  // the customer, confirmed by the load: the reference text of line 1
    std::string before, after;
    uint8_t attr = 0;
    stages({[&] {
                before = at(2, 23, 28);
                con->key(SC::SF4);
                enter();
            },
            [&] {
                after = at(2, 23, 28);
                attr = con->attr(2, 23);
                esc();
            }});
    run();
    EXPECT_EQ(before, " Α/Α ΣΗΜΑΝΣΗΣ ΕΑΦΔΣΣ:    42 ");
    EXPECT_EQ(after, std::string(28, ' '));
    EXPECT_EQ(attr, 0x0E);
}

}  // namespace
