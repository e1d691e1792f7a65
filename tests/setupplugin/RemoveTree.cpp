#include "RemoveTree.h"

#include <windows.h>

#include <shellapi.h>

void RemoveTree(const std::wstring& path)
{
    SHFILEOPSTRUCTW op = {};
    // The list of names ends with an empty one.
    std::wstring from = path + L'\0';
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_NO_UI;
    ::SHFileOperationW(&op);
}
