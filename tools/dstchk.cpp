// dstchk: checks the declaration and continuation-sheet stores of a company folder, read only.
//
//   dstchk [--strict] [--expect FILE] [--quiet] FOLDER
//
// Verifies the number indexes ("DISI.DAT", "BISI.DAT": key order, links, blocks, freed slots in
// "DISN.DAT"/"BISN.DAT"), every declaration's and sheet item's area chain and fields, that no two
// declarations and no free area of "DISD.DAT" share a byte of "DISM.DAT", that no two entries name
// one position, that "DISM.DAT" and "BISM.DAT" hold every byte their entries and free areas name
// (a shorter one was cut, and the next store would append over it), that a declaration's box 1 and
// an item's box 10 hold the number they are indexed under, and the day and customer chains
// ("DISH.DAT", "DIPE.DAT"). --strict makes a declaration missing from its day or customer
// chain an error (a store stopped midway leaves that). --expect compares the stored data with
// lines "D <number>\t<hex>" / "B <key>\t<hex>" ("-" for not stored).
// Run it while no workstation stores (or holding the locks "FDIA" and "FBIS").
// Exit code: 0 sound, 1 errors found, 2 usage.
#include <cstdio>
#include <cstring>
#include <string>

#include "declarations/store.h"

int main(int argc, char** argv) {
    STORE::CheckOptions o;
    bool quiet = false;
    std::string dir;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--strict"))
            o.strict = true;
        else if (!std::strcmp(argv[i], "--quiet"))
            quiet = true;
        else if (!std::strcmp(argv[i], "--expect") && i + 1 < argc)
            o.expectFile = argv[++i];
        else if (argv[i][0] != '-' && dir.empty())
            dir = argv[i];
        else
            dir.clear(), i = argc;
    }
    if (dir.empty()) {
        std::fprintf(stderr, "usage: dstchk [--strict] [--expect FILE] [--quiet] FOLDER\n");
        return 2;
    }
    STORE::Report r = STORE::check(dir, o);
    for (const auto& e : r.errors) std::printf("ERROR: %s\n", e.c_str());
    if (!quiet)
        for (const auto& w : r.warnings) std::printf("warning: %s\n", w.c_str());
    std::printf("%zu declarations, %zu sheet items, %zu free areas: %s\n", r.declarations, r.sheets, r.freeAreas,
                r.errors.empty() ? "sound" : "DAMAGED");
    return r.errors.empty() ? 0 : 1;
}
