// The declaration templates: 256 numbered slots in "YPDI.DAT", each naming a stored declaration
// with a short summary of it; the table that opens them in the editor and sorts them; and the
// summary the editor writes after storing a declaration opened from a slot.
#include <algorithm>
#include <cmath>
#include <filesystem>

#include "declarations/bod.h"
#include "declarations/dias.h"
#include "declarations/ek0.h"
#include "platform/codec.h"
#include "platform/codepage.h"
#include "platform/console.h"
#include "print/prns.h"
#include "screen/scr.h"

namespace DIAS {

namespace lists {
using UMAS::padTo;
using UMAS::cut;
}  // namespace lists

OYR OYR::decode(const uint8_t* p) {
    OYR r;
    r.Y0 = PLAT::getS(p + 0, 10);
    r.Y1 = PLAT::getS(p + 11, 19);
    r.Y1A = PLAT::getS(p + 31, 10);
    r.Y1B = PLAT::getS(p + 42, 7);
    r.Y2 = PLAT::getS(p + 50, 30);
    r.Y3 = PLAT::getS(p + 81, 20);
    r.Y4 = PLAT::getS(p + 102, 90);
    r.Y5 = PLAT::getS(p + 193, 24);
    return r;
}

void OYR::encode(uint8_t* p) const {
    std::fill(p, p + SIZE, uint8_t(0));
    PLAT::putS(p + 0, 10, Y0);
    PLAT::putS(p + 11, 19, Y1);
    PLAT::putS(p + 31, 10, Y1A);
    PLAT::putS(p + 42, 7, Y1B);
    PLAT::putS(p + 50, 30, Y2);
    PLAT::putS(p + 81, 20, Y3);
    PLAT::putS(p + 102, 90, Y4);
    PLAT::putS(p + 193, 24, Y5);
}
static_assert(193 + 25 == OYR::SIZE, "the last field ends the record");

namespace {

const char* const FILE_NAME = "YPDI.DAT";

std::string image(const SLOTTABLE& Y, size_t slots) {
    std::string img(slots * OYR::SIZE, '\0');
    for (size_t i = 0; i < slots; ++i) Y[i].encode(reinterpret_cast<uint8_t*>(img.data()) + i * OYR::SIZE);
    return img;
}

std::string sizeMessage(int64_t size) {
    return PLAT::gr("ΤΟ YPDI.DAT ΕΧΕΙ ΑΓΝΩΣΤΟ ΜΕΓΕΘΟΣ (") + std::to_string(size) + PLAT::gr(" bytes) - ΔΕΝ ΓΡΑΦΤΗΚΕ");
}

// Reads the table with "FYPO" held: a file of 128 slots is extended to 256 first.
bool readHeld(SLOTTABLE& Y, std::string* why) {
    const std::string name = UMAS::PATH + FILE_NAME;
    std::string bytes;
    if (!PLAT::fileExists(name)) {
        // the installation provides it: a folder without it is told, never ended
        if (why) *why = PLAT::gr("ΔΕΝ ΒΡΕΘΗΚΕ ΤΟ ΑΡΧΕΙΟ YPDI.DAT");
        return false;
    }
    {
        PLAT::File f(name, PLAT::File::READ);
        const int64_t size = f.size();
        if (size != YPDI_SIZE && size != YPDI_OLD_SIZE) {
            if (why) *why = sizeMessage(size);
            return false;
        }
        bytes.resize(size_t(size));
        f.readAt(0, bytes.data(), bytes.size());
    }
    Y.assign(SLOTS, OYR{});
    const size_t have = bytes.size() / OYR::SIZE;
    for (size_t i = 0; i < have; ++i) Y[i] = OYR::decode(reinterpret_cast<const uint8_t*>(bytes.data()) + i * OYR::SIZE);
    if (have < size_t(SLOTS)) {
        // the older file of 128 slots: the free slots 129 to 256 are added to it
        PLAT::writeWholeAtomic(name, bytes + image(SLOTTABLE(SLOTS, OYR{}), SLOTS).substr(bytes.size()));
    }
    return true;
}

bool writeHeld(const SLOTTABLE& Y, std::string* why) {
    const std::string name = UMAS::PATH + FILE_NAME;
    const int64_t size = PLAT::fileSize(name);
    if (size != YPDI_SIZE && size != YPDI_OLD_SIZE) {
        if (why) *why = sizeMessage(size);
        return false;
    }
    PLAT::writeWholeAtomic(name, image(Y, SLOTS));
    return true;
}

double keyOf(const OYR& r) {
    const double v = numberOf(r.Y0);
    return std::round(v) == 0 ? 9999999999.0 : v;
}

}  // namespace

bool RUFY(SLOTTABLE& Y, std::string* why) {
    UMAS::LOCK("FYPO");
    const bool ok = readHeld(Y, why);
    UMAS::UNLOC("FYPO");
    return ok;
}

bool KTTY(const SLOTTABLE& Y, std::string* why) {
    UMAS::LOCK("FYPO");
    const bool ok = writeHeld(Y, why);
    UMAS::UNLOC("FYPO");
    return ok;
}

void SORTYPOD(SLOTTABLE& Y) {
    for (size_t i = 0; i + 1 < Y.size(); ++i)
        for (size_t j = i + 1; j < Y.size(); ++j)
            if (keyOf(Y[i]) > keyOf(Y[j])) std::swap(Y[i], Y[j]);
}

bool SORTKTTY(SLOTTABLE& Y, std::string* why) {
    UMAS::LOCK("FYPO");
    SLOTTABLE now;
    bool ok = readHeld(now, why);
    if (ok) {
        SORTYPOD(now);
        ok = writeHeld(now, why);
    }
    UMAS::UNLOC("FYPO");
    if (ok) Y = std::move(now);
    return ok;
}

bool SLOTUSED(const SLOTTABLE& Y, int slot, const std::string& SYP) {
    const double v = numberOf(SYP);
    for (size_t i = 0; i < Y.size(); ++i)
        if (int(i) + 1 != slot && numberOf(Y[i].Y0) == v) return true;
    return false;
}

double numberOf(const std::string& Y0) { return UMAS::EVAL(UMAS::CUTLEADSPACES(UMAS::REMLCH(Y0, ' '))); }

void installTemplates(const std::string& dir) {
    const std::filesystem::path p = std::filesystem::path(dir) / FILE_NAME;
    if (std::filesystem::exists(p)) return;
    PLAT::writeWholeAtomic(p.string(), std::string(size_t(YPDI_SIZE), '\0'));
}

void YPDI(const std::string& EXT) {
    SCR::CALLM(19, true);
    SCR::CALLM(2, true);
    UMAS::FKEY({1, 6, 9, 10}, GM1);
    SCR::CALLM(74, true);
    SLOTTABLE Y;
    std::string why;
    if (!RUFY(Y, &why)) {
        PRNS::REPORT(why);
        SCR::RECALL();
        SCR::RECALL();
        SCR::RECALL();
        return;
    }
    int L = 0, CO = 0, SL = 0;
    constexpr int FS = 11;
    auto slot = [&] { return 64 * SL + 16 * CO + L + 1; };
    auto BOX = [&] {
        SCR::PRINT(43, 18, UMAS::RIJU(std::to_string(SL + 1), 2));
        for (int r = 1; r <= 16; ++r)
            for (int c = 0; c <= 3; ++c)
                SCR::PRINT(3 + FS * c, r + 1, lists::padTo(Y[size_t(64 * SL + 16 * c + r - 1)].Y0, 10));
    };
    auto BOXY = [&] {
        SCR::CALLM(74, false);
        const OYR& o = Y[size_t(slot() - 1)];
        SCR::PRINT(61, 3, o.Y1);
        if (std::round(UMAS::EVAL(UMAS::CUTLEADSPACES(UMAS::REMLCH(o.Y1B, ' ')))) != 0)
            SCR::PRINT(50, 4, o.Y1A + PLAT::gr("  Καθεστώς: ") + o.Y1B);
        SCR::PRINT(50, 7, o.Y2);
        SCR::PRINT(60, 9, o.Y3);
        for (int k = 0; k < 3; ++k)
            if (o.Y4.size() > size_t(30 * k)) SCR::PRINT(50, 10 + k, o.Y4.substr(size_t(30 * k), 30));
        SCR::PRINT(50, 15, o.Y5);
    };
    BOX();
    for (;;) {
        BOXY();
        int KK = 0;
        UMAS::EPIL(0, 14, 3, FS, 2, 1, 10, 15, 3, 3, L, CO, SL, KK, 0);
        if (KK == 3) break;
        if (KK == 4 || KK == 5) {
            BOX();
        } else if (KK == 0) {
            for (;;) {
                std::string SYP = Y[size_t(slot() - 1)].Y0;
                SCR::CALLM(2, true);
                UMAS::FKEY({1, 8}, GM1);
                int K = 0;
                SYP = SCR::GINPUT(3 + FS * CO, 2 + L, 10, SYP, "", SCR::socDigits(), false, true, K);
                SCR::RECALL();
                if (K == 0) {
                    if (SLOTUSED(Y, slot(), SYP)) {
                        PLAT::con().bell();
                        continue;
                    }
                    Y.clear();
                    if (OPENDISF) OPENDISF(UMAS::CUTLEADSPACES(SYP), EXT, slot());
                    if (!RUFY(Y, &why)) {
                        PRNS::REPORT(why);
                        Y.assign(SLOTS, OYR{});
                    }
                    BOX();
                    break;
                }
                if (K >= 1 && K <= 5) {
                    BOX();
                    break;
                }
            }
        } else if (KK == 10) {
            const SLOTTABLE kept = Y;
            SORTYPOD(Y);
            BOX();
            SCR::CALLM(58, true);
            SCR::PRINT(7, 23, PLAT::gr("ΚΑΤΑΧΩΡΗΘΕΙ Ο ΠΙΝΑΚΑΣ"));
            if (PRNS::YES(36, 23)) {
                // sorted again as the file stands now: the slots other workstations stored stay
                if (!SORTKTTY(Y, &why)) PRNS::REPORT(why);
                BOX();
            } else {
                Y = kept;
                BOX();
            }
            SCR::RECALL();
        }
    }
    SCR::RECALL();
    SCR::RECALL();
    SCR::RECALL();
}

}  // namespace DIAS

