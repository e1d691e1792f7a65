#include "StagedCopy.h"

std::wstring CStagedCopy::Copy(const std::wstring& source, const std::wstring& target)
{
    if (::GetFileAttributesW(source.c_str()) == INVALID_FILE_ATTRIBUTES)
        return L"安装程序的临时文件已丢失：" + source + L"。请重新运行安装程序。";
    if (::CopyFileW(source.c_str(), target.c_str(), FALSE)) return std::wstring();
    DWORD error = ::GetLastError();
    ::DeleteFileW(target.c_str());
    return ReasonFor(error, target);
}

std::wstring CStagedCopy::ReasonFor(DWORD error, const std::wstring& target)
{
    switch (error) {
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return L"磁盘空间不足，无法写入 " + target + L"。请选择其他目录。";
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_USER_MAPPED_FILE: return L"无法写入 " + target + L"：文件正被其他程序使用。";
    case ERROR_PATH_NOT_FOUND:
    case ERROR_FILE_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_NOT_READY:
    case ERROR_DEV_NOT_EXIST: return L"无法写入 " + target + L"：安装目录已不存在或无法访问。";
    default: return L"无法写入 " + target + L"：该位置已无法写入。请选择其他目录，或以管理员身份运行安装程序。";
    }
}
