// Prints one resource of a Windows program in hex, read with the tests' own
// PE resource reader: resource-dump FILE TYPE ID. Exit 1 when it is missing.
#include "tests/windows/PeResources.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc != 4)
        return 2;
    const std::optional<PeResources> resources = PeResources::Load(argv[1]);
    if (!resources)
        return 1;
    const auto type = static_cast<uint16_t>(std::strtoul(argv[2], nullptr, 10));
    const auto id = static_cast<uint16_t>(std::strtoul(argv[3], nullptr, 10));
    const std::optional<std::string> bytes = resources->Find(type, id);
    if (!bytes)
        return 1;
    for (const char byte : *bytes)
        std::printf("%02x", static_cast<unsigned char>(byte));
    std::printf("\n");
    return 0;
}
