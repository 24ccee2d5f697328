#include "shell/install_customers.h"

#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "common/umas.h"
#include "platform/codec.h"
#include "platform/codepage.h"

namespace fs = std::filesystem;

namespace INSTALL {

namespace {

void writeIfMissing(const fs::path& p, const std::string& bytes) {
    if (fs::exists(p)) return;
    std::ofstream f(p, std::ios::binary | std::ios::trunc);
    f.write(bytes.data(), std::streamsize(bytes.size()));
    if (!f) throw std::runtime_error("cannot write " + p.string());
}

// The empty index is mostly zeros: only the 60 headers are written, the rest is left as a hole.
void writeEmptyIndex(const fs::path& p) {
    if (fs::exists(p)) return;
    {
        std::ofstream f(p, std::ios::binary | std::ios::trunc);
        uint8_t h[8];
        ARP0::RR2{ARP0::FULL_SY, 0, 0}.encode(h);
        for (int32_t b = 0; b < ARP0::BUCKETS; ++b) {
            f.seekp(std::streamoff(b) * ARP0::BUCKET_RECS * ARP0::INDEX_REC);
            f.write(reinterpret_cast<const char*>(h), 8);
        }
        if (!f) throw std::runtime_error("cannot write " + p.string());
    }
    fs::resize_file(p, uintmax_t(ARP0::INDEX_SIZE));
}

}  // namespace

std::string emptyCustomerIndex() {
    std::string s(size_t(ARP0::INDEX_SIZE), '\0');
    for (int32_t b = 0; b < ARP0::BUCKETS; ++b)
        ARP0::RR2{ARP0::FULL_SY, 0, 0}.encode(reinterpret_cast<uint8_t*>(s.data()) + size_t(b) * ARP0::BUCKET_RECS * 8);
    return s;
}

void seedCustomerFiles(const std::string& dir) {
    fs::path d(dir);
    for (const char* x : {"", "X"}) {
        const std::string p = x;
        writeIfMissing(d / (p + "MF.DAT"), "");
        writeIfMissing(d / (p + "HF.DAT"), std::string(2, '\0'));
        writeIfMissing(d / (p + "PD.DAT"), std::string(2, '\0'));
        writeEmptyIndex(d / (p + "IF.DAT"));
        writeIfMissing(d / (p + "PN.DAT"), std::string(size_t(ARP0::PN_RECS) * 4, '\0'));
    }
}

namespace {

ARP0::RR0 customer(const char* name, const char* afm, const char* on, const char* di, const char* po, const char* tk,
                   const char* th1, const char* th2, const char* ep, const char* ef, const char* sx) {
    ARP0::RR0 r;
    r.EA = PLAT::gr(name);
    r.AF = afm;
    r.ON = PLAT::gr(on);
    r.DI = PLAT::gr(di);
    r.PO = PLAT::gr(po);
    r.TK = tk;
    r.TH = {th1, th2};
    r.EP = PLAT::gr(ep);
    r.EF = PLAT::gr(ef);
    r.SX = PLAT::gr(sx);
    return r;
}

}  // namespace

std::vector<ARP0::RR0> demoCustomers(int MN) {
    if (MN == 0)
        return {
            customer("ΑΛΕΞΙΟΥ ΚΩΝΣΤΑΝΤΙΝΟΣ", "098765431", "ΕΜΠΟΡΙΑ ΗΛΕΚΤΡΙΚΩΝ ΕΙΔΩΝ", "ΕΘΝ. ΑΝΤΙΣΤΑΣΕΩΣ 14",
                     "ΠΕΙΡΑΙΑΣ", "18531", "210-4111111", "", "ΕΜΠΟΡΟΣ", "Α' ΠΕΙΡΑΙΑ", ""),
            customer("ΒΑΣΙΛΕΙΟΥ ΜΑΡΙΑ & ΣΙΑ Ο.Ε.", "099111222", "ΕΙΣΑΓΩΓΕΣ ΤΡΟΦΙΜΩΝ", "ΛΕΩΦ. ΣΥΓΓΡΟΥ 210",
                     "ΑΘΗΝΑ", "17671", "210-9222222", "210-9222223", "ΕΙΣΑΓΩΓΕΑΣ", "ΚΑΛΛΙΘΕΑΣ", ""),
            customer("ΓΕΩΡΓΑΚΗΣ Α.Ε. ΤΕΧΝΙΚΗ", "094555666", "ΜΗΧΑΝΗΜΑΤΑ ΚΑΙ ΑΝΤΑΛΛΑΚΤΙΚΑ", "ΒΙ.ΠΕ. ΣΙΝΔΟΥ Ο.Τ. 31",
                     "ΘΕΣΣΑΛΟΝΙΚΗ", "57022", "2310-798000", "", "ΒΙΟΜΗΧΑΝΙΑ", "ΦΑΕ ΘΕΣΣΑΛΟΝΙΚΗΣ", ""),
            customer("DELTA MARINE SUPPLIES E.P.E.", "800123456", "ΕΦΟΔΙΑΣΜΟΙ ΠΛΟΙΩΝ", "ΑΚΤΗ ΚΟΝΔΥΛΗ 32",
                     "ΠΕΙΡΑΙΑΣ", "18545", "210-4133333", "", "ΕΦΟΔΙΑΣΤΗΣ", "ΦΑΕ ΠΕΙΡΑΙΑ", ""),
            customer("ΚΑΡΑΜΑΝΛΗΣ ΝΙΚΟΛΑΟΣ", "045678912", "", "ΤΣΙΜΙΣΚΗ 88", "ΘΕΣΣΑΛΟΝΙΚΗ", "54622", "2310-265432",
                     "", "ΕΜΠΟΡΟΣ ΕΝΔΥΜΑΤΩΝ", "Δ' ΘΕΣΣΑΛΟΝΙΚΗΣ", ""),
            customer("KOSTA OLIVE OIL S.A.", "997000111", "ΤΥΠΟΠΟΙΗΣΗ ΕΛΑΙΟΛΑΔΟΥ", "ΘΕΣΗ ΛΑΚΚΑ", "ΚΑΛΑΜΑΤΑ",
                     "24100", "27210-88000", "", "ΕΞΑΓΩΓΕΑΣ", "ΚΑΛΑΜΑΤΑΣ", ""),
            customer("ΠΑΠΑΔΑΚΗ ΕΛΕΝΗ", "123123123", "", "ΜΙΧΑΛΑΚΟΠΟΥΛΟΥ 5", "ΑΘΗΝΑ", "11528", "210-7480000", "",
                     "ΦΑΡΜΑΚΟΠΟΙΟΣ", "ΙΓ' ΑΘΗΝΩΝ", ""),
            customer("3Κ ΕΜΠΟΡΙΚΗ Ε.Π.Ε.", "998877665", "ΠΛΑΣΤΙΚΑ ΕΙΔΗ", "ΘΗΒΩΝ 196", "ΑΓ. Ι. ΡΕΝΤΗΣ", "18233",
                     "210-4940000", "", "ΧΟΝΔΡΕΜΠΟΡΙΟ", "ΑΓ. Ι. ΡΕΝΤΗ", ""),
        };
    return {
        customer("ADRIATICA SHIPPING SRL", "IT01234567", "VIA DEL MARE 3", "VIA DEL MARE 3", "BARI", "70121",
                 "39-080-555000", "", "SHIPPING AGENT", "", "IT01234567890"),
        customer("BALKAN TRANS LOGISTICS OOD", "BG20456789", "", "BUL. BALGARIA 102", "SOFIA", "1680", "359-2-9600000",
                 "", "FREIGHT FORWARDER", "", "BG204567891"),
        customer("MUELLER MASCHINENBAU GMBH", "DE81234567", "INDUSTRIESTRASSE 17", "INDUSTRIESTRASSE 17", "STUTTGART",
                 "70565", "49-711-400000", "", "MACHINERY", "", "DE812345678000"),
        customer("ΚΥΠΡΙΑΚΗ ΕΜΠΟΡΙΚΗ LTD", "CY10203040", "", "ΛΕΩΦ. ΜΑΚΑΡΙΟΥ 44", "ΛΕΥΚΩΣΙΑ", "1065", "357-22-400000",
                 "", "ΕΙΣΑΓΩΓΕΑΣ", "", "CY10203040X"),
    };
}

void seedDemoCustomers(const std::string& dir) {
    const std::string saved = UMAS::PATH;
    UMAS::PATH = fs::absolute(dir).string() + "/";
    for (int MN = 0; MN <= 1; ++MN) {
        if (!ARP0::EMPTY(MN) || ARP0::recordCount(MN) > 0) continue;
        for (const auto& c : demoCustomers(MN)) {
            ARP0::RR0 r = c;
            r.EA = ARP0::KEY(r.EA);
            ARP0::STORE(MN, r);
        }
    }
    UMAS::PATH = saved;
}

}  // namespace INSTALL
