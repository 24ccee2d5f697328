// The checker of the invoice and credit-note files.
#include <set>

#include "common/umas.h"
#include "config/params.h"
#include "invoicing/apodi.h"
#include "invoicing/tim.h"
#include "platform/codec.h"
#include "platform/files.h"

namespace TIM {

namespace {

std::vector<uint16_t> words(const std::string& file) {
    std::vector<uint16_t> w;
    auto img = PLAT::readWhole(file);
    if (!img) return w;
    w.resize(img->size() / 2);
    for (size_t i = 0; i < w.size(); ++i) w[i] = PLAT::getW(reinterpret_cast<const uint8_t*>(img->data()) + 2 * i);
    return w;
}

// Walks every chain of file S; fills where[record] with the keys whose chains name it.
void walkChains(const std::string& S, int64_t records, std::map<uint16_t, std::vector<int32_t>>& where,
                std::vector<std::string>& problems) {
    const std::string name = UMAS::PATH + S + ".DAT";
    auto img = PLAT::readWhole(name);
    if (!img) {
        problems.push_back(S + ": missing");
        return;
    }
    const int64_t nodes = int64_t(img->size() / 4);
    const int32_t heads = APODI::HEADS(S);
    if (nodes < heads) {
        problems.push_back(S + ": fewer nodes than heads");
        return;
    }
    const uint8_t* p = reinterpret_cast<const uint8_t*>(img->data());
    std::vector<int32_t> owner(size_t(nodes), -1);  // the head whose chain reached each node
    for (int32_t k = 0; k < heads; ++k) {
        int64_t z = k;
        while (true) {
            APODI::RTIM1 n = APODI::RTIM1::decode(p + 4 * z);
            if (n.HR != 65000) {
                if (n.HR >= records)
                    problems.push_back(S + ": node " + std::to_string(z) + " names record " + std::to_string(n.HR) +
                                       " beyond the file");
                else
                    where[n.HR].push_back(k);
            }
            if (n.NR == 0) break;
            if (n.NR < heads || n.NR >= nodes) {
                problems.push_back(S + ": node " + std::to_string(z) + " links outside the node area");
                break;
            }
            if (owner[n.NR] >= 0) {
                problems.push_back(S + ": node " + std::to_string(n.NR) + " reached twice (from keys " +
                                   std::to_string(owner[n.NR]) + " and " + std::to_string(k) + ")");
                break;
            }
            owner[n.NR] = k;
            z = n.NR;
        }
    }
}

void checkKind(bool credit, CHECKED& out) {
    const std::string rec = UMAS::PATH + (credit ? "SM.DAT" : "TM.DAT");
    if (!PLAT::fileExists(rec)) return;  // no credit notes yet
    auto img = PLAT::readWhole(rec);
    const int64_t records = int64_t(img->size() / TIM0::RTIM::SIZE);
    auto& P = out.PROBLEMS;
    const std::string kind = credit ? "credit notes: " : "invoices: ";

    // Free records.
    std::vector<uint16_t> stack = words(UMAS::PATH + (credit ? "SD.DAT" : "TD.DAT"));
    std::set<uint16_t> freeRecs;
    if (!stack.empty())
        for (size_t i = 1; i <= stack[0] && i < stack.size(); ++i)
            if (!freeRecs.insert(stack[i]).second) P.push_back(kind + "record " + std::to_string(stack[i]) + " free twice");

    // The number indexes of every series.
    std::vector<std::string> indexes{credit ? "SI.DAT" : "TI.DAT"};
    if (auto s = PLAT::readWhole(UMAS::PATH + PARAMS::SEIRES_FILE(credit ? 1 : 0) + ".DAT"); s && s->size() >= PARAMS::SEIRES_SIZE) {
        PARAMS::SEIRESTABLE t = PARAMS::decodeSEIRES(reinterpret_cast<const uint8_t*>(s->data()));
        for (int k = 1; k < PARAMS::SEIRES_SLOTS; ++k) {
            std::string suf = PARAMS::SEIRES_SUFFIX(t[size_t(k)].SEIRA);
            if (!suf.empty()) indexes.push_back(std::string(credit ? "SI_" : "TI_") + suf + ".DAT");
        }
    }
    std::map<uint16_t, std::string> live;  // record -> index and number
    for (const auto& ix : indexes) {
        std::vector<uint16_t> w = words(UMAS::PATH + ix);
        for (size_t n = 0; n < w.size(); ++n) {
            if (w[n] == 65000) continue;
            const std::string at = ix + " " + std::to_string(n);
            if (w[n] >= records) {
                P.push_back(kind + at + " names record " + std::to_string(w[n]) + " beyond the file");
                continue;
            }
            if (freeRecs.count(w[n])) P.push_back(kind + at + " names a free record");
            if (!live.emplace(w[n], at).second) P.push_back(kind + at + " names a record named also by " + live[w[n]]);
        }
    }

    std::map<uint16_t, std::vector<int32_t>> byDay, byCustomer;
    walkChains(credit ? "SH" : "TH", records, byDay, P);
    walkChains(credit ? "SPE" : "TPE", records, byCustomer, P);
    const uint8_t* base = reinterpret_cast<const uint8_t*>(img->data());
    for (const auto& [r, at] : live) {
        const TIM0::RTIM d = TIM0::RTIM::decode(base + size_t(r) * TIM0::RTIM::SIZE);
        const int32_t day = UMAS::HMVAL(d.HM);
        const std::vector<int32_t> none;
        const auto& days = byDay.count(r) ? byDay[r] : none;
        const auto& custs = byCustomer.count(r) ? byCustomer[r] : none;
        const bool dayHead = day > 0 && day < APODI::DAYHEADS;
        const bool custHead = d.PR < APODI::PEHEADS;
        if (days.size() != (dayHead ? 1u : 0u) || (dayHead && days[0] != day))
            P.push_back(kind + at + ": on " + std::to_string(days.size()) + " day chains, day " + std::to_string(day));
        if (custs.size() != (custHead ? 1u : 0u) || (custHead && custs[0] != d.PR))
            P.push_back(kind + at + ": on " + std::to_string(custs.size()) + " customer chains, customer " +
                        std::to_string(d.PR));
        bool ok = true;
        const double dr = APODI::DRACHMAS(TIM0::TOTAL(d), d.HM, ok);
        const int64_t v = int64_t(TIM0::ROUND(dr));
        out.POSTED[d.PR] += credit ? -v : v;
        ++out.DOCUMENTS;
    }
    for (const auto& [r, keys] : byDay)
        if (!live.count(r)) P.push_back(kind + "record " + std::to_string(r) + " on a day chain but in no index");
    for (const auto& [r, keys] : byCustomer)
        if (!live.count(r)) P.push_back(kind + "record " + std::to_string(r) + " on a customer chain but in no index");
}

}  // namespace

CHECKED CHECKFILES() {
    CHECKED out;
    checkKind(false, out);
    checkKind(true, out);
    return out;
}

}  // namespace TIM
