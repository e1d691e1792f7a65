// The update manifest is accepted only with a valid signature by the
// publisher's key. The signature is the file's last section:
//
//   [SIGNATURE]
//   ECDSA=<r||s of ECDSA P-256 over SHA-256, 128 lowercase hex digits>
//
// with at most one line end after it, and it covers every byte before the
// "[SIGNATURE]" line. The public key (X||Y) is built into the program
// (LUMORA_UPDATE_PUBLIC_KEY); tools/sign_update.py makes the signatures.
#pragma once

#include <string>

class CManifestSignature
{
public:
    // The key built into this program, 64 raw bytes X||Y.
    static CManifestSignature WithBuiltInKey();
    // `publicKey`: 64 raw bytes X||Y; any other length verifies nothing.
    explicit CManifestSignature(const std::string& publicKey) : m_publicKey(publicKey) { }

    // True when `data` ends in a well-formed signature section that verifies
    // over the bytes before it.
    bool Verify(const std::string& data) const;
    // The same for a file; false when it cannot be read.
    bool VerifyFile(const std::wstring& path) const;

    // Splits a manifest into the signed bytes and the raw 64-byte signature;
    // false when the tail is missing, malformed, followed by anything, or a
    // second signature section stands before it.
    static bool Split(const std::string& data, std::string& body, std::string& signature);

    // Raw bytes of an even-length lowercase or uppercase hex text; empty when
    // it is not one.
    static std::string FromHex(const std::string& hex);

private:
    bool VerifyRaw(const std::string& body, const std::string& signature) const;

    std::string m_publicKey;
};
