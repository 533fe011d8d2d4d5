// Writes velkora-cli's bash completion script, made from the command table.
//   velkora-cli-completion OUTPUT
#include "cli/BashCompletion.h"

#include <fstream>
#include <iostream>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: velkora-cli-completion OUTPUT\n";
        return 2;
    }
    std::ofstream out(argv[1], std::ios::binary);
    out << ComposeBashCompletion();
    out.close();
    if (!out) {
        std::cerr << "cannot write " << argv[1] << "\n";
        return 1;
    }
    return 0;
}
