// The updater's build of the cipher: identical except that an empty input
// comes back unchanged without any work.
#include <gtest/gtest.h>

#include "StringCipher.h"

namespace {

TEST(UpdaterStringCipher, EmptyInputComesBackUnchangedInBothModes)
{
    StringCipherKey key("an updater key string");
    EXPECT_EQ(StringCipher("", key, CipherEncode, 1700000000), "");
    EXPECT_EQ(StringCipher("", key, CipherDecode, 1700000000), "");
}

TEST(UpdaterStringCipher, OtherTextsBehaveAsInTheMainProgram)
{
    StringCipherKey key("an updater key string");
    std::string encoded = StringCipher("http://127.0.0.1/setup.exe", key, CipherEncode, 1700000000);
    EXPECT_EQ(encoded.size(), 7u + 70u);
    EXPECT_EQ(StringCipher(encoded, key, CipherDecode), "http://127.0.0.1/setup.exe");
    EXPECT_EQ(StringCipher("short", key, CipherDecode), "");
}

} // namespace
