#include "PendingInstall.h"

#include "IniSection.h"
#include "ManifestEntries.h"

#include <windows.h>

namespace {

const DWORD kPathValueCapacity = 522;

std::wstring Numbered(const wchar_t* prefix, size_t index)
{
    return prefix + std::to_wstring(index);
}

std::wstring ReadString(const std::wstring& file, const wchar_t* section, const std::wstring& key,
                        DWORD capacity = MAX_PATH)
{
    std::wstring buffer(capacity + 1, L'\0');
    DWORD length = GetPrivateProfileStringW(section, key.c_str(), L"", &buffer[0], capacity, file.c_str());
    buffer.resize(length);
    return buffer;
}

} // namespace

bool CPendingInstall::Exists() const
{
    return GetFileAttributesW(m_path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// A recorded move whose file has left "cache" was made; the lines stay as
// they were written.
bool CPendingInstall::HasWork() const
{
    if (!Exists()) return false;
    if (!ReadSetup().empty() && !SetupWasStarted()) return true;
    for (const PendingMove& move : ReadMoves()) {
        if (GetFileAttributesW(move.source.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
    }
    return false;
}

void CPendingInstall::RecordMoves(const std::vector<PendingMove>& moves)
{
    WritePrivateProfileStringW(L"FILE", nullptr, nullptr, m_path.c_str());
    for (size_t i = 0; i < moves.size(); ++i) {
        const PendingMove& move = moves[i];
        WritePrivateProfileStringW(L"FILE", Numbered(L"FILES", i + 1).c_str(),
                                   (move.source + L"|" + move.target).c_str(), m_path.c_str());
        if (!move.digest.sha256.empty()) {
            WritePrivateProfileStringW(L"FILE", Numbered(L"SIZE", i + 1).c_str(),
                                       std::to_wstring(move.digest.size).c_str(), m_path.c_str());
            WritePrivateProfileStringW(L"FILE", Numbered(L"SHA256", i + 1).c_str(),
                                       std::wstring(move.digest.sha256.begin(), move.digest.sha256.end()).c_str(),
                                       m_path.c_str());
        }
        if (move.run) {
            WritePrivateProfileStringW(L"FILE", Numbered(L"ARGUMENT", i + 1).c_str(), move.arguments.c_str(),
                                       m_path.c_str());
            WritePrivateProfileStringW(L"FILE", Numbered(L"RUN", i + 1).c_str(), L"1", m_path.c_str());
        }
    }
    // The count goes last: a record cut short counts only complete lines.
    WritePrivateProfileStringW(L"FILE", L"NUMBER", std::to_wstring(moves.size()).c_str(), m_path.c_str());
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, m_path.c_str());
}

// Anyone may write the file: a record that counts more moves than a
// manifest has entries was not written by an installation, and none of it
// is read. The rest is read in one pass over the section.
std::vector<PendingMove> CPendingInstall::ReadMoves() const
{
    std::vector<PendingMove> moves;
    int count = static_cast<int>(GetPrivateProfileIntW(L"FILE", L"NUMBER", 0, m_path.c_str()));
    if (count > kMaxManifestEntries) return moves;
    CIniSection section(m_path, L"FILE");
    if (!section.Whole()) return moves;
    for (int i = 1; i <= count; ++i) {
        std::wstring value = section.Value(Numbered(L"FILES", i), kPathValueCapacity);
        size_t bar = value.find(L'|');
        PendingMove move;
        move.source = value.substr(0, bar);
        move.target = bar == std::wstring::npos ? value : value.substr(bar + 1);
        move.run = section.Integer(Numbered(L"RUN", i), 0) != 0;
        if (move.run) move.arguments = section.Value(Numbered(L"ARGUMENT", i), MAX_PATH);
        ParseFileDigest(section.Value(Numbered(L"SIZE", i), 16), section.Value(Numbered(L"SHA256", i), 80),
                        move.digest);
        moves.push_back(move);
    }
    return moves;
}

void CPendingInstall::RecordSetup(const std::wstring& later)
{
    WritePrivateProfileStringW(L"FORCE", L"NEXTTIME", L"1", m_path.c_str());
    WritePrivateProfileStringW(L"FORCE", L"NAME", later.c_str(), m_path.c_str());
    WritePrivateProfileStringW(L"FORCE", L"REPLAYS", nullptr, m_path.c_str());
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, m_path.c_str());
}

void CPendingInstall::MarkSetupRunning()
{
    if (!Exists()) return;
    WritePrivateProfileStringW(L"FORCE", L"NEXTTIME", L"0", m_path.c_str());
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, m_path.c_str());
}

bool CPendingInstall::SetupWasStarted() const
{
    return !ReadSetup().empty() && GetPrivateProfileIntW(L"FORCE", L"NEXTTIME", 1, m_path.c_str()) == 0;
}

int CPendingInstall::ReplaysBegun() const
{
    int begun = static_cast<int>(GetPrivateProfileIntW(L"FORCE", L"REPLAYS", 0, m_path.c_str()));
    // A count that no run writes is no licence for more replays.
    return begun < 0 ? kMaxReplays : begun;
}

void CPendingInstall::NoteReplayBegun()
{
    WritePrivateProfileStringW(L"FORCE", L"REPLAYS", std::to_wstring(ReplaysBegun() + 1).c_str(), m_path.c_str());
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, m_path.c_str());
}

std::wstring CPendingInstall::ReadSetup() const
{
    return ReadString(m_path, L"FORCE", L"NAME");
}

void CPendingInstall::RecordSetupDigest(const FileDigest& digest)
{
    WritePrivateProfileStringW(L"FORCE", L"SIZE", std::to_wstring(digest.size).c_str(), m_path.c_str());
    WritePrivateProfileStringW(L"FORCE", L"SHA256", std::wstring(digest.sha256.begin(), digest.sha256.end()).c_str(),
                               m_path.c_str());
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, m_path.c_str());
}

bool CPendingInstall::ReadSetupDigest(FileDigest& digest) const
{
    return ParseFileDigest(ReadString(m_path, L"FORCE", L"SIZE", 16), ReadString(m_path, L"FORCE", L"SHA256", 80),
                           digest);
}

void CPendingInstall::MarkSetupStarted()
{
    if (!Exists()) return;
    WritePrivateProfileStringW(L"FORCE", L"NEXTTIME", L"0", m_path.c_str());
    WritePrivateProfileStringW(L"FORCE", L"NAME", nullptr, m_path.c_str());
    WritePrivateProfileStringW(L"FORCE", L"SIZE", nullptr, m_path.c_str());
    WritePrivateProfileStringW(L"FORCE", L"SHA256", nullptr, m_path.c_str());
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, m_path.c_str());
}

// A setup still named is kept even once started: until it ends, the record
// is what tells a later run that it ran.
void CPendingInstall::DeleteWhenDone()
{
    if (!HasWork() && ReadSetup().empty()) Delete();
}

void CPendingInstall::Delete()
{
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, m_path.c_str());
    DeleteFileW(m_path.c_str());
}
