// The fixture of the side-data editor tests: a company with a new declaration of one kind in the
// form, and a runner that works an editor with scripted keys on the headless console.
#pragma once
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "common/umas.h"
#include "declarations/bod.h"
#include "documents/ekextra.h"
#include "helpers/fixture.h"
#include "platform/clock.h"
#include "platform/codepage.h"
#include "platform/console.h"
#include "platform/files.h"
#include "screen/scr.h"

namespace SIDETEST {

namespace SC = PLAT::SC;
using PLAT::gr;
constexpr uint8_t ENTER = 13, ESC = 27, TAB = 9;
using Keys = std::vector<PLAT::Event>;

inline Keys operator+(Keys a, const Keys& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}
inline Keys typed(const std::string& cp737) {
    Keys v;
    for (unsigned char c : cp737) v.push_back(PLAT::keyChar(c));
    return v;
}
inline Keys enter(int n = 1) { return Keys(size_t(n), PLAT::keyChar(ENTER)); }
inline Keys esc() { return {PLAT::keyChar(ESC)}; }
inline Keys ext(uint8_t scan, int n = 1) { return Keys(size_t(n), PLAT::keyExt(scan)); }

class Side : public TESTS::Installation {
protected:
    void SetUp() override {
        TESTS::Installation::SetUp();
        install(TESTS::companies(1));
        PLAT::setFixedNow(PLAT::DateTime{2026, 3, 16, 10, 0, 0, 0});
        form("IMP");
    }
    void TearDown() override {
        con->onIdle = nullptr;
        PLAT::setFixedNow(std::nullopt);
        TESTS::Installation::TearDown();
    }
    void form(const std::string& kind) {
        ASSERT_TRUE(BOD::SETFORM(kind));
        for (int n = 1; n <= BOD::BOXES; ++n)
            if (BOD::GV.LEN(n) > 0) BOD::BOS(BOD::DIA, BOD::GV, n, "");
        for (int n = 1; n <= BOD::SHEET_BOXES; ++n)
            if (BOD::GB.LEN(n) > 0) BOD::BOS(BOD::BIS, BOD::GB, n, "");
        BOD::AY = {};
        BOD::AYB = {};
        BOD::BOS(BOD::DIA, BOD::GV, 1, "555");
    }
    void put(int n, const std::string& cp737) { BOD::BOS(BOD::DIA, BOD::GV, n, cp737); }
    std::string box(int n) const { return BOD::SOB(BOD::DIA, BOD::GV, n); }
    std::string file(const std::string& name) const { return TESTS::readFile(company(0) + "/" + name); }
    void writeFile(const std::string& name, const std::string& bytes) const {
        TESTS::writeFile(company(0) + "/" + name, bytes);
    }
    bool exists(const std::string& name) const { return TESTS::exists(company(0) + "/" + name); }
    void removeFileIfAny(const std::string& name) const { PLAT::removeFile(UMAS::PATH + name); }
    std::string screen(int x, int y, int len) const { return con->text(x, y, len); }
    // Runs fn with the keys; when it waits for more, snap() looks at the screen and Esc follows
    // (as many times as it keeps waiting, up to a limit).
    void run(const Keys& keys, const std::function<void()>& fn, const std::function<void()>& snap = {}) {
        for (const auto& e : keys) con->push(e);
        int idles = 0;
        con->onIdle = [&] {
            if (idles++ == 0 && snap) snap();
            if (idles < 20) con->ch(ESC);
        };
        try {
            fn();
        } catch (const PLAT::ScriptEnd&) {
            ADD_FAILURE() << "the editor did not return";
        }
        con->onIdle = nullptr;
        EXPECT_EQ(SCR::STACKPOINTER(), 0) << "masks left on the screen";
    }
};

}  // namespace SIDETEST
