#include "ResumeRecordFile.h"

#include "DownloadFileIo.h"

#include <cstring>

namespace {

const DWORD kRecordSize = sizeof(ResumeRecord);

void PutDword(std::string& out, DWORD value)
{
    out.append(reinterpret_cast<const char*>(&value), sizeof(value));
}

DWORD GetDword(const std::string& bytes, size_t offset)
{
    DWORD value = 0;
    memcpy(&value, bytes.data() + offset, sizeof(value));
    return value;
}

bool ParseStamp(const std::string& bytes, ResumeStamp& stamp)
{
    if (bytes.size() < 8) return false;
    stamp.total = GetDword(bytes, 0);
    const DWORD validatorSize = GetDword(bytes, 4);
    if (validatorSize > bytes.size() - 8) return false;
    stamp.validator = bytes.substr(8, validatorSize);
    stamp.version = bytes.substr(8 + validatorSize);
    return true;
}

} // namespace

namespace {

bool BuildBlock(const ResumeStamp& stamp, const std::vector<ResumeRecord>& records, std::string& block)
{
    if (records.size() > ResumeRecordFile::kMaxRecords ||
        8 + stamp.validator.size() + stamp.version.size() > ResumeRecordFile::kMaxStampSize)
        return false;
    PutDword(block, stamp.total);
    PutDword(block, static_cast<DWORD>(stamp.validator.size()));
    block += stamp.validator;
    block += stamp.version;
    PutDword(block, static_cast<DWORD>(block.size()));
    for (const ResumeRecord& record : records) block.append(reinterpret_cast<const char*>(&record), kRecordSize);
    PutDword(block, static_cast<DWORD>(records.size()) | (DWORD(ResumeRecordFile::kStampMark) << 16));
    return true;
}

} // namespace

DWORD ResumeRecordFile::Append(HANDLE writeLock, const std::string& path, const ResumeStamp& stamp,
                               const std::vector<ResumeRecord>& records)
{
    std::string block;
    if (!BuildBlock(stamp, records, block)) return ERROR_INVALID_DATA;
    // One append: a block is either whole or, cut short by a crash, fails
    // the reader's checks.
    return AppendToFile(writeLock, path, block.data(), static_cast<DWORD>(block.size()));
}

DWORD ResumeRecordFile::Replace(HANDLE writeLock, const std::string& path, const ResumeStamp& stamp,
                                const std::vector<ResumeRecord>& records)
{
    std::string block;
    if (!BuildBlock(stamp, records, block)) return ERROR_INVALID_DATA;
    return ReplaceFileContents(writeLock, path, block.data(), static_cast<DWORD>(block.size()));
}

bool ResumeRecordFile::Read(const std::string& path, std::vector<ResumeRecord>& records, ResumeStamp& stamp,
                            bool& stamped)
{
    records.clear();
    stamp = ResumeStamp();
    stamped = false;
    DWORD fileSize = 0;
    if (!QueryFileSize(path, fileSize) || fileSize < 4) return false;
    // The longest block there can be; the file may hold older blocks before it.
    const DWORD longest = 4 + kRecordSize * kMaxRecords + 4 + kMaxStampSize;
    const DWORD tailSize = fileSize < longest ? fileSize : longest;
    std::string tail(tailSize, '\0');
    if (ReadFromFileEnd(path, tailSize, &tail[0], tailSize) != 0) return false;

    const DWORD countWord = GetDword(tail, tailSize - 4);
    const DWORD count = countWord & 0xFFFF;
    const DWORD recordBytes = kRecordSize * count;
    if (count > kMaxRecords || tailSize < 4 + recordBytes) return false;
    const DWORD recordsAt = tailSize - 4 - recordBytes;
    records.resize(count);
    if (count) memcpy(records.data(), tail.data() + recordsAt, recordBytes);
    if ((countWord >> 16) != kStampMark) return true;

    if (recordsAt < 4) return false;
    const DWORD stampSize = GetDword(tail, recordsAt - 4);
    if (stampSize < 8 || stampSize > kMaxStampSize || recordsAt - 4 < stampSize) return false;
    if (!ParseStamp(tail.substr(recordsAt - 4 - stampSize, stampSize), stamp)) return false;
    stamped = true;
    return true;
}
