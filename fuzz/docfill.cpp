// Fuzz target: the documents' readers. The first byte chooses: 0 a layout image (its print order and
// the rows placed), 1 a values file of the layout engine and of the invoice documents, 2 the invoice
// fill over any "DISI.DAT" and "DISM.DAT" (two bytes give the index's length, then the index, then
// the store; the next byte the declaration number).
#include "documents/invoices.h"
#include "documents/laydoc.h"
#include "storeform.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    FUZZSTORE::folder();
    const std::string rest(reinterpret_cast<const char*>(data) + 1, size - 1);
    switch (data[0] % 3) {
    case 0: {
        const LAYDOC::Layout L = LAYDOC::DECODELAYOUT(rest);
        const std::vector<int> order = LAYDOC::SORTVARS(L, 120);
        if (order.size() != 120) __builtin_trap();
        for (size_t i = 1; i < order.size(); ++i) {
            const auto key = [&](int r) { return L[size_t(r)].ROW * 256 + L[size_t(r)].COL; };
            if (key(order[i - 1]) > key(order[i])) __builtin_trap();
        }
        PRNS::Printout o;
        o.F.assignFile(FUZZSTORE::folder() + "/rows.out");
        o.P = PRNS::PRNEPS;
        o.T = PRNS::TABEPS;
        LAYDOC::PRINTROWS(o, L, order, [](int r) { return std::to_string(r); });
        o.F.close();
        break;
    }
    case 1: {
        LAYDOC::Values v(58, 40);
        LAYDOC::DECODE(rest, v);
        for (int i = 1; i <= 58; ++i)
            if (v.f[size_t(i)].size() > 40) __builtin_trap();
        if (LAYDOC::ENCODE(v).size() != 2378) __builtin_trap();
        const INVOICES::Record r = INVOICES::DECODE(rest);
        if (r.raw.size() != INVOICES::RINV_SIZE) __builtin_trap();
        for (int i = 1; i <= INVOICES::FIELDS; ++i)
            if (int(r.field(i).size()) > INVOICES::PLACE(i).len) __builtin_trap();
        break;
    }
    default: {
        if (rest.size() < 3) return 0;
        const size_t n = std::min<size_t>(rest.size() - 3, uint8_t(rest[0]) | uint8_t(rest[1]) << 8);
        FUZZSTORE::put("DISI.DAT", data + 4, n);
        FUZZSTORE::put("DISM.DAT", data + 4 + n, rest.size() - 3 - n);
        BOD::BOS(BOD::DIA, BOD::GV, 1, std::to_string(uint8_t(rest[2])));
        std::array<PARAMS::RECPARTIM3, 34> map{};
        const int boxes[] = {1, 12, 22, 68, 68, 82, 142, 209, 210, 501, 510};
        for (size_t i = 0; i < std::size(boxes); ++i) map[i + 1].KV = uint16_t(boxes[i]);
        INVOICES::Record r;
        INVOICES::FILL(r, map);
        for (int i = 1; i <= INVOICES::FIELDS; ++i)
            if (int(r.field(i).size()) > INVOICES::PLACE(i).len) __builtin_trap();
        break;
    }
    }
    return 0;
}
