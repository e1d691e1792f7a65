// The downloaded manifest is checked whole before the updater acts on any of
// it: its signature by the publisher's key, and then every FILE, SETUP and
// RUN entry. One refused entry refuses the manifest, so nothing is fetched,
// closed, moved or started for a manifest that is only partly acceptable.
#pragma once

#include "ManifestEntries.h"

#include <string>

class CManifestCheck
{
public:
    CManifestCheck(const std::wstring& manifestPath, const std::wstring& installFolder);

    // True when the signature verifies and every entry is acceptable; each
    // refusal is logged. The entries are read only once the signature holds.
    bool Accept();

    // The entries Accept read and checked; none before it or after a refusal
    // of the signature.
    const CManifestEntries& Entries() const { return m_entries; }

private:
    bool CheckFileEntries() const;
    bool CheckSetupEntry() const;
    bool CheckRunEntries() const;

    std::wstring m_manifest;
    std::wstring m_installFolder;
    CManifestEntries m_entries;
};
