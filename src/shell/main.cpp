#include "shell/korvex.h"

int main(int argc, char** argv) { return KORVEX::run(argc, argv); }
