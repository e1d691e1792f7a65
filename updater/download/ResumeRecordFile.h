// The ".Cfg" resume record file of a partial download. Each stop appends one
// block; only the last block is read. A block is, all numbers 32-bit
// little-endian:
//   stamp   total length, validator length, the server's validator (ETag or
//           Last-Modified), the manifest's version of the file (UTF-8)
//   4       length of the stamp
//   12 * K  records {start, end, received}, in range order
//   4       K in the low 16 bits, kStampMark in the high 16 bits
// The stamp says which content the partial file holds. Blocks written before
// stamps existed end with K alone; they load, but without a stamp they prove
// nothing about the partial file, so the caller starts over.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// A resume record: the range [start + received, end) is still missing.
struct ResumeRecord
{
    DWORD start;
    DWORD end;
    DWORD received;
};
// The records are written and read as they lie in memory: 12 bytes each on every architecture.
static_assert(sizeof(ResumeRecord) == 12, "resume record layout");

struct ResumeStamp
{
    DWORD total = 0;
    std::string validator;
    std::string version;
};

class ResumeRecordFile
{
public:
    static const WORD kStampMark = 0x5354;
    static const WORD kMaxRecords = 64;
    static const DWORD kMaxStampSize = 4096;

    // Appends one block under the write lock; 0 or the system error code.
    static DWORD Append(HANDLE writeLock, const std::string& path, const ResumeStamp& stamp,
                        const std::vector<ResumeRecord>& records);

    // Makes one block the whole file, as one step that a kill cannot cut;
    // 0 or the system error code.
    static DWORD Replace(HANDLE writeLock, const std::string& path, const ResumeStamp& stamp,
                         const std::vector<ResumeRecord>& records);

    // Reads the last block. False for a missing, short or damaged file;
    // `stamped` is false for a block written without a stamp.
    static bool Read(const std::string& path, std::vector<ResumeRecord>& records, ResumeStamp& stamp, bool& stamped);
};