namespace EK0 {

void KATY(const std::string& EXT, int YPOD, const std::string& OPENED) {
    if (YPOD <= 0 || YPOD > DIAS::SLOTS) return;
    using DIAS::lists::cut;
    auto box = [](int n) { return BOD::SOB(BOD::DIA, BOD::GV, n); };
    UMAS::LOCK("FYPO");
    DIAS::SLOTTABLE Y;
    std::string why;
    bool ok = DIAS::readHeld(Y, &why);
    size_t at = size_t(YPOD - 1);
    const double opened = DIAS::numberOf(OPENED);
    if (ok && opened != 0) {
        const double now = DIAS::numberOf(Y[at].Y0);
        if (now != opened) {
            // another workstation's sort or store changed the slot: the template opened is looked
            // for by its number; another template in the slot is never overwritten
            size_t found = Y.size(), free = Y.size();
            for (size_t i = 0; i < Y.size(); ++i) {
                const double v = DIAS::numberOf(Y[i].Y0);
                if (v == opened && found == Y.size()) found = i;
                if (v == 0 && free == Y.size()) free = i;
            }
            const bool deleting = UMAS::CUTLEADSPACES(BOD::TM).empty();
            if (found < Y.size()) at = found;
            else if (now == 0) at = size_t(YPOD - 1);
            else if (!deleting && free < Y.size()) at = free;
            else ok = false;  // nothing of the template to change, or no room: the others stay
            if (!ok) why.clear();
        }
    }
    if (ok) {
        DIAS::OYR& o = Y[at];
        o.Y0 = cut(UMAS::CUTLEADSPACES(BOD::TM), 10);
        o.Y1 = cut(box(4), 19);
        o.Y1A = cut(box(2), 10);
        o.Y1A = cut(o.Y1A + " " + box(5), 10);
        o.Y1B = cut(box(84), 7);
        o.Y2 = cut(box(22), 30);
        o.Y3 = cut(box(79), 20);
        o.Y4 = cut(box(72) + box(73) + cut(box(74), 10), 90);
        o.Y5 = cut(box(7) + " " + box(6), 24);
        if (EXT == "EXP" || EXT == "MTF") {
            o.Y5 = cut(box(22), 24);
            o.Y2 = cut(box(12), 30);
        }
        ok = DIAS::writeHeld(Y, &why);
    }
    UMAS::UNLOC("FYPO");
    if (!ok && !why.empty()) PRNS::REPORT(why);
}

}  // namespace EK0
