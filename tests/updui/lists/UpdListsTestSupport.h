#pragma once
#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "../controls/UpdControlsTestSupport.h"

namespace UpdListsTest {

using namespace UpdControlsTest;

inline CListLabelElementUI* MakeRow(LPCWSTR pstrText, int cy = 20)
{
    CListLabelElementUI* pRow = new CListLabelElementUI;
    pRow->SetText(pstrText);
    pRow->SetFixedHeight(cy);
    return pRow;
}

inline std::wstring RowName(int i)
{
    return L"row" + std::to_wstring(i);
}

inline LRESULT SendKey(HWND hWnd, UINT vk)
{
    return ::SendMessageW(hWnd, WM_KEYDOWN, vk, 1);
}

inline LRESULT SendWheel(HWND hWnd, int delta, int x, int y)
{
    POINT pt = { x, y };
    ::ClientToScreen(hWnd, &pt);
    return ::SendMessageW(hWnd, WM_MOUSEWHEEL, MAKEWPARAM(0, delta), MAKELPARAM(pt.x, pt.y));
}

} // namespace UpdListsTest
