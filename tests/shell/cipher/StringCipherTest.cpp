#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "StringCipher.h"

namespace {

const int64_t kNow = 1700000000;
const char kViewKey[] = "m!r+t#v$w%xyz^q&k*n(j";

std::string Md5Hex(const std::string& text)
{
    Md5Context context;
    return Md5HexOfString(context, text);
}

std::string Encode(const std::string& text, const StringCipherKey& key, int64_t now = kNow)
{
    return StringCipher(text, key, CipherEncode, now);
}

std::string Decode(const std::string& text, const StringCipherKey& key, int64_t now = kNow)
{
    return StringCipher(text, key, CipherDecode, now);
}

// ---- Known answers ---------------------------------------------------------

TEST(Md5, MatchesRfc1321TestSuite)
{
    const struct
    {
        const char* text;
        const char* hex;
    } cases[] = {
        { "", "d41d8cd98f00b204e9800998ecf8427e" },
        { "a", "0cc175b9c0f1b6a831c399e269772661" },
        { "abc", "900150983cd24fb0d6963f7d28e17f72" },
        { "message digest", "f96b697d7cb7938d525a2f31aaf161d0" },
        { "abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b" },
        { "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789", "d174ab98d277d9f5a5611c2c9f419d9f" },
        { "12345678901234567890123456789012345678901234567890123456789012345678901234567890",
          "57edf4a22be3c955ac49da2e2107b67a" },
    };
    for (const auto& c : cases) EXPECT_EQ(Md5Hex(c.text), c.hex) << '"' << c.text << '"';
}

// A digest taken midway must not disturb the stream, wherever the split falls
// in the 64-byte block (including past the 56-byte padding boundary).
TEST(Md5, DigestTakenMidStreamLeavesTheStreamIntact)
{
    std::string text;
    for (int i = 0; i < 200; ++i) text.push_back(char(i * 7 + 3));
    const std::string whole = Md5Hex(text);
    for (size_t split = 0; split <= text.size(); ++split) {
        Md5Context context;
        context.Update(text.data(), split);
        EXPECT_EQ(Md5DigestToHex(context.Digest()), Md5Hex(text.substr(0, split))) << split;
        context.Update(text.data() + split, text.size() - split);
        EXPECT_EQ(Md5DigestToHex(context.Digest()), whole) << split;
    }
}

TEST(Md5, ByteByByteUpdatesEqualOneUpdate)
{
    std::string text(1000, 'x');
    for (size_t i = 0; i < text.size(); ++i) text[i] = char(i % 251);
    Md5Context context;
    for (char c : text) context.Update(&c, 1);
    EXPECT_EQ(Md5DigestToHex(context.Digest()), Md5Hex(text));
}

TEST(Base64, MatchesRfc4648Vectors)
{
    const struct
    {
        const char* bytes;
        const char* text;
    } cases[] = {
        { "", "" },
        { "f", "Zg==" },
        { "fo", "Zm8=" },
        { "foo", "Zm9v" },
        { "foob", "Zm9vYg==" },
        { "fooba", "Zm9vYmE=" },
        { "foobar", "Zm9vYmFy" },
    };
    for (const auto& c : cases) {
        std::string bytes = c.bytes;
        EXPECT_EQ(Base64Encode(bytes.data(), bytes.size()), c.text);
        EXPECT_EQ(Base64Decode(c.text), bytes);
        EXPECT_EQ(Base64Decode(ReplaceAll(c.text, "=", "")), bytes) << "unpadded " << c.text;
    }
}

TEST(Base64, DecodeStopsAtTheFirstForeignCharacter)
{
    const struct
    {
        const char* text;
        const char* bytes;
    } cases[] = {
        { "Zm9v!Zm9v", "foo" }, { "Zm9v\nYmFy", "foo" }, { "Zm9v=YmFy", "foo" }, { "Zm9vY", "foo" }, { "Z", "" },
        { "-_-_", "" },
    };
    for (const auto& c : cases) EXPECT_EQ(Base64Decode(c.text), c.bytes) << c.text;
}

TEST(Base64, EveryByteValueRoundTrips)
{
    std::string bytes;
    for (int i = 0; i < 256; ++i) bytes.push_back(char(i));
    for (size_t length = 0; length <= bytes.size(); length += 37) {
        std::string part = bytes.substr(bytes.size() - length);
        EXPECT_EQ(Base64Decode(Base64Encode(part.data(), part.size())), part);
    }
    EXPECT_EQ(std::string(Base64Alphabet), "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/");
}

TEST(ReplaceAll, ScansOnFromTheEndOfEachReplacement)
{
    const struct
    {
        const char* text;
        const char* pattern;
        const char* replacement;
        const char* result;
    } cases[] = {
        { "ab==c=", "=", "", "abc" }, { "aaa", "a", "aa", "aaaaaa" }, { "xx", "x", "", "" },
        { "abc", "", "x", "abc" },    { "", "a", "b", "" },
    };
    for (const auto& c : cases) EXPECT_EQ(ReplaceAll(c.text, c.pattern, c.replacement), c.result) << c.text;
}

// ---- The cipher ------------------------------------------------------------

// The key material is written out here once (MD5 taken outside this code), so
// a change of the derivation shows even where the MD5 routine changes with it.
TEST(StringCipherKey, DerivesItsKeysFromMd5OfTheKeyString)
{
    StringCipherKey key(kViewKey);
    EXPECT_EQ(key.key, "7f95260cc2aa372d468c07cc5d0cca6b");
    EXPECT_EQ(key.keyA, "b08a56c8f89c671dcb3920f9706b74c3");
    EXPECT_EQ(key.keyB, "1d6576566a337c6d35aa099d92630579");
    EXPECT_EQ(key.prefixLength, 7);
    EXPECT_EQ(key.expirySeconds, 0);
}

// A text enciphered once and written here: stored addresses keep deciphering
// only while the algorithm stays the same.
TEST(StringCipher, FixedViewKeyVector)
{
    const std::string text = "http://127.0.0.1/tv/index.html?id=7";
    const std::string cipher =
        "8eeafc19F5IPrnBH7MdpXvl+K5u7wkRApB/RHZ+DrYDucQrLKA5jqYz8q2oACd20orED/Tq/730DliZn48j0fRWiA";
    StringCipherKey key(kViewKey);
    EXPECT_EQ(Encode(text, key), cipher);
    EXPECT_EQ(Decode(cipher, key), text);
}

TEST(StringCipher, Properties)
{
    const StringCipherKey key(kViewKey);
    const StringCipherKey otherKey("m!r+t#v$w%xyz^q&k*n(J");
    StringCipherKey expiring(kViewKey);
    expiring.expirySeconds = 10;
    const std::string utf8 = "\xe7\x94\xa8\xe6\x88\xb7 \xe7\x94\xb5\xe8\xa7\x86 \xf0\x9f\x93\xba";
    std::string longText;
    for (int i = 0; i < 100000; ++i) longText.push_back(char('a' + i % 26));
    const std::string binary("\0\x01\xff=\0", 5);
    const std::string sample = "http://127.0.0.1/tv/index.html?id=7";
    const std::string encoded = Encode(sample, key);

    const struct
    {
        const char* name;
        std::function<std::string()> result;
        std::string expected;
    } cases[] = {
        { "ascii round trip", [&] { return Decode(Encode(sample, key), key); }, sample },
        { "utf-8 round trip", [&] { return Decode(Encode(utf8, key), key); }, utf8 },
        { "long text round trip", [&] { return Decode(Encode(longText, key), key); }, longText },
        { "bytes with NUL round trip", [&] { return Decode(Encode(binary, key), key); }, binary },
        { "empty text round trip", [&] { return Decode(Encode("", key), key); }, "" },
        { "another second, same text", [&] { return Decode(Encode(sample, key, kNow + 1), key); }, sample },
        { "stamp 0 never expires", [&] { return Decode(encoded, key, kNow + 400000000); }, sample },
        { "wrong key", [&] { return Decode(encoded, otherKey); }, "" },
        { "empty input", [&] { return Decode("", key); }, "" },
        { "7 characters", [&] { return Decode(encoded.substr(0, 7), key); }, "" },
        { "26 body bytes", [&] { return Decode(Encode("", key), key); }, "" },
        { "cut to 26 body bytes", [&] { return Decode(encoded.substr(0, 7 + 35), key); }, "" },
        { "cut by one character", [&] { return Decode(encoded.substr(0, encoded.size() - 1), key); }, "" },
        { "padding put back", [&] { return Decode(encoded + "=", key); }, sample },
        { "before expiry", [&] { return Decode(Encode(sample, expiring), expiring, kNow + 9); }, sample },
        { "at expiry", [&] { return Decode(Encode(sample, expiring), expiring, kNow + 10); }, "" },
        { "after expiry", [&] { return Decode(Encode(sample, expiring), expiring, kNow + 11); }, "" },
    };
    for (const auto& c : cases) EXPECT_EQ(c.result(), c.expected) << c.name;
}

TEST(StringCipher, EncodedEmptyTextIs42Characters)
{
    StringCipherKey key(kViewKey);
    std::string encoded = Encode("", key);
    EXPECT_EQ(encoded.size(), 42u);
    EXPECT_EQ(encoded.substr(0, 7), Md5Hex(std::to_string(kNow)).substr(25));
}

TEST(StringCipher, EncodedTextNeverContainsPadding)
{
    StringCipherKey key(kViewKey);
    for (int length = 0; length < 12; ++length) {
        std::string encoded = Encode(std::string(size_t(length), 'q'), key);
        EXPECT_EQ(encoded.find('='), std::string::npos) << length;
    }
}

TEST(StringCipher, PrefixDependsOnTheSecond)
{
    StringCipherKey key(kViewKey);
    EXPECT_EQ(Encode("same", key, kNow), Encode("same", key, kNow));
    EXPECT_NE(Encode("same", key, kNow), Encode("same", key, kNow + 1));
}

// Every character that carries prefix, check value or text must matter. The
// stamp's characters are left out: the check value does not cover them.
TEST(StringCipher, AnyChangedCharacterDecodesToNothing)
{
    StringCipherKey key(kViewKey);
    const std::string encoded = Encode("a text worth protecting", key);
    const size_t firstCheckCharacter = 7 + 14; // Base64 character 14 starts in byte 10
    for (size_t at = 0; at < encoded.size(); ++at) {
        if (at >= 7 && at < firstCheckCharacter) continue;
        std::string damaged = encoded;
        // Flipping the top bit of the 6-bit value always reaches a decoded byte.
        int value = int(std::string(Base64Alphabet).find(damaged[at]));
        damaged[at] = Base64Alphabet[value ^ 0x20];
        EXPECT_EQ(Decode(damaged, key), "") << "position " << at;
    }
}

TEST(StringCipher, KeyWithoutPrefix)
{
    for (int32_t length : { 0, 32, 40 }) {
        StringCipherKey key(kViewKey);
        key.prefixLength = length;
        std::string encoded = Encode("no prefix", key);
        EXPECT_EQ(Base64Decode(encoded).size(), 26u + 9u) << length;
        EXPECT_EQ(Decode(encoded, key), "no prefix") << length;
    }
}

TEST(StringCipher, MainProgramBuildEncodesTheEmptyText)
{
    StringCipherKey key(kViewKey);
    EXPECT_EQ(StringCipher("", key, CipherEncode).size(), 42u);
    EXPECT_EQ(StringCipher("", key, CipherDecode), "");
}

TEST(StringCipher, UsesTheClockWhenNoTimeIsGiven)
{
    StringCipherKey key(kViewKey);
    key.expirySeconds = 3600;
    EXPECT_EQ(StringCipher(StringCipher("now", key, CipherEncode), key, CipherDecode), "now");
}

} // namespace
