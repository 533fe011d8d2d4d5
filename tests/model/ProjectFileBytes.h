#pragma once

#include <cstdint>
#include <string>

namespace test {

// Composes file bytes by hand, independent of the writer under test.
struct FileBytes {
    std::string s;
    FileBytes& U16(unsigned v) {
        s.push_back(static_cast<char>(v & 0xFF));
        s.push_back(static_cast<char>((v >> 8) & 0xFF));
        return *this;
    }
    FileBytes& U32(uint32_t v) {
        U16(v & 0xFFFF);
        return U16(v >> 16);
    }
    FileBytes& Text(const std::string& t) {
        s.push_back(static_cast<char>(t.size()));
        s += t;
        return *this;
    }
    FileBytes& Raw(const std::string& t) {
        s += t;
        return *this;
    }
    FileBytes& NewClass(const std::string& name, unsigned schema) {
        U16(0xFFFF).U16(schema).U16(static_cast<unsigned>(name.size()));
        return Raw(name);
    }
    FileBytes& Header(uint32_t version = 100) {
        U32(version).U32(0).U32(0);
        for (int i = 0; i < 6; ++i)
            Text("");
        U16(0).Text("");
        if (version > 99)
            Text("");
        return *this;
    }
    FileBytes& ResellerFields(uint32_t id, const std::string& name) {
        U32(100).U32(id).Text(name).Text("").Text("").U32(0).Text("").Text("").Text("");
        return U32(0);
    }
    FileBytes& RegInfoFields(unsigned service, const std::string& productId) {
        return Text("").U16(service).Text(productId);
    }
};

} // namespace test
