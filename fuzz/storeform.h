// Shared by the store fuzz targets: a scratch company folder holding one store file, and a form
// whose box tables use every input type, so that the loaders format every kind of box.
#pragma once
#include <unistd.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "common/umas.h"
#include "declarations/bod.h"
#include "platform/console.h"
#include "platform/fatal.h"
#include "platform/files.h"

namespace FUZZSTORE {

// Once per process: the folder, the console, the form.
inline const std::string& folder() {
    static std::string dir = [] {
        char tmpl[] = "/tmp/korvex-fuzz-XXXXXX";
        std::string d = mkdtemp(tmpl);
        PLAT::setThrowOnExit(true);
        PLAT::setConsole(std::make_unique<PLAT::HeadlessConsole>());
        static std::vector<uint8_t> dia(BOD::SCB_BYTES), gv(BOD::GGV_BYTES), bis(BOD::SCB_BYTES), gb(BOD::GGV_BYTES);
        BOD::DIA = BOD::SCB{dia.data(), BOD::PAGE_ROWS};
        BOD::GV = BOD::GGV{gv.data(), BOD::BOXES};
        BOD::BIS = BOD::SCB{bis.data(), BOD::SHEET_ROWS};
        BOD::GB = BOD::GGV{gb.data(), BOD::BOXES};
        for (BOD::GGV G : {BOD::GV, BOD::GB})
            for (int i = 1; i <= BOD::BOXES; ++i) {
                int n = (i - 1) % 160;  // four boxes to a row
                G.at(i, 1) = uint8_t(1 + (n % 4) * 20);
                G.at(i, 2) = uint8_t(1 + n / 4);
                G.at(i, 3) = uint8_t(1 + i % 12);
                G.at(i, 4) = uint8_t(i % 8);
                G.at(i, 5) = 0;
            }
        UMAS::PATH = d + "/";
        return d;
    }();
    return dir;
}

// Puts bytes into the folder as the named store file.
inline void put(const std::string& name, const uint8_t* p, size_t n) {
    PLAT::File f(folder() + "/" + name, PLAT::File::CREATE);
    if (n) f.writeAt(0, p, n);
}

// Puts a text into the folder as the named file.
inline void put(const std::string& name, const std::string& bytes) {
    put(name, reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

// The input from byte `from` on as `count` sections separated by 0xFF (the last takes the rest).
inline std::vector<std::string> sections(const uint8_t* data, size_t size, size_t from, size_t count) {
    std::vector<std::string> out(count);
    size_t s = 0;
    for (size_t i = from; i < size; ++i) {
        if (data[i] == 0xFF && s + 1 < out.size()) ++s;
        else out[s] += char(data[i]);
    }
    return out;
}

// The main page's boxes filled box after box from the text (what it lacks left empty).
inline void fillBoxes(const std::string& text) {
    size_t at = 0;
    for (int b = 1; b <= BOD::BOXES; ++b) {
        const size_t len = size_t(BOD::GV.LEN(b));
        BOD::BOS(BOD::DIA, BOD::GV, b, at < text.size() ? text.substr(at, len) : std::string());
        at += len;
    }
}

inline int32_t le32(const uint8_t* p) {
    return int32_t(uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24);
}

}  // namespace FUZZSTORE
