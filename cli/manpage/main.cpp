// Writes velkora-cli's manual page: the template with the synopsis and the
// command sections made from the command table.
//   velkora-cli-manpage TEMPLATE OUTPUT
#include "cli/ManPage.h"

#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: velkora-cli-manpage TEMPLATE OUTPUT\n";
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    const std::string pageTemplate((std::istreambuf_iterator<char>(in)),
                                   std::istreambuf_iterator<char>());
    if (!in.good() && !in.eof()) {
        std::cerr << "cannot read " << argv[1] << "\n";
        return 1;
    }
    std::ofstream out(argv[2], std::ios::binary);
    out << ComposeManPage(pageTemplate);
    out.close();
    if (!out) {
        std::cerr << "cannot write " << argv[2] << "\n";
        return 1;
    }
    return 0;
}
