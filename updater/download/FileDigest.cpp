#include "FileDigest.h"

#include <bcrypt.h>

#include <cwctype>
#include <vector>

namespace {

const size_t kReadBlock = 1 << 20;
const size_t kShaBytes = 32;

// One incremental SHA-256 over CNG; closes its handles when it goes.
class Sha256
{
public:
    Sha256()
    {
        if (BCryptOpenAlgorithmProvider(&m_algorithm, BCRYPT_SHA256_ALGORITHM, nullptr, 0) != 0) {
            m_algorithm = nullptr;
            return;
        }
        if (BCryptCreateHash(m_algorithm, &m_hash, nullptr, 0, nullptr, 0, 0) != 0) m_hash = nullptr;
    }
    ~Sha256()
    {
        if (m_hash) BCryptDestroyHash(m_hash);
        if (m_algorithm) BCryptCloseAlgorithmProvider(m_algorithm, 0);
    }
    Sha256(const Sha256&) = delete;
    Sha256& operator=(const Sha256&) = delete;

    bool Add(const void* data, ULONG size)
    {
        return m_hash && BCryptHashData(m_hash, static_cast<PUCHAR>(const_cast<void*>(data)), size, 0) == 0;
    }
    std::string Finish()
    {
        unsigned char out[kShaBytes] = {};
        if (!m_hash || BCryptFinishHash(m_hash, out, sizeof(out), 0) != 0) return std::string();
        return std::string(reinterpret_cast<char*>(out), sizeof(out));
    }

private:
    BCRYPT_ALG_HANDLE m_algorithm = nullptr;
    BCRYPT_HASH_HANDLE m_hash = nullptr;
};

bool DigestOfHandle(HANDLE file, FileDigest& digest)
{
    LARGE_INTEGER size = {};
    if (!GetFileSizeEx(file, &size) || size.QuadPart > 0xFFFFFFFFll) return false;
    Sha256 sha;
    std::vector<char> block(kReadBlock);
    unsigned long long total = 0;
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(file, block.data(), static_cast<DWORD>(block.size()), &got, nullptr)) return false;
        if (got == 0) break;
        if (!sha.Add(block.data(), got)) return false;
        total += got;
    }
    std::string raw = sha.Finish();
    if (raw.empty() || total > 0xFFFFFFFFull) return false;
    digest.size = static_cast<DWORD>(total);
    digest.sha256 = ToHex(raw);
    return true;
}

bool DigestOf(HANDLE file, FileDigest& digest)
{
    if (file == INVALID_HANDLE_VALUE) return false;
    bool ok = DigestOfHandle(file, digest);
    CloseHandle(file);
    return ok;
}

int HexValue(wchar_t ch)
{
    if (ch >= L'0' && ch <= L'9') return ch - L'0';
    if (ch >= L'a' && ch <= L'f') return ch - L'a' + 10;
    if (ch >= L'A' && ch <= L'F') return ch - L'A' + 10;
    return -1;
}

} // namespace

std::string ToHex(const std::string& bytes)
{
    static const char kDigits[] = "0123456789abcdef";
    std::string hex;
    hex.reserve(bytes.size() * 2);
    for (unsigned char byte : bytes) {
        hex += kDigits[byte >> 4];
        hex += kDigits[byte & 15];
    }
    return hex;
}

std::string Sha256Of(const std::string& bytes)
{
    Sha256 sha;
    if (!sha.Add(bytes.data(), static_cast<ULONG>(bytes.size()))) return std::string();
    return sha.Finish();
}

// Opened to share with readers only: no one changes the bytes while they are hashed.
bool ComputeFileDigest(const std::string& path, FileDigest& digest)
{
    return DigestOf(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_FLAG_SEQUENTIAL_SCAN, nullptr),
                    digest);
}

bool ComputeFileDigest(const std::wstring& path, FileDigest& digest)
{
    return DigestOf(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_FLAG_SEQUENTIAL_SCAN, nullptr),
                    digest);
}

bool FileMatchesDigest(const std::string& path, const FileDigest& expected)
{
    FileDigest actual;
    return !expected.sha256.empty() && ComputeFileDigest(path, actual) && actual == expected;
}

bool FileMatchesDigest(const std::wstring& path, const FileDigest& expected)
{
    FileDigest actual;
    return !expected.sha256.empty() && ComputeFileDigest(path, actual) && actual == expected;
}

bool ParseFileDigest(const std::wstring& sizeText, const std::wstring& shaText, FileDigest& digest)
{
    if (sizeText.empty() || sizeText.size() > 10 || shaText.size() != kShaBytes * 2) return false;
    unsigned long long size = 0;
    for (wchar_t ch : sizeText) {
        if (ch < L'0' || ch > L'9') return false;
        size = size * 10 + (ch - L'0');
    }
    if (size > 0xFFFFFFFFull) return false;
    std::string sha;
    for (wchar_t ch : shaText) {
        if (HexValue(ch) < 0) return false;
        sha += static_cast<char>(towlower(ch));
    }
    digest.size = static_cast<DWORD>(size);
    digest.sha256 = sha;
    return true;
}
