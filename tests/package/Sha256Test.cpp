#include "package/Sha256.h"

#include <gtest/gtest.h>

namespace {

struct Vector {
    std::string message;
    std::string digest;
};

class Sha256VectorTest : public ::testing::TestWithParam<Vector> {};

TEST_P(Sha256VectorTest, WholeAndInPiecesGiveTheStandardDigest) {
    const Vector& v = GetParam();
    EXPECT_EQ(CSha256::HexOf(v.message), v.digest);
    // Pieces that straddle every block and padding boundary.
    for (size_t piece : {1u, 55u, 56u, 63u, 64u, 65u}) {
        CSha256 sha;
        for (size_t i = 0; i < v.message.size(); i += piece)
            sha.Update(v.message.data() + i, std::min(piece, v.message.size() - i));
        EXPECT_EQ(CSha256::Hex(sha.Finish()), v.digest) << "pieces of " << piece;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Standard, Sha256VectorTest,
    ::testing::Values(
        Vector{"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        Vector{"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        Vector{"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
               "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        Vector{"abcdefghbcdefghicdefghijdefghijkefghijklfghijklmghijklmnhijklmnoijklmnopjklmnopq"
               "klmnopqrlmnopqrsmnopqrstnopqrstu",
               "cf5b16a778af8380036ce59e7b0492370b249b11e8f07a51afac45037afee9d1"},
        Vector{std::string(1000000, 'a'),
               "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"}));

} // namespace
