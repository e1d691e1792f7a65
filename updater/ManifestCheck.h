// The downloaded manifest is checked whole before the updater acts on any of
// it: its signature by the publisher's key, and then every FILE, SETUP and
// RUN entry. One refused entry refuses the manifest, so nothing is fetched,
// closed, moved or started for a manifest that is only partly acceptable.
#pragma once

#include "FileDigest.h"

#include <string>

// The most "FILE" entries a manifest is read for ("VERSION%d" keys hold two digits).
const int kMaxManifestFileEntries = 99;

class CManifestCheck
{
public:
    CManifestCheck(const std::wstring& manifestPath, const std::wstring& installFolder);

    // True when the signature verifies and every entry is acceptable; each
    // refusal is logged.
    bool Accept() const;

    // The "SIZE%d"/"SHA256%d" of a FILE entry (index 1..), or with index 0
    // the "SIZE"/"SHA256" of the SETUP section; false when not both are valid.
    bool EntryDigest(int index, FileDigest& digest) const;

private:
    bool CheckFileEntries() const;
    bool CheckSetupEntry() const;
    bool CheckRunEntries() const;
    std::wstring Read(const wchar_t* section, const std::wstring& key, unsigned capacity = 260) const;

    std::wstring m_manifest;
    std::wstring m_installFolder;
};
