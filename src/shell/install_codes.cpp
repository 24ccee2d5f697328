// The code tables of a company as installed: every table file at its size, empty; and the demo's
// starting contents built from readable sources (one record a line, fields between "|").
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <stdexcept>

#include "codes/kvdi.h"
#include "platform/codec.h"
#include "platform/codepage.h"
#include "shell/install.h"

namespace fs = std::filesystem;

namespace INSTALL {

namespace {

using Fields = std::vector<std::string>;  // CP737

std::string field(const Fields& f, size_t i) { return i < f.size() ? f[i] : std::string(); }
long number(const Fields& f, size_t i) {
    const std::string s = field(f, i);
    return s.empty() ? 0 : std::stol(s);
}

struct TableDef {
    const char* name;  // file name without ".DAT"
    size_t size;
    size_t header;     // bytes before the records (the validity dates)
    size_t recSize;
    std::function<void(uint8_t*, const Fields&)> encode;
};

const std::vector<TableDef>& tables() {
    using namespace KVDI;
    static const std::vector<TableDef> t = {
        {"NOM", F_NOM.size, 14, RECNOM::SIZE,
         [](uint8_t* p, const Fields& f) {
             RECNOM{field(f, 0), field(f, 1), field(f, 2), uint16_t(number(f, 3)), field(f, 4), field(f, 5)}.encode(p);
         }},
        {"XVR", F_POL.size, 0, RECPOL::SIZE, [](uint8_t* p, const Fields& f) { RECPOL{field(f, 0), field(f, 1)}.encode(p); }},
        {"TEL", F_TEL.size, 0, RECTEL::SIZE,
         [](uint8_t* p, const Fields& f) { RECTEL{uint16_t(number(f, 0)), field(f, 1), field(f, 2)}.encode(p); }},
        {"APO", F_APO.size, 0, RECAPO::SIZE, [](uint8_t* p, const Fields& f) { RECAPO{field(f, 0)}.encode(p); }},
        {"TRM", F_TRM.size, 0, RECTRM::SIZE,
         [](uint8_t* p, const Fields& f) { RECTRM{uint8_t(number(f, 0)), field(f, 1)}.encode(p); }},
        {"PER", F_PER.size, 0, RECPER::SIZE,
         [](uint8_t* p, const Fields& f) {
             RECPER{field(f, 0), field(f, 1), uint8_t(number(f, 2)), int32_t(number(f, 3))}.encode(p);
         }},
        {"TRP", F_TRP.size, 0, RECTRP::SIZE, [](uint8_t* p, const Fields& f) { RECTRP{field(f, 0), field(f, 1)}.encode(p); }},
        {"PRE", F_PRE.size, 0, RECPRE::SIZE, [](uint8_t* p, const Fields& f) { RECPRE{field(f, 0), field(f, 1)}.encode(p); }},
        {"MON", F_MON.size, 0, RECMON::SIZE,
         [](uint8_t* p, const Fields& f) { RECMON{uint8_t(number(f, 0)), field(f, 1)}.encode(p); }},
        {"SYS", F_SYS.size, 0, RECSYS::SIZE, [](uint8_t* p, const Fields& f) { RECSYS{field(f, 0), field(f, 1)}.encode(p); }},
        {"KAY", F_KAY.size, 14, RECKAY::SIZE, [](uint8_t* p, const Fields& f) { RECKAY{field(f, 0), field(f, 1)}.encode(p); }},
        {"TAX", F_TAX.size, 0, RECTAX::SIZE,
         [](uint8_t* p, const Fields& f) {
             RECTAX{field(f, 0), field(f, 1), field(f, 2), uint8_t(number(f, 3))}.encode(p);
         }},
    };
    return t;
}

// The file of table name in dir, whatever the case of its name ("TAX.dat" from older layouts).
fs::path tableFile(const fs::path& dir, const std::string& name) {
    const std::string want = name + ".DAT";
    if (fs::exists(dir))
        for (const auto& e : fs::directory_iterator(dir)) {
            std::string n = e.path().filename().string();
            if (n.size() != want.size()) continue;
            bool same = true;
            for (size_t i = 0; i < n.size() && same; ++i) same = std::toupper(uint8_t(n[i])) == uint8_t(want[i]);
            if (same) return e.path();
        }
    return dir / want;
}

void writeFile(const fs::path& p, const std::string& bytes) {
    std::ofstream f(p, std::ios::binary | std::ios::trunc);
    f.write(bytes.data(), std::streamsize(bytes.size()));
    if (!f) throw std::runtime_error("cannot write " + p.string());
}

// The empty images of the tables that are not all zero bytes.
std::string emptySFR() {
    std::string s(KVDI::F_SFR.size, '\0');
    for (size_t i = 0; i < s.size(); i += 2) {
        s[i] = ' ';
        s[i + 1] = 15;
    }
    return s;
}
std::string emptyEMP() {
    std::string s(KVDI::F_EMP.size, '\0');
    for (size_t n = 1; n <= KVDI::PEMP_N; ++n)
        KVDI::REC{"", uint16_t(n - 1)}.encode(reinterpret_cast<uint8_t*>(s.data()) + (n - 1) * KVDI::REC::SIZE);
    return s;
}
std::string emptyPEMP() {
    std::string rec(KVDI::REK::SIZE, '\0');
    KVDI::REK::blank().encode(reinterpret_cast<uint8_t*>(rec.data()));
    std::string s;
    s.reserve(rec.size() * KVDI::PEMP_N);
    for (size_t n = 0; n < KVDI::PEMP_N; ++n) s += rec;
    return s;
}

// The currencies come with the euro in entry 24: its rate is the euro rate of the company choice,
// and no screen edits that entry.
std::string emptyNOM() {
    std::string s(KVDI::F_NOM.size, '\0');
    KVDI::RECNOM{"EUR", PLAT::gr("ΕΥΡΩ"), "EUR", 1, "", "340.75"}.encode(reinterpret_cast<uint8_t*>(s.data()) + 14 +
                                                                         23 * KVDI::RECNOM::SIZE);
    return s;
}

std::string emptyImage(const std::string& name, size_t size) {
    if (name == "NOM") return emptyNOM();
    if (name == "SFR") return emptySFR();
    if (name == "EMP") return emptyEMP();
    if (name == "PEMP") return emptyPEMP();
    return std::string(size, '\0');
}

struct FileDef {
    const char* name;
    size_t size;
};
const FileDef FILES[] = {{"NOM", KVDI::F_NOM.size}, {"XVR", KVDI::F_POL.size}, {"EMP", KVDI::F_EMP.size},
                         {"PEMP", KVDI::REK::SIZE * KVDI::PEMP_N}, {"TEL", KVDI::F_TEL.size},
                         {"APO", KVDI::F_APO.size}, {"TRM", KVDI::F_TRM.size}, {"PER", KVDI::F_PER.size},
                         {"TRP", KVDI::F_TRP.size}, {"PRE", KVDI::F_PRE.size}, {"MON", KVDI::F_MON.size},
                         {"SYS", KVDI::F_SYS.size}, {"SFR", KVDI::F_SFR.size}, {"KAY", KVDI::F_KAY.size},
                         {"TAX", KVDI::F_TAX.size}};

Fields split(const std::string& utf8) {
    Fields f;
    size_t a = 0;
    for (;;) {
        size_t b = utf8.find('|', a);
        f.push_back(PLAT::utf8ToCp737(utf8.substr(a, b == std::string::npos ? std::string::npos : b - a)));
        if (b == std::string::npos) break;
        a = b + 1;
    }
    return f;
}

}  // namespace

void makeCodeTables(const std::string& dir) {
    fs::path d(dir);
    fs::create_directories(d);
    for (const FileDef& f : FILES) {
        fs::path p = tableFile(d, f.name);
        if (!fs::exists(p)) writeFile(p, emptyImage(f.name, f.size));
    }
}

std::string codeTableImage(const std::string& name, const std::vector<std::string>& lines) {
    for (const TableDef& t : tables()) {
        if (name != t.name) continue;
        std::string img(t.size, '\0');
        auto* p = reinterpret_cast<uint8_t*>(img.data());
        const size_t n = (t.size - t.header) / t.recSize;
        size_t next = 1;
        for (const std::string& line : lines) {
            if (line.empty() || line[0] == '#') continue;
            if (line[0] == '@') {  // "@n": the next record is record n
                next = size_t(std::stoul(line.substr(1)));
                continue;
            }
            Fields f = split(line);
            if (f[0] == "DATES") {  // the validity dates of a dated table
                PLAT::putS(p, 6, field(f, 1));
                PLAT::putS(p + 7, 6, field(f, 2));
                continue;
            }
            if (next < 1 || next > n) throw std::runtime_error(name + ": record " + std::to_string(next) + " out of range");
            t.encode(p + t.header + (next - 1) * t.recSize, f);
            ++next;
        }
        return img;
    }
    throw std::runtime_error("no code table " + name);
}

void seedCodeTables(const std::string& dir, const std::string& srcDir) {
    fs::path d(dir);
    makeCodeTables(dir);
    for (const TableDef& t : tables()) {
        fs::path src = fs::path(srcDir) / (std::string(t.name) + ".txt");
        if (!fs::exists(src)) continue;
        fs::path p = tableFile(d, t.name);
        std::ifstream cur(p, std::ios::binary);
        std::string have((std::istreambuf_iterator<char>(cur)), std::istreambuf_iterator<char>());
        if (have != emptyImage(t.name, t.size)) continue;  // a table in use is never replaced
        std::ifstream in(src);
        std::vector<std::string> lines;
        for (std::string l; std::getline(in, l);) {
            if (!l.empty() && l.back() == '\r') l.pop_back();
            lines.push_back(l);
        }
        writeFile(p, codeTableImage(t.name, lines));
    }
}

}  // namespace INSTALL
