// The invoice and receipt files of the older layouts: the invoice number index of ten chains rebuilt
// as a table of 100000 slots ("TI.DAT"), the invoices widened by the series code and the signing
// fields ("TM.DAT"), and the receipts widened to a LONGINT number with their number index
// lengthened by 35000 slots ("AM.DAT", "AI.DAT").
#include <cmath>
#include <cstring>

#include "common/umas.h"
#include "invoicing/apod0.h"
#include "invoicing/tim0.h"
#include "platform/codec.h"
#include "platform/files.h"
#include "upgrades/rebuilds.h"

namespace REBUILDS {

using namespace MECH;

namespace {

constexpr int64_t OTI_REC = 13, OTI_RECORDS = 20010, OTI_CHAIN = 2001;
constexpr int64_t TI_SLOTS = 100000;
constexpr int64_t ORTIMOL_SIZE = 688, RTIM_SIZE = int64_t(TIM0::RTIM::SIZE), RTIM_OLD_AT = int64_t(TIM0::RTIM::O_TM);
constexpr int64_t OLD_TRECAP_SIZE = 151, TRECAP_SIZE = int64_t(APOD0::TRECAP::SIZE);
constexpr int64_t AI_MORE = 35000;
constexpr uint16_t EMPTY = 65000;
static_assert(RTIM_OLD_AT + ORTIMOL_SIZE == int64_t(TIM0::RTIM::O_DS), "the old invoice ends where DS begins");

void putWords(NewFile& out, int64_t n, uint16_t v) {
    std::vector<uint8_t> b(size_t(n) * 2);
    for (int64_t i = 0; i < n; ++i) PLAT::putW(b.data() + 2 * i, v);
    out.put(b.data(), b.size());
}

}  // namespace

void REB_TIMOL() {
    const std::string step = "REB_TIMOL", file = "TI.DAT", neu = "NTI.DAT", bak = "TI.BAD";
    const int64_t size = probe(step, file);
    if (size / OTI_REC != OTI_RECORDS) return;
    checkBackup(step, file, bak);
    const std::vector<uint8_t> old = readTable(step, file, size_t(OTI_RECORDS * OTI_REC));
    std::vector<uint8_t> slots(size_t(TI_SLOTS) * 2);
    for (int64_t i = 0; i < TI_SLOTS; ++i) PLAT::putW(slots.data() + 2 * i, EMPTY);
    for (int64_t c = 0; c < 10; ++c) {
        uint16_t link = PLAT::getW(old.data() + c * OTI_CHAIN * OTI_REC + 4);
        int64_t steps = 0;
        while (link != 0) {
            if (link >= OTI_RECORDS)
                fail(step, file, "chain " + std::to_string(c) + ": link " + std::to_string(link) + " past the end");
            if (++steps > OTI_RECORDS) fail(step, file, "chain " + std::to_string(c) + ": the chain runs in a circle");
            const uint8_t* e = old.data() + int64_t(link) * OTI_REC;
            // The number as digits, to the nearest whole number (a blank one is 0); the current
            // index has slots 0 to 99999 only, so a number outside them is left out.
            const double n = std::nearbyint(UMAS::EVAL(PLAT::getS(e + 6, 6)));
            if (n >= 0 && n < double(TI_SLOTS)) PLAT::putW(slots.data() + 2 * int64_t(n), uint16_t(PLAT::getL(e)));
            link = PLAT::getW(e + 4);
        }
    }
    NewFile out(neu);
    out.put(slots.data(), slots.size());
    out.finish();
    commit(step, file, neu, bak);
}

void REB_TIMEAFDSS() {
    const std::string step = "REB_TIMEAFDSS", file = "TM.DAT", neu = "NewTM.DAT", bak = "TM.BBB";
    const int64_t size = probe(step, file);
    if (size % RTIM_SIZE == 0 || size % ORTIMOL_SIZE != 0) return;
    checkBackup(step, file, bak);
    PLAT::File in(data(file), PLAT::File::READ);
    NewFile out(neu);
    constexpr int64_t BATCH = 1000;
    std::vector<uint8_t> o(size_t(BATCH * ORTIMOL_SIZE)), n(size_t(BATCH * RTIM_SIZE));
    const int64_t records = size / ORTIMOL_SIZE;
    for (int64_t r = 0; r < records; r += BATCH) {
        const int64_t k = std::min(BATCH, records - r);
        in.readAt(r * ORTIMOL_SIZE, o.data(), size_t(k * ORTIMOL_SIZE));
        std::fill(n.begin(), n.end(), 0);
        // An empty series code, the old fields 3 bytes on, zero from DS to the end.
        for (int64_t i = 0; i < k; ++i)
            std::memcpy(n.data() + i * RTIM_SIZE + RTIM_OLD_AT, o.data() + i * ORTIMOL_SIZE, size_t(ORTIMOL_SIZE));
        out.put(n.data(), size_t(k * RTIM_SIZE));
    }
    in.close();
    out.finish();
    commit(step, file, neu, bak);
}

void REB_APODI() {
    const std::string step = "REB_APODI", am = "AM.DAT", ai = "AI.DAT", newAm = "New_AM.DAT", newAi = "Nea_AI.DAT",
                      amBak = "AM.BBB", aiBak = "AI.BBB";
    const int64_t size = probe(step, am);
    if (size % TRECAP_SIZE == 0) {
        // A run stopped between the two renames left "AM.DAT" current and the complete new index
        // beside the old one: its rename is finished now.
        if (PLAT::fileExists(data(newAi))) {
            probe(step, ai);
            checkBackup(step, ai, aiBak);
            commit(step, ai, newAi, aiBak);
        }
        return;
    }
    if (size % OLD_TRECAP_SIZE != 0) return;
    const int64_t aiSize = probe(step, ai);
    // Both backup names are checked before anything is written, so that a taken one leaves both
    // files as they are.
    checkBackup(step, am, amBak);
    checkBackup(step, ai, aiBak);

    const std::vector<uint8_t> old = readTable(step, am, size_t(size));
    {
        NewFile out(newAm);
        uint8_t rec[APOD0::TRECAP::SIZE];
        for (int64_t r = 0; r < size / OLD_TRECAP_SIZE; ++r) {
            const uint8_t* o = old.data() + r * OLD_TRECAP_SIZE;
            // The WORD number becomes a LONGINT; every other field moves 2 bytes on unchanged.
            PLAT::putL(rec, int32_t(PLAT::getW(o)));
            std::memcpy(rec + 4, o + 2, size_t(OLD_TRECAP_SIZE - 2));
            out.put(rec, sizeof rec);
        }
        out.finish();
    }
    {
        const int64_t words = aiSize / 2;
        std::vector<uint8_t> slots;
        if (words > 0) slots = readTable(step, ai, size_t(words * 2));
        NewFile out(newAi);
        if (!slots.empty()) out.put(slots.data(), slots.size());
        putWords(out, AI_MORE, EMPTY);
        out.finish();
    }
    commit(step, am, newAm, amBak);
    commit(step, ai, newAi, aiBak);
}

}  // namespace REBUILDS
