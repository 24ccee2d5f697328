// What the submission runs need of an installation: the field tables of the electronic formats
// from readable sources, the output folders of "ASCI_OUT.TXT", the customs client's folders and the
// export counter "HDD.DAT".
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "config/params.h"
#include "platform/codepage.h"
#include "shell/install.h"

namespace fs = std::filesystem;

namespace INSTALL {

namespace {

std::vector<std::string> readUtf8Lines(const fs::path& p) {
    std::vector<std::string> lines;
    std::ifstream in(p);
    for (std::string l; std::getline(in, l);) {
        if (!l.empty() && l.back() == '\r') l.pop_back();
        lines.push_back(l);
    }
    return lines;
}

std::vector<std::string> fields(const std::string& line) {
    std::vector<std::string> f;
    size_t from = 0;
    for (;;) {
        size_t bar = line.find('|', from);
        f.push_back(line.substr(from, bar == std::string::npos ? std::string::npos : bar - from));
        if (bar == std::string::npos) return f;
        from = bar + 1;
    }
}

bool allZero(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    if (!in) return true;
    for (char c; in.get(c);)
        if (c != 0) return false;
    return true;
}

void writeFile(const fs::path& p, const std::string& bytes) {
    std::ofstream f(p, std::ios::binary | std::ios::trunc);
    f.write(bytes.data(), std::streamsize(bytes.size()));
    if (!f) throw std::runtime_error("cannot write " + p.string());
}

}  // namespace

std::string fieldTableImage(const std::vector<std::string>& lines) {
    PARAMS::PARTIM7TABLE t{};
    for (const auto& l : lines) {
        if (l.empty() || l[0] == '#') continue;
        const auto f = fields(l);
        if (f.size() < 2) throw std::runtime_error("field table line without a code: " + l);
        const int row = std::stoi(f[0]);
        if (row < 1 || row > PARAMS::PARTIM7_ROWS) throw std::runtime_error("field table row out of range: " + l);
        auto at = [&](size_t i) { return i < f.size() ? PLAT::utf8ToCp737(f[i]) : std::string(); };
        PARAMS::RECPARTIM7& r = t[size_t(row - 1)];
        r.KV = uint16_t(std::stoi(f[1]));
        r.PEDIO = at(2).substr(0, 22);
        r.STATUS = at(3).substr(0, 1);
        r.MIKOS = at(4).substr(0, 5);
        r.TYPOS = at(5).substr(0, 1);
        r.TIMES = at(6).substr(0, 10);
    }
    std::string img(PARAMS::PARTIM7_SIZE, '\0');
    PARAMS::encodePARTIM7(t, reinterpret_cast<uint8_t*>(img.data()));
    return img;
}

void seedSubmission(const std::string& workDir, const std::string& companyDir, const std::string& srcDir) {
    const fs::path src(srcDir), company(companyDir), work(workDir);
    if (fs::is_directory(src))
        for (const auto& e : fs::directory_iterator(src)) {
            if (e.path().extension() != ".txt") continue;
            const std::string name = e.path().stem().string();
            const std::string img = fieldTableImage(readUtf8Lines(e.path()));
            for (const char* prefix : {"N", "Q"}) {
                const fs::path out = company / (prefix + name + ".dat");
                if (allZero(out)) writeFile(out, img);
            }
        }
    const fs::path asci = src / "ASCI_OUT.TXT";
    if (fs::exists(asci)) {
        const auto lines = readUtf8Lines(asci);
        writeCp737Text((company / "ASCI_OUT.TXT").string(), lines);
        // The folders on drive C: of the lines.
        for (const auto& l : lines)
            if (l.size() > 3 && (l[0] == 'C' || l[0] == 'c') && l[1] == ':' && l[2] == '\\') {
                std::string rel = l.substr(3);
                for (char& c : rel)
                    if (c == '\\') c = '/';
                fs::create_directories(work / "drives" / "c" / rel);
            }
    }
    // The highest reference exported so far (the editor proposes the next one).
    if (!fs::exists(company / "ANAF.DAT")) writeFile(company / "ANAF.DAT", "0\r\n");
    fs::create_directories(work / "drives" / "c" / "jicis");
    fs::create_directories(work / "drives" / "c" / "trial_jicis");
}

void makeExportCounter(const std::string& databaseDir) {
    const fs::path p = fs::path(databaseDir) / "ARXEIO0" / "HDD.DAT";
    fs::create_directories(p.parent_path());
    if (!fs::exists(p)) writeFile(p, std::string(2, '\0'));
}

}  // namespace INSTALL
