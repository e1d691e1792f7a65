#include "UpdateManifestSigner.h"

#include "FileDigest.h"
#include "ManifestSignature.h"

#include <windows.h>

#include <bcrypt.h>

#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace {

const size_t kCoordBytes = 32;

// X||Y||d of an ECDSA P-256 key, signing with CNG.
std::string SignBody(const std::string& privateBlobHex, const std::string& body)
{
    std::string key = CManifestSignature::FromHex(privateBlobHex);
    std::string hash = Sha256Of(body);
    if (key.size() != 3 * kCoordBytes || hash.empty()) throw std::runtime_error("test key or hash unusable");
    BCRYPT_ALG_HANDLE algorithm = nullptr;
    BCRYPT_KEY_HANDLE handle = nullptr;
    std::vector<unsigned char> blob(sizeof(BCRYPT_ECCKEY_BLOB) + key.size());
    BCRYPT_ECCKEY_BLOB header = { BCRYPT_ECDSA_PRIVATE_P256_MAGIC, static_cast<ULONG>(kCoordBytes) };
    memcpy(blob.data(), &header, sizeof(header));
    memcpy(blob.data() + sizeof(header), key.data(), key.size());
    unsigned char signature[2 * kCoordBytes] = {};
    ULONG length = 0;
    bool ok = BCryptOpenAlgorithmProvider(&algorithm, BCRYPT_ECDSA_P256_ALGORITHM, nullptr, 0) == 0 &&
        BCryptImportKeyPair(algorithm, nullptr, BCRYPT_ECCPRIVATE_BLOB, &handle, blob.data(),
                            static_cast<ULONG>(blob.size()), 0) == 0 &&
        BCryptSignHash(handle, nullptr, reinterpret_cast<PUCHAR>(&hash[0]), static_cast<ULONG>(hash.size()), signature,
                       sizeof(signature), &length, 0) == 0 &&
        length == sizeof(signature);
    if (handle) BCryptDestroyKey(handle);
    if (algorithm) BCryptCloseAlgorithmProvider(algorithm, 0);
    if (!ok) throw std::runtime_error("CNG could not sign with the test key");
    return ToHex(std::string(reinterpret_cast<char*>(signature), sizeof(signature)));
}

std::string Sign(const std::string& privateBlobHex, std::string text)
{
    if (!text.empty() && text.back() != '\n') text += "\r\n";
    return text + "[SIGNATURE]\r\nECDSA=" + SignBody(privateBlobHex, text) + "\r\n";
}

} // namespace

std::string SignedManifest(const std::string& text)
{
    return Sign(LUMORA_UPDATE_TEST_PRIVATE_KEY, text);
}

std::string SignedWithOtherKey(const std::string& text)
{
    return Sign(LUMORA_UPDATE_OTHER_TEST_PRIVATE_KEY, text);
}

std::string DigestKeys(const std::string& bytes, const std::string& suffix)
{
    return "SIZE" + suffix + "=" + std::to_string(bytes.size()) + "\r\nSHA256" + suffix + "=" + ToHex(Sha256Of(bytes)) +
        "\r\n";
}

std::string DigestKeysOfFile(const std::wstring& path, const std::string& suffix)
{
    FileDigest digest;
    if (!ComputeFileDigest(path, digest)) throw std::runtime_error("cannot read a file to describe");
    return "SIZE" + suffix + "=" + std::to_string(digest.size) + "\r\nSHA256" + suffix + "=" + digest.sha256 + "\r\n";
}
