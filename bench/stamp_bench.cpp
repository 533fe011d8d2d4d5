// Stamps one signed template N times into one output file, each time with
// another affiliate's information, as a stamp run of N affiliates writes
// its copies (the template read once). Prints the wall seconds.
//   bench-stamp TEMPLATE OUTPUT N
#include "package/StampContent.h"
#include "package/StampTemplate.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: bench-stamp TEMPLATE OUTPUT N\n");
        return 2;
    }
    const auto start = std::chrono::steady_clock::now();
    CStampTemplate stampTemplate;
    if (!stampTemplate.Open(argv[1])) {
        std::fprintf(stderr, "%s %s\n", argv[1], std::string(stampTemplate.Problem()).c_str());
        return 1;
    }
    const long count = std::strtol(argv[3], nullptr, 10);
    for (long i = 0; i < count; ++i) {
        CAffiliateInfo info;
        info.m_strKey = "5A8C7E10-30B2-4C61-9D57-2E1F0A3B4C5D";
        info.m_strLink = "https://buy.example.com/?affiliate=" + std::to_string(i) + "&item=1";
        info.m_strWebSite = "https://affiliate" + std::to_string(i) + ".example";
        if (stampTemplate.WriteCopy(StampContentOf(info), argv[2]) != SFX_OK) {
            std::fprintf(stderr, "copy %ld failed\n", i);
            return 1;
        }
    }
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    std::printf("%.6f\n", took.count());
    return 0;
}
