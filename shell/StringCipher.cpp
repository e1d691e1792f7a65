#include "StringCipher.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <utility>

// A constant array rather than a std::string: it is ready before any other
// program-wide object is constructed, whatever the order of construction.
const char Base64Alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

namespace {

// Expiry stamp (10 digits) followed by the check value (16 hex digits).
constexpr size_t kStampLength = 10;
constexpr size_t kCheckLength = 16;
constexpr size_t kHeaderLength = kStampLength + kCheckLength;

// ---- MD5 (RFC 1321) -------------------------------------------------------

uint32_t RotateLeft(uint32_t x, int n)
{
    return (x << n) | (x >> (32 - n));
}

uint32_t F(uint32_t x, uint32_t y, uint32_t z)
{
    return (x & y) | (~x & z);
}
uint32_t G(uint32_t x, uint32_t y, uint32_t z)
{
    return (x & z) | (y & ~z);
}
uint32_t H(uint32_t x, uint32_t y, uint32_t z)
{
    return x ^ y ^ z;
}
uint32_t I(uint32_t x, uint32_t y, uint32_t z)
{
    return y ^ (x | ~z);
}

template <uint32_t (*Round)(uint32_t, uint32_t, uint32_t)>
void Step(uint32_t& a, uint32_t b, uint32_t c, uint32_t d, uint32_t x, int s, uint32_t t)
{
    a = b + RotateLeft(a + Round(b, c, d) + x + t, s);
}

uint32_t LoadLittleEndian(const uint8_t* p)
{
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

void StoreLittleEndian(uint32_t value, uint8_t* p)
{
    for (int i = 0; i < 4; ++i) p[i] = uint8_t(value >> (8 * i));
}

// ---- RC4 over the body ----------------------------------------------------

struct KeyBox
{
    uint8_t box[256];
};

KeyBox ScheduleKey(const std::string& cipherKey)
{
    KeyBox k;
    uint8_t rnd[256];
    for (int i = 0; i < 256; ++i) {
        k.box[i] = uint8_t(i);
        rnd[i] = uint8_t(cipherKey[size_t(i) % cipherKey.size()]);
    }
    int j = 0;
    for (int i = 0; i < 256; ++i) {
        j = (j + k.box[i] + rnd[i]) % 256;
        std::swap(k.box[i], k.box[j]);
    }
    return k;
}

std::string RunStream(KeyBox k, const std::string& body)
{
    std::string out;
    out.reserve(body.size());
    int a = 0;
    int j = 0;
    for (unsigned char c : body) {
        a = (a + 1) % 256;
        j = (j + k.box[a]) % 256;
        std::swap(k.box[a], k.box[j]);
        out.push_back(char(c ^ k.box[(k.box[a] + k.box[j]) % 256]));
    }
    return out;
}

// ---- The cipher's steps ---------------------------------------------------

bool HasPrefix(const StringCipherKey& key)
{
    return key.prefixLength > 0 && key.prefixLength < 32;
}

std::string FormatUnsigned(uint32_t value)
{
    char text[16];
    std::snprintf(text, sizeof text, "%u", static_cast<unsigned>(value));
    return text;
}

std::string FormatExpiry(const StringCipherKey& key, int64_t now)
{
    int32_t expiry = 0;
    if (key.expirySeconds != 0) expiry = int32_t(uint32_t(now) + uint32_t(key.expirySeconds));
    char text[16];
    std::snprintf(text, sizeof text, "%010d", static_cast<int>(expiry));
    return text;
}

std::string CheckValue(Md5Context& context, const std::string& text, const StringCipherKey& key)
{
    return Md5HexOfString(context, text + key.keyB).substr(0, kCheckLength);
}

std::string Encode(const std::string& text, const StringCipherKey& key, int64_t now)
{
    Md5Context context;
    std::string prefix;
    if (HasPrefix(key)) {
        std::string stampHash = Md5HexOfString(context, FormatUnsigned(uint32_t(now)));
        prefix = stampHash.substr(stampHash.size() - size_t(key.prefixLength));
    }
    std::string cipherKey = key.keyA + Md5HexOfString(context, key.keyA + prefix);
    std::string body = FormatExpiry(key, now) + CheckValue(context, text, key) + text;
    std::string stream = RunStream(ScheduleKey(cipherKey), body);
    return prefix + ReplaceAll(Base64Encode(stream.data(), stream.size()), "=", "");
}

// The stamp is read like atoi would, but wide enough that ten digits never overflow.
int64_t ParseStamp(const std::string& out)
{
    std::string digits = out.substr(0, kStampLength);
    return std::strtoll(digits.c_str(), nullptr, 10);
}

std::string Decode(const std::string& text, const StringCipherKey& key, int64_t now)
{
    size_t prefixLength = HasPrefix(key) ? size_t(key.prefixLength) : 0;
    if (text.size() < prefixLength) return std::string();
    Md5Context context;
    std::string prefix = text.substr(0, prefixLength);
    std::string cipherKey = key.keyA + Md5HexOfString(context, key.keyA + prefix);
    std::string out = RunStream(ScheduleKey(cipherKey), Base64Decode(text.substr(prefixLength)));
    if (out.size() <= kHeaderLength) return std::string();

    int64_t stamp = ParseStamp(out);
    bool current = stamp == 0 || stamp - now > 0;
    std::string plain = out.substr(kHeaderLength);
    bool intact = out.compare(kStampLength, kCheckLength, CheckValue(context, plain, key)) == 0;
    return current && intact ? plain : std::string();
}

} // namespace

// ---- Md5Context -----------------------------------------------------------

Md5Context::Md5Context()
{
    Reset();
}

void Md5Context::Reset()
{
    m_state[0] = 0x67452301;
    m_state[1] = 0xefcdab89;
    m_state[2] = 0x98badcfe;
    m_state[3] = 0x10325476;
    m_count[0] = m_count[1] = 0;
    std::memset(m_buffer, 0, sizeof m_buffer);
    std::memset(m_digest, 0, sizeof m_digest);
    m_finalized = false;
}

void Md5Context::Update(const void* data, size_t size)
{
    m_finalized = false;
    const uint8_t* input = static_cast<const uint8_t*>(data);
    size_t index = (m_count[0] >> 3) & 0x3F;
    uint64_t bits = (uint64_t(m_count[1]) << 32 | m_count[0]) + uint64_t(size) * 8;
    m_count[0] = uint32_t(bits);
    m_count[1] = uint32_t(bits >> 32);

    size_t room = 64 - index;
    size_t used = 0;
    if (size >= room) {
        std::memcpy(m_buffer + index, input, room);
        Transform(m_buffer);
        for (used = room; used + 64 <= size; used += 64) Transform(input + used);
        index = 0;
    }
    std::memcpy(m_buffer + index, input + used, size - used);
}

const uint8_t* Md5Context::Digest()
{
    if (!m_finalized) Finalize();
    return m_digest;
}

// Pads a copy so the running state, count and buffered bytes stay untouched
// and the stream can go on after a digest taken midway.
void Md5Context::Finalize()
{
    Md5Context tail = *this;
    uint8_t length[8];
    StoreLittleEndian(m_count[0], length);
    StoreLittleEndian(m_count[1], length + 4);

    static const uint8_t kPadding[64] = { 0x80 };
    size_t index = (m_count[0] >> 3) & 0x3F;
    size_t padLength = index < 56 ? 56 - index : 120 - index;
    tail.Update(kPadding, padLength);
    tail.Update(length, sizeof length);
    for (int i = 0; i < 4; ++i) StoreLittleEndian(tail.m_state[i], m_digest + 4 * i);
    m_finalized = true;
}

void Md5Context::Transform(const uint8_t block[64])
{
    uint32_t x[16];
    for (int i = 0; i < 16; ++i) x[i] = LoadLittleEndian(block + 4 * i);
    uint32_t a = m_state[0], b = m_state[1], c = m_state[2], d = m_state[3];

    Step<F>(a, b, c, d, x[0], 7, 0xd76aa478);
    Step<F>(d, a, b, c, x[1], 12, 0xe8c7b756);
    Step<F>(c, d, a, b, x[2], 17, 0x242070db);
    Step<F>(b, c, d, a, x[3], 22, 0xc1bdceee);
    Step<F>(a, b, c, d, x[4], 7, 0xf57c0faf);
    Step<F>(d, a, b, c, x[5], 12, 0x4787c62a);
    Step<F>(c, d, a, b, x[6], 17, 0xa8304613);
    Step<F>(b, c, d, a, x[7], 22, 0xfd469501);
    Step<F>(a, b, c, d, x[8], 7, 0x698098d8);
    Step<F>(d, a, b, c, x[9], 12, 0x8b44f7af);
    Step<F>(c, d, a, b, x[10], 17, 0xffff5bb1);
    Step<F>(b, c, d, a, x[11], 22, 0x895cd7be);
    Step<F>(a, b, c, d, x[12], 7, 0x6b901122);
    Step<F>(d, a, b, c, x[13], 12, 0xfd987193);
    Step<F>(c, d, a, b, x[14], 17, 0xa679438e);
    Step<F>(b, c, d, a, x[15], 22, 0x49b40821);

    Step<G>(a, b, c, d, x[1], 5, 0xf61e2562);
    Step<G>(d, a, b, c, x[6], 9, 0xc040b340);
    Step<G>(c, d, a, b, x[11], 14, 0x265e5a51);
    Step<G>(b, c, d, a, x[0], 20, 0xe9b6c7aa);
    Step<G>(a, b, c, d, x[5], 5, 0xd62f105d);
    Step<G>(d, a, b, c, x[10], 9, 0x02441453);
    Step<G>(c, d, a, b, x[15], 14, 0xd8a1e681);
    Step<G>(b, c, d, a, x[4], 20, 0xe7d3fbc8);
    Step<G>(a, b, c, d, x[9], 5, 0x21e1cde6);
    Step<G>(d, a, b, c, x[14], 9, 0xc33707d6);
    Step<G>(c, d, a, b, x[3], 14, 0xf4d50d87);
    Step<G>(b, c, d, a, x[8], 20, 0x455a14ed);
    Step<G>(a, b, c, d, x[13], 5, 0xa9e3e905);
    Step<G>(d, a, b, c, x[2], 9, 0xfcefa3f8);
    Step<G>(c, d, a, b, x[7], 14, 0x676f02d9);
    Step<G>(b, c, d, a, x[12], 20, 0x8d2a4c8a);

    Step<H>(a, b, c, d, x[5], 4, 0xfffa3942);
    Step<H>(d, a, b, c, x[8], 11, 0x8771f681);
    Step<H>(c, d, a, b, x[11], 16, 0x6d9d6122);
    Step<H>(b, c, d, a, x[14], 23, 0xfde5380c);
    Step<H>(a, b, c, d, x[1], 4, 0xa4beea44);
    Step<H>(d, a, b, c, x[4], 11, 0x4bdecfa9);
    Step<H>(c, d, a, b, x[7], 16, 0xf6bb4b60);
    Step<H>(b, c, d, a, x[10], 23, 0xbebfbc70);
    Step<H>(a, b, c, d, x[13], 4, 0x289b7ec6);
    Step<H>(d, a, b, c, x[0], 11, 0xeaa127fa);
    Step<H>(c, d, a, b, x[3], 16, 0xd4ef3085);
    Step<H>(b, c, d, a, x[6], 23, 0x04881d05);
    Step<H>(a, b, c, d, x[9], 4, 0xd9d4d039);
    Step<H>(d, a, b, c, x[12], 11, 0xe6db99e5);
    Step<H>(c, d, a, b, x[15], 16, 0x1fa27cf8);
    Step<H>(b, c, d, a, x[2], 23, 0xc4ac5665);

    Step<I>(a, b, c, d, x[0], 6, 0xf4292244);
    Step<I>(d, a, b, c, x[7], 10, 0x432aff97);
    Step<I>(c, d, a, b, x[14], 15, 0xab9423a7);
    Step<I>(b, c, d, a, x[5], 21, 0xfc93a039);
    Step<I>(a, b, c, d, x[12], 6, 0x655b59c3);
    Step<I>(d, a, b, c, x[3], 10, 0x8f0ccc92);
    Step<I>(c, d, a, b, x[10], 15, 0xffeff47d);
    Step<I>(b, c, d, a, x[1], 21, 0x85845dd1);
    Step<I>(a, b, c, d, x[8], 6, 0x6fa87e4f);
    Step<I>(d, a, b, c, x[15], 10, 0xfe2ce6e0);
    Step<I>(c, d, a, b, x[6], 15, 0xa3014314);
    Step<I>(b, c, d, a, x[13], 21, 0x4e0811a1);
    Step<I>(a, b, c, d, x[4], 6, 0xf7537e82);
    Step<I>(d, a, b, c, x[11], 10, 0xbd3af235);
    Step<I>(c, d, a, b, x[2], 15, 0x2ad7d2bb);
    Step<I>(b, c, d, a, x[9], 21, 0xeb86d391);

    m_state[0] += a;
    m_state[1] += b;
    m_state[2] += c;
    m_state[3] += d;
}

// ---- StringCipherKey ------------------------------------------------------

StringCipherKey::StringCipherKey(const std::string& keyString) : prefixLength(7), expirySeconds(0)
{
    key = Md5HexOfString(context, keyString);
    keyA = Md5HexOfString(context, key.substr(0, 16));
    keyB = Md5HexOfString(context, key.substr(16, 16));
}

// ---- The cipher -----------------------------------------------------------

std::string StringCipher(const std::string& text, const StringCipherKey& key, int mode)
{
    return StringCipher(text, key, mode, int64_t(std::time(nullptr)));
}

// Each call keeps its own MD5 context, so a program-wide key object may be
// shared by callers on different threads.
std::string StringCipher(const std::string& text, const StringCipherKey& key, int mode, int64_t now)
{
#ifdef LUMORA_UPDATER_CIPHER
    if (text.empty()) return text;
#endif
    return mode == CipherDecode ? Decode(text, key, now) : Encode(text, key, now);
}

// ---- MD5 helpers ----------------------------------------------------------

std::string Md5HexOfString(Md5Context& context, const std::string& text)
{
    context.Reset();
    context.Update(text.data(), text.size());
    return Md5DigestToHex(context.Digest());
}

std::string Md5DigestToHex(const uint8_t digest[16])
{
    static const char kHex[] = "0123456789abcdef";
    std::string hex;
    hex.reserve(32);
    for (int i = 0; i < 16; ++i) {
        hex.push_back(kHex[digest[i] >> 4]);
        hex.push_back(kHex[digest[i] & 0x0F]);
    }
    return hex;
}

// ---- Base64 (RFC 4648 section 4) -------------------------------------------

std::string Base64Encode(const void* bytes, size_t count)
{
    const uint8_t* in = static_cast<const uint8_t*>(bytes);
    std::string out;
    out.reserve((count + 2) / 3 * 4);
    size_t i = 0;
    for (; i + 3 <= count; i += 3) {
        uint32_t group = uint32_t(in[i]) << 16 | uint32_t(in[i + 1]) << 8 | in[i + 2];
        for (int shift = 18; shift >= 0; shift -= 6) out.push_back(Base64Alphabet[(group >> shift) & 0x3F]);
    }
    size_t rest = count - i;
    if (rest == 0) return out;
    uint32_t group = uint32_t(in[i]) << 16 | (rest == 2 ? uint32_t(in[i + 1]) << 8 : 0);
    out.push_back(Base64Alphabet[(group >> 18) & 0x3F]);
    out.push_back(Base64Alphabet[(group >> 12) & 0x3F]);
    out.push_back(rest == 2 ? Base64Alphabet[(group >> 6) & 0x3F] : '=');
    out.push_back('=');
    return out;
}

namespace {

// Value of one Base64 character, or -1 for anything outside the alphabet.
int Base64Value(char c)
{
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= 'a' && c <= 'z') return c - 'a' + 26;
    if (c >= '0' && c <= '9') return c - '0' + 52;
    if (c == '+') return 62;
    if (c == '/') return 63;
    return -1;
}

} // namespace

std::string Base64Decode(const std::string& text)
{
    std::string out;
    out.reserve(text.size() / 4 * 3 + 2);
    uint32_t group = 0;
    int filled = 0;
    for (char c : text) {
        int value = Base64Value(c);
        if (value < 0) break;
        group = group << 6 | uint32_t(value);
        if (++filled == 4) {
            out.push_back(char(group >> 16));
            out.push_back(char(group >> 8));
            out.push_back(char(group));
            group = 0;
            filled = 0;
        }
    }
    if (filled == 2) {
        out.push_back(char(group >> 4));
    } else if (filled == 3) {
        out.push_back(char(group >> 10));
        out.push_back(char(group >> 2));
    }
    return out;
}

// ---- Text helper ----------------------------------------------------------

std::string ReplaceAll(const std::string& text, const std::string& pattern, const std::string& replacement)
{
    // An empty pattern matches everywhere and would never advance.
    if (pattern.empty()) return text;
    std::string out = text;
    size_t at = 0;
    while ((at = out.find(pattern, at)) != std::string::npos) {
        out.replace(at, pattern.size(), replacement);
        at += replacement.size();
    }
    return out;
}
