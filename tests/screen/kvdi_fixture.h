// The fixture of the code-table screen tests: a company with its tables as installed, and a
// runner that leaves a screen once its script is used up.
#pragma once
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <functional>
#include <string>
#include <vector>

#include "codes/kvdi.h"
#include "common/umas.h"
#include "helpers/fixture.h"
#include "platform/clock.h"
#include "platform/codepage.h"
#include "platform/console.h"
#include "screen/scr.h"
#include "shell/install.h"

namespace SC = PLAT::SC;
using PLAT::gr;

namespace KVTEST {

constexpr uint8_t ENTER = 13, ESC = 27, TAB = 9, CTRL_Y = 25;

inline std::string pstr(const std::string& s, size_t cap) {
    std::string r(1, char(s.size()));
    r += s;
    r.resize(cap + 1, '\0');
    return r;
}
inline std::string pad(const std::string& s, size_t n) { return s + std::string(n - s.size(), ' '); }

class CodeTables : public TESTS::Installation {
protected:
    void SetUp() override {
        TESTS::Installation::SetUp();
        install(TESTS::companies(1));
        UMAS::PTAX.fill(0);
    }
    void TearDown() override {
        PLAT::setFixedNow(std::nullopt);
        TESTS::Installation::TearDown();
    }
    std::string dat(const std::string& name) const { return company(0) + "/" + name + ".DAT"; }
    std::string read(const std::string& name) const { return TESTS::readFile(dat(name)); }
    void seed(const std::string& name, const std::vector<std::string>& lines) const {
        TESTS::writeFile(dat(name), INSTALL::codeTableImage(name, lines));
    }
    // Runs a screen; at the first wait with the script used up, snap() looks at the screen and
    // the screen is left with the given keys (Esc by default).
    void run(const std::function<void()>& screen, const std::function<void()>& snap = {},
             const std::string& leave = std::string(1, char(ESC))) {
        bool done = false;
        con->onIdle = [&] {
            if (done) return;
            done = true;
            if (snap) snap();
            for (char c : leave) con->ch(uint8_t(c));
        };
        try {
            screen();
        } catch (const PLAT::ScriptEnd&) {
            ADD_FAILURE() << "the screen did not return";
        }
        con->onIdle = nullptr;
        EXPECT_EQ(SCR::STACKPOINTER(), 0) << "the screen is restored";
    }
    void type(const char* utf8) { con->keys(gr(utf8)); }
    void key(uint8_t scan) { con->key(scan); }
    void ch(uint8_t c) { con->ch(c); }
};

struct FileId {
    ino_t ino;
    timespec mtime;
};
inline FileId fileId(const std::string& path) {
    struct stat st {};
    stat(path.c_str(), &st);
    return {st.st_ino, st.st_mtim};
}
inline bool sameFile(const FileId& a, const FileId& b) {
    return a.ino == b.ino && a.mtime.tv_sec == b.mtime.tv_sec && a.mtime.tv_nsec == b.mtime.tv_nsec;
}

}  // namespace KVTEST
