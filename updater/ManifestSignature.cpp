#include "ManifestSignature.h"

#include "FileDigest.h"

#include <windows.h>

#include <bcrypt.h>

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <vector>

#ifndef LUMORA_UPDATE_PUBLIC_KEY
#error "LUMORA_UPDATE_PUBLIC_KEY (X||Y as hex) must be given by the build"
#endif

namespace {

const char kHeader[] = "[SIGNATURE]";
const char kKey[] = "ECDSA=";
const size_t kCoordBytes = 32;
const size_t kSignatureHex = 128;
const DWORD kMaxManifestBytes = 1 << 20;

bool IsLowerHex(const std::string& text)
{
    for (char ch : text) {
        if (!((ch >= '0' && ch <= '9') || (ch >= 'a' && ch <= 'f'))) return false;
    }
    return true;
}

// Skips one "\n" or "\r\n" at `at`; false when there is none.
bool SkipLineEnd(const std::string& data, size_t& at)
{
    if (data.compare(at, 2, "\r\n") == 0) {
        at += 2;
        return true;
    }
    if (data.compare(at, 1, "\n") == 0) {
        at += 1;
        return true;
    }
    return false;
}

// True when a line of `text` is a signature section header (any case): the
// signed part may not carry one, or two readers could disagree on the tail.
bool HasHeaderLine(const std::string& text)
{
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        std::string line = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.size() == strlen(kHeader) && _stricmp(line.c_str(), kHeader) == 0) return true;
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return false;
}

class CngKey
{
public:
    explicit CngKey(const std::string& publicKey)
    {
        if (publicKey.size() != 2 * kCoordBytes) return;
        if (BCryptOpenAlgorithmProvider(&m_algorithm, BCRYPT_ECDSA_P256_ALGORITHM, nullptr, 0) != 0) {
            m_algorithm = nullptr;
            return;
        }
        std::vector<unsigned char> blob(sizeof(BCRYPT_ECCKEY_BLOB) + publicKey.size());
        BCRYPT_ECCKEY_BLOB header = { BCRYPT_ECDSA_PUBLIC_P256_MAGIC, static_cast<ULONG>(kCoordBytes) };
        memcpy(blob.data(), &header, sizeof(header));
        memcpy(blob.data() + sizeof(header), publicKey.data(), publicKey.size());
        if (BCryptImportKeyPair(m_algorithm, nullptr, BCRYPT_ECCPUBLIC_BLOB, &m_key, blob.data(),
                                static_cast<ULONG>(blob.size()), 0) != 0)
            m_key = nullptr;
    }
    ~CngKey()
    {
        if (m_key) BCryptDestroyKey(m_key);
        if (m_algorithm) BCryptCloseAlgorithmProvider(m_algorithm, 0);
    }
    CngKey(const CngKey&) = delete;
    CngKey& operator=(const CngKey&) = delete;

    bool Verify(std::string hash, std::string signature) const
    {
        return m_key &&
            BCryptVerifySignature(m_key, nullptr, reinterpret_cast<PUCHAR>(&hash[0]), static_cast<ULONG>(hash.size()),
                                  reinterpret_cast<PUCHAR>(&signature[0]), static_cast<ULONG>(signature.size()),
                                  0) == 0;
    }

private:
    BCRYPT_ALG_HANDLE m_algorithm = nullptr;
    BCRYPT_KEY_HANDLE m_key = nullptr;
};

bool ReadSmallFile(const std::wstring& path, std::string& bytes)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD size = GetFileSize(file, nullptr);
    bool ok = size != INVALID_FILE_SIZE && size <= kMaxManifestBytes;
    if (ok) {
        bytes.assign(size, '\0');
        DWORD got = 0;
        ok = size == 0 || (ReadFile(file, &bytes[0], size, &got, nullptr) && got == size);
    }
    CloseHandle(file);
    return ok;
}

} // namespace

CManifestSignature CManifestSignature::WithBuiltInKey()
{
    return CManifestSignature(FromHex(LUMORA_UPDATE_PUBLIC_KEY));
}

std::string CManifestSignature::FromHex(const std::string& hex)
{
    if (hex.size() % 2 != 0) return std::string();
    std::string bytes;
    for (size_t i = 0; i < hex.size(); i += 2) {
        char pair[3] = { hex[i], hex[i + 1], '\0' };
        if (!isxdigit(static_cast<unsigned char>(pair[0])) || !isxdigit(static_cast<unsigned char>(pair[1])))
            return std::string();
        bytes += static_cast<char>(strtoul(pair, nullptr, 16));
    }
    return bytes;
}

bool CManifestSignature::Split(const std::string& data, std::string& body, std::string& signature)
{
    // The header is the last one in the file; it must open a line.
    size_t header = data.rfind(kHeader);
    if (header == std::string::npos || (header > 0 && data[header - 1] != '\n')) return false;
    size_t at = header + strlen(kHeader);
    if (!SkipLineEnd(data, at) || data.compare(at, strlen(kKey), kKey) != 0) return false;
    at += strlen(kKey);
    std::string hex = data.substr(at, kSignatureHex);
    if (hex.size() != kSignatureHex || !IsLowerHex(hex)) return false;
    at += kSignatureHex;
    if (at < data.size() && !SkipLineEnd(data, at)) return false;
    if (at != data.size()) return false;
    body = data.substr(0, header);
    if (HasHeaderLine(body)) return false;
    signature = FromHex(hex);
    return true;
}

bool CManifestSignature::VerifyRaw(const std::string& body, const std::string& signature) const
{
    std::string hash = Sha256Of(body);
    if (hash.empty()) return false;
    return CngKey(m_publicKey).Verify(hash, signature);
}

bool CManifestSignature::Verify(const std::string& data) const
{
    std::string body, signature;
    return Split(data, body, signature) && VerifyRaw(body, signature);
}

bool CManifestSignature::VerifyFile(const std::wstring& path) const
{
    std::string data;
    return ReadSmallFile(path, data) && Verify(data);
}
