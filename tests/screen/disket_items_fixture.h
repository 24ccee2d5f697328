// Side files of the item segments written through their owner's codecs: the tax bases (".V") and
// the vehicles (".O") of an item, the permit texts, and tax lines of a page.
#pragma once
#include <string>
#include <utility>
#include <vector>

#include "common/umas.h"
#include "declarations/bod.h"
#include "documents/ekextra.h"
#include "platform/codepage.h"
#include "submission/disket.h"

namespace DISKETITEMS {

using PLAT::gr;

// Segment text as the file holds it (ISO 8859-7) from UTF-8.
inline std::string iso(const std::string& utf8) { return DISKET::ISO8859(gr(utf8.c_str())); }

// Tax line k of page P/G whose line 1 starts at box `first` (101 main page, 51 sheet).
inline void taxLine(BOD::SCB P, BOD::GGV G, int first, int k, const std::string& type, const std::string& base,
                    const std::string& rate, const std::string& amount) {
    const int b = first + 5 * (k - 1);
    BOD::BOS(P, G, b, gr(type.c_str()));
    BOD::BOS(P, G, b + 1, base);
    BOD::BOS(P, G, b + 2, rate);
    BOD::BOS(P, G, b + 3, amount);
}

// The tax-base file of item `item` of declaration NUMBER: lines (1-based) of code, description,
// quantity (UTF-8).
inline void vas(int item, const std::vector<std::pair<int, EKEXTRA::TVAS>>& lines, const std::string& number = "123") {
    EKEXTRA::VASTABLE t;
    for (const auto& [q, l] : lines) t.L[size_t(q - 1)] = {gr(l.VASCODE.c_str()), gr(l.VASPER.c_str()), l.VASPOSOT};
    EKEXTRA::WRITEVAS(EKEXTRA::ITEMNAME(number, ".V", std::to_string(item)), t);
}

// A vehicle of kind ON and chassis AP (UTF-8), make VW, type GOLF, engine AK1, fuel ΒΕΝΖΙΝΗ.
inline BOD::MOT car(const std::string& ON, const std::string& AP, const std::string& ET = "2005",
                    const std::string& KY = "1600", const std::string& KT = "1") {
    BOD::MOT m;
    m.ON = gr(ON.c_str());
    m.AP = gr(AP.c_str());
    m.ER = "VW";
    m.TY = "GOLF";
    m.AK = "AK1";
    m.KA = gr("ΒΕΝΖΙΝΗ");
    m.ET = gr(ET.c_str());
    m.KY = gr(KY.c_str());
    m.KT = KT;
    return m;
}

// The vehicle file of item `item`: records (1-based).
inline void cars(int item, const std::vector<std::pair<int, BOD::MOT>>& records, const std::string& number = "123") {
    EKEXTRA::PINAYT t;
    for (const auto& [q, m] : records) t.V[size_t(q - 1)] = m;
    EKEXTRA::WRITECARS(EKEXTRA::ITEMNAME(number, ".O", std::to_string(item)), t);
}

// The permit texts 1.. (UTF-8).
inline void permits(const std::vector<std::string>& texts) {
    for (size_t i = 0; i < texts.size() && i < 6; ++i) UMAS::EXTRA_OXIMATA[i + 1] = gr(texts[i].c_str());
}

}  // namespace DISKETITEMS
