// Keyed string cipher shared by the main program and the updater.
//
// A text is turned into a short random-looking prefix followed by unpadded
// Base64 of an RC4 stream over an expiry stamp, a check value and the text.
// Decoding yields "" for anything damaged, expired or enciphered with another
// key. All strings are narrow byte strings (UTF-8 in practice).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// MD5 whose digest can be read in the middle of a stream: taking the digest
// pads a copy of the running state, so updating may continue afterwards.
class Md5Context
{
public:
    Md5Context();

    void Reset();
    void Update(const void* data, size_t size);
    // The 16-byte digest of everything fed in since the last Reset.
    const uint8_t* Digest();

private:
    void Transform(const uint8_t block[64]);
    void Finalize();

    uint32_t m_state[4];
    uint32_t m_count[2]; // bit count, low word first
    uint8_t m_buffer[64];
    uint8_t m_digest[16];
    bool m_finalized;
};

// Derived key material for one key string; built once and reused.
class StringCipherKey
{
public:
    explicit StringCipherKey(const std::string& keyString);

    std::string key;       // MD5 hex of the key string
    std::string keyA;      // MD5 hex of key[0..16)
    std::string keyB;      // MD5 hex of key[16..32); salts the check value
    int32_t prefixLength;  // 0, or 32 and above, means no prefix
    int32_t expirySeconds; // 0: encoded text never expires
    Md5Context context;    // working context for deriving the key material
};

enum StringCipherMode : int {
    CipherEncode = 0,
    CipherDecode = 1,
};

// Encodes or decodes with the current time of day as "now".
std::string StringCipher(const std::string& text, const StringCipherKey& key, int mode);
// The same with "now" (seconds since 1970) given by the caller.
std::string StringCipher(const std::string& text, const StringCipherKey& key, int mode, int64_t now);

std::string Md5HexOfString(Md5Context& context, const std::string& text);
std::string Md5DigestToHex(const uint8_t digest[16]);

// RFC 4648 section 4 alphabet used by both Base64 routines.
extern const char Base64Alphabet[];

std::string Base64Encode(const void* bytes, size_t count);
std::string Base64Decode(const std::string& text);

std::string ReplaceAll(const std::string& text, const std::string& pattern, const std::string& replacement);
