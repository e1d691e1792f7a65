#include "DownloadFileIo.h"

namespace {

// Holds the write lock for one file operation; a failed wait is an error.
class WriteLockScope
{
public:
    explicit WriteLockScope(HANDLE lockEvent) : m_lock(lockEvent)
    {
        m_held = !m_lock || WaitForSingleObject(m_lock, INFINITE) == WAIT_OBJECT_0;
    }
    ~WriteLockScope()
    {
        if (m_held && m_lock) SetEvent(m_lock);
    }
    bool Held() const { return m_held; }

private:
    HANDLE m_lock;
    bool m_held;
};

DWORD WriteOpen(HANDLE file, LONGLONG distance, DWORD moveMethod, const void* data, DWORD size)
{
    DWORD result = 0;
    LARGE_INTEGER move;
    move.QuadPart = distance;
    if (!SetFilePointerEx(file, move, nullptr, moveMethod)) {
        result = GetLastError();
    } else {
        DWORD written = 0;
        if (!WriteFile(file, data, size, &written, nullptr))
            result = GetLastError();
        else if (written != size)
            result = ERROR_WRITE_FAULT;
    }
    return result;
}

DWORD WriteAt(const std::string& path, LONGLONG distance, DWORD moveMethod, const void* data, DWORD size)
{
    HANDLE file = OpenForWriting(path);
    if (file == INVALID_HANDLE_VALUE) return GetLastError();
    DWORD result = WriteOpen(file, distance, moveMethod, data, size);
    CloseHandle(file);
    return result;
}

DWORD LockFailure()
{
    return GetLastError() ? GetLastError() : ERROR_INVALID_HANDLE;
}

} // namespace

DWORD WriteFileAtOffset(HANDLE writeLock, const std::string& path, DWORD offset, const void* data, DWORD size)
{
    WriteLockScope scope(writeLock);
    if (!scope.Held()) return LockFailure();
    return WriteAt(path, offset, FILE_BEGIN, data, size);
}

DWORD WriteOpenFileAtOffset(HANDLE writeLock, HANDLE file, DWORD offset, const void* data, DWORD size)
{
    WriteLockScope scope(writeLock);
    if (!scope.Held()) return LockFailure();
    return WriteOpen(file, offset, FILE_BEGIN, data, size);
}

HANDLE OpenForWriting(const std::string& path)
{
    return CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                       OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

DWORD AppendToFile(HANDLE writeLock, const std::string& path, const void* data, DWORD size)
{
    WriteLockScope scope(writeLock);
    if (!scope.Held()) return LockFailure();
    return WriteAt(path, 0, FILE_END, data, size);
}

DWORD ReplaceFileContents(HANDLE writeLock, const std::string& path, const void* data, DWORD size)
{
    WriteLockScope scope(writeLock);
    if (!scope.Held()) return LockFailure();
    const std::string fresh = path + ".new";
    HANDLE file = CreateFileA(fresh.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return GetLastError();
    DWORD written = 0;
    DWORD result = 0;
    if (!WriteFile(file, data, size, &written, nullptr))
        result = GetLastError();
    else if (written != size)
        result = ERROR_WRITE_FAULT;
    else if (!FlushFileBuffers(file))
        result = GetLastError();
    CloseHandle(file);
    if (result == 0 && !MoveFileExA(fresh.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        result = GetLastError();
    if (result != 0) DeleteFileA(fresh.c_str());
    return result;
}

DWORD ReadFromFileEnd(const std::string& path, DWORD distance, void* data, DWORD size)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return GetLastError();
    DWORD result = 0;
    LARGE_INTEGER move;
    move.QuadPart = -static_cast<LONGLONG>(distance);
    if (!SetFilePointerEx(file, move, nullptr, FILE_END)) {
        result = GetLastError();
    } else {
        DWORD read = 0;
        if (!ReadFile(file, data, size, &read, nullptr))
            result = GetLastError();
        else if (read != size)
            result = ERROR_HANDLE_EOF;
    }
    CloseHandle(file);
    return result;
}

bool QueryFileSize(const std::string& path, DWORD& size)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return false;
    if (data.nFileSizeHigh != 0) return false;
    size = data.nFileSizeLow;
    return true;
}

DWORD TruncateOrCreateFile(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return GetLastError();
    CloseHandle(file);
    return 0;
}
