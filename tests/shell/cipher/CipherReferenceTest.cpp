// Vectors written by the independent Python reference (cipher_reference.py),
// which ctest runs on the host before this program.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "StringCipher.h"

namespace {

struct Vector
{
    std::string keyString;
    int64_t now = 0;
    int32_t expirySeconds = 0;
    int32_t prefixLength = 0;
    std::string text;
    std::string cipher;
};

std::string FromHex(const std::string& hex)
{
    std::string bytes;
    for (size_t i = 0; i + 1 < hex.size(); i += 2) bytes.push_back(char(std::stoi(hex.substr(i, 2), nullptr, 16)));
    return bytes;
}

std::vector<std::string> SplitTabs(const std::string& line)
{
    std::vector<std::string> fields;
    std::string field;
    std::istringstream in(line);
    while (std::getline(in, field, '\t')) fields.push_back(field);
    if (!line.empty() && line.back() == '\t') fields.push_back(std::string());
    return fields;
}

std::vector<Vector> LoadVectors()
{
    std::vector<Vector> vectors;
    std::ifstream in("string_cipher_vectors.tsv");
    std::string line;
    while (std::getline(in, line)) {
        std::vector<std::string> f = SplitTabs(line);
        if (f.size() != 6) {
            ADD_FAILURE() << "malformed vector line: " << line;
            continue;
        }
        Vector v;
        v.keyString = FromHex(f[0]);
        v.now = std::stoll(f[1]);
        v.expirySeconds = std::stoi(f[2]);
        v.prefixLength = std::stoi(f[3]);
        v.text = FromHex(f[4]);
        v.cipher = f[5];
        vectors.push_back(v);
    }
    return vectors;
}

StringCipherKey KeyFor(const Vector& v)
{
    StringCipherKey key(v.keyString);
    key.expirySeconds = v.expirySeconds;
    key.prefixLength = v.prefixLength;
    return key;
}

class CipherReference : public ::testing::Test
{
protected:
    void SetUp() override
    {
        vectors_ = LoadVectors();
        ASSERT_GE(vectors_.size(), 10u) << "the reference vectors were not written";
    }
    std::vector<Vector> vectors_;
};

TEST_F(CipherReference, EncoderMatchesTheReferenceByteForByte)
{
    for (const Vector& v : vectors_)
        EXPECT_EQ(StringCipher(v.text, KeyFor(v), CipherEncode, v.now), v.cipher)
            << "text of " << v.text.size() << " bytes at " << v.now;
}

TEST_F(CipherReference, DecoderReadsTheReferenceTexts)
{
    for (const Vector& v : vectors_) {
        int64_t later = v.now + (v.expirySeconds ? v.expirySeconds - 1 : 1000000000);
        EXPECT_EQ(StringCipher(v.cipher, KeyFor(v), CipherDecode, later), v.text)
            << "text of " << v.text.size() << " bytes at " << v.now;
    }
}

} // namespace
