// The signature check of the update manifest and the file digests, on CNG
// as the updater uses it; the signatures come from the tests' key pair.
#include "FileDigest.h"
#include "ManifestSignature.h"
#include "UpdateManifestSigner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>

namespace {

const std::string kManifest = "[RUN]\r\nMODE=1\r\n[SETUP]\r\nVERSION=9.9\r\nNAME=setup.exe\r\n";

CManifestSignature Verifier()
{
    return CManifestSignature::WithBuiltInKey();
}

TEST(ManifestSignature, TheTestsKeyIsTrustedAndItsSignatureVerifies)
{
    EXPECT_TRUE(Verifier().Verify(SignedManifest(kManifest)));
    // Line feeds alone are signed as they stand too.
    EXPECT_TRUE(Verifier().Verify(SignedManifest("[SETUP]\nVERSION=1.0\n")));
}

TEST(ManifestSignature, AnythingButTheSignedBytesWithTheirTailIsRefused)
{
    const std::string good = SignedManifest(kManifest);
    const size_t tail = good.find("[SIGNATURE]");
    const size_t hex = good.find("ECDSA=") + 6;
    std::string flippedBody = good;
    flippedBody[10] ^= 0x01;
    std::string flippedSignature = good;
    flippedSignature[hex + 5] = flippedSignature[hex + 5] == '0' ? '1' : '0';
    std::string upperHex = good;
    for (size_t i = hex; i < hex + 128; ++i) upperHex[i] = static_cast<char>(toupper(upperHex[i]));
    struct Case
    {
        const char* what;
        std::string data;
    } cases[] = {
        { "no signature", kManifest },
        { "a bit of the manifest flipped", flippedBody },
        { "a digit of the signature changed", flippedSignature },
        { "signed by another key", SignedWithOtherKey(kManifest) },
        { "text after the signature line", good + "[RUN]\r\nMODE=1\r\n" },
        { "a second line end after it", good + "\r\n" },
        { "the signature line cut short", good.substr(0, good.size() - 10) },
        { "no signature line", good.substr(0, tail) + "[SIGNATURE]\r\n" },
        { "upper-case hex", upperHex },
        { "a second signature section", SignedManifest(good) },
        { "an entry added before the tail", good.substr(0, tail) + "[RUN]\r\nMODE=1\r\n" + good.substr(tail) },
        { "the header inside a line", good.substr(0, tail - 2) + good.substr(tail) },
        { "empty", std::string() },
    };
    for (const Case& c : cases) EXPECT_FALSE(Verifier().Verify(c.data)) << c.what;
    EXPECT_TRUE(Verifier().Verify(good));
}

TEST(ManifestSignature, TheTailMaySkipItsLastLineEnd)
{
    std::string good = SignedManifest(kManifest);
    EXPECT_TRUE(Verifier().Verify(good.substr(0, good.size() - 2)));
}

TEST(ManifestSignature, AnotherPublicKeyVerifiesNothingOfOurs)
{
    std::string data = SignedManifest(kManifest);
    std::string key = CManifestSignature::FromHex(std::string(128, 'a'));
    EXPECT_FALSE(CManifestSignature(key).Verify(data));
    EXPECT_FALSE(CManifestSignature(std::string()).Verify(data));
}

// The publisher's tool (tools/sign_update.py, run by the build) and the
// updater agree: its signature verifies, and it replaced the stale one.
TEST(ManifestSignature, TheSigningToolsManifestVerifies)
{
    std::ifstream file(LUMORA_TEST_BUILD_DIR L"\\tests\\tool_signed_manifest.ini", std::ios::binary);
    ASSERT_TRUE(file.good());
    std::string data((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    EXPECT_TRUE(Verifier().Verify(data));
    EXPECT_EQ(3, std::count(data.begin(), data.end(), '[')); // RUN, SETUP and one SIGNATURE
    EXPECT_EQ(std::string::npos, data.find(std::string(128, '0')));
    std::string body, signature;
    ASSERT_TRUE(CManifestSignature::Split(data, body, signature));
    EXPECT_EQ(0u, body.find("[RUN]\r\nMODE=1\r\n"));
}

TEST(FileDigest, SizeAndShaOfKnownBytes)
{
    // SHA-256 of "abc" (FIPS 180-2 example).
    EXPECT_EQ("ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad", ToHex(Sha256Of("abc")));
    char path[MAX_PATH];
    GetTempPathA(MAX_PATH, path);
    std::string file = std::string(path) + "lumora_digest_test.bin";
    std::ofstream(file, std::ios::binary) << "abc";
    FileDigest digest;
    ASSERT_TRUE(ComputeFileDigest(file, digest));
    EXPECT_EQ(3u, digest.size);
    EXPECT_EQ(ToHex(Sha256Of("abc")), digest.sha256);
    EXPECT_TRUE(FileMatchesDigest(file, digest));
    std::ofstream(file, std::ios::binary) << "abd";
    EXPECT_FALSE(FileMatchesDigest(file, digest));
    DeleteFileA(file.c_str());
    EXPECT_FALSE(FileMatchesDigest(file, digest));
}

TEST(FileDigest, ManifestValuesAreParsedStrictly)
{
    const std::wstring sha = L"BA7816BF8F01CFEA414140DE5DAE2223B00361A396177A9CB410FF61F20015AD";
    FileDigest digest;
    ASSERT_TRUE(ParseFileDigest(L"3", sha, digest));
    EXPECT_EQ(3u, digest.size);
    EXPECT_EQ(ToHex(Sha256Of("abc")), digest.sha256);
    struct Case
    {
        std::wstring size, sha;
    } refused[] = {
        { L"", sha },           { L"3", L"" },           { L"-3", sha },       { L"3x", sha },
        { L"4294967296", sha }, { L"3", sha.substr(1) }, { L"3", sha + L"0" }, { L"3", L"g" + sha.substr(1) },
    };
    for (const Case& c : refused) {
        FileDigest unused;
        EXPECT_FALSE(ParseFileDigest(c.size, c.sha, unused));
    }
}

} // namespace
