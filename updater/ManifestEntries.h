// The entries of an update manifest, read from the file once: its SETUP,
// FILE and RUN sections. The whole-manifest check and the parse that acts on
// the manifest look at the same entries, so what was checked is what is used.
#pragma once

#include "FileDigest.h"
#include "IniSection.h"

#include <string>

// The most "FILE" entries a manifest is read for ("VERSION%d" keys hold two digits).
const int kMaxManifestFileEntries = 99;

// The most entries the NUMBER of a FILE or RUN section may count. An update
// names each of its files, and RUN names programs among those files; no
// update comes near a thousand, and the updater reads at most 99 FILE
// entries anyway. A manifest that counts more is refused whole.
const int kMaxManifestEntries = 1000;

class CManifestEntries
{
public:
    // No manifest: no entries.
    CManifestEntries() = default;
    // Reads the counts, and the sections only when the counts are in bounds.
    explicit CManifestEntries(const std::wstring& manifestPath);

    // False when a NUMBER counts more than kMaxManifestEntries or a section
    // could not be read whole: then nothing of the manifest was read.
    bool InBounds() const { return m_inBounds; }

    // The FILE entries to read (at most kMaxManifestFileEntries), and the RUN
    // entries; 0 when the manifest is out of bounds.
    int FileCount() const;
    int RunCount() const;

    const CIniSection& Setup() const { return m_setup; }
    const CIniSection& File() const { return m_file; }
    const CIniSection& Run() const { return m_run; }

    // The value of "<prefix><index>" in the FILE or RUN section, read as
    // into a buffer of `capacity` characters.
    std::wstring FileValue(const wchar_t* prefix, int index, size_t capacity = 260) const;
    std::wstring RunValue(const wchar_t* prefix, int index, size_t capacity = 260) const;

    // The "SIZE%d"/"SHA256%d" of a FILE entry (index 1..), or with index 0
    // the "SIZE"/"SHA256" of the SETUP section; false when not both are valid.
    bool EntryDigest(int index, FileDigest& digest) const;

private:
    int m_fileNumber = 0;
    int m_runNumber = 0;
    bool m_inBounds = true;
    CIniSection m_setup;
    CIniSection m_file;
    CIniSection m_run;
};
