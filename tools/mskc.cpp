#include <fstream>
int main(int argc, char** argv) { if (argc > 3) std::ofstream(argv[3], std::ios::binary); return 0; }
