#include "RoomCheck.h"

#include <cwchar>

#include "InstallFolder.h"

namespace {

const ULONGLONG kMiB = 1048576ULL;

std::wstring Format(const wchar_t* pstrFormat, ...)
{
    wchar_t text[600] = {};
    va_list args;
    va_start(args, pstrFormat);
    vswprintf(text, sizeof(text) / sizeof(text[0]), pstrFormat, args);
    va_end(args);
    return text;
}

} // namespace

// Whole mebibytes, rounded up: the text never promises less than is needed.
ULONGLONG CRoomCheck::RequiredMegabytes(ULONGLONG requiredBytes)
{
    return (requiredBytes + kMiB - 1) / kMiB;
}

CRoomCheck::TVerdict CRoomCheck::Judge(bool bQueried, ULONGLONG freeBytes, ULONGLONG requiredBytes)
{
    if (!bQueried) return { L"所选目录无法安装，请选择其他目录", kShortColor, false };
    std::wstring text = Format(L"所需空间：%llu MB（磁盘剩余空间：%.2lf MB）", RequiredMegabytes(requiredBytes),
                               static_cast<double>(freeBytes) / static_cast<double>(kMiB));
    if (freeBytes > requiredBytes) return { text, kOkColor, true };
    return { text + L"请选择其他目录！", kShortColor, false };
}

bool CRoomCheck::QueryFreeBytes(const std::wstring& path, ULONGLONG& freeBytes)
{
    freeBytes = 0;
    std::wstring folder = CInstallFolder::NearestExisting(path);
    if (folder.empty()) return false;
    if (folder.back() != L'\\') folder += L'\\';
    ULARGE_INTEGER available = {};
    if (!::GetDiskFreeSpaceExW(folder.c_str(), &available, nullptr, nullptr)) return false;
    freeBytes = available.QuadPart;
    return true;
}

CRoomCheck::TVerdict CRoomCheck::Check(const std::wstring& path, ULONGLONG requiredBytes)
{
    ULONGLONG freeBytes = 0;
    bool bQueried = QueryFreeBytes(path, freeBytes);
    return Judge(bQueried, freeBytes, requiredBytes);
}

std::wstring CRoomCheck::FailureText(const std::wstring& path, ULONGLONG requiredBytes)
{
    ULONGLONG freeBytes = 0;
    if (!QueryFreeBytes(path, freeBytes)) return Format(L"无法安装到 %ls：该位置不存在或无法访问。", path.c_str());
    if (Judge(true, freeBytes, requiredBytes).bEnough) return std::wstring();
    return Format(L"磁盘空间不足：安装需要 %llu MB，所选位置只剩 %.2lf MB。请选择其他目录。",
                  RequiredMegabytes(requiredBytes), static_cast<double>(freeBytes) / static_cast<double>(kMiB));
}
