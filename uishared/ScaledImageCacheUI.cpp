#include "ScaledImageCacheUI.h"

namespace UIShared {

namespace {

// A window seldom shows one image at more sizes than this at once.
const size_t kMaxCopies = 16;
// 16 MiB of pixels per copy, more than a full-screen window on a large monitor.
const long long kMaxCopyPixels = 4LL * 1024 * 1024;

bool SameRect(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

} // namespace

CScaledImageCacheUI::CScaledImageCacheUI() : m_uClock(0) { }

CScaledImageCacheUI::~CScaledImageCacheUI()
{
    for (const TEntryUI& entry : m_entries) DeleteObject(entry.hBitmap);
}

bool CScaledImageCacheUI::IsKeepable(int cx, int cy)
{
    return cx > 0 && cy > 0 && (long long)cx * (long long)cy <= kMaxCopyPixels;
}

bool CScaledImageCacheUI::SameKey(const TKeyUI& a, const TKeyUI& b)
{
    return a.cx == b.cx && a.cy == b.cy && a.uFlags == b.uFlags && SameRect(a.rcPart, b.rcPart) &&
        SameRect(a.rcCorners, b.rcCorners);
}

HBITMAP CScaledImageCacheUI::Find(const TKeyUI& key)
{
    for (TEntryUI& entry : m_entries) {
        if (SameKey(entry.key, key)) {
            entry.uLastUse = ++m_uClock;
            return entry.hBitmap;
        }
    }
    return nullptr;
}

void CScaledImageCacheUI::Add(const TKeyUI& key, HBITMAP hBitmap)
{
    if (hBitmap == nullptr) return;
    if (m_entries.size() >= kMaxCopies) {
        size_t iOldest = 0;
        for (size_t i = 1; i < m_entries.size(); i++) {
            if (m_entries[i].uLastUse < m_entries[iOldest].uLastUse) iOldest = i;
        }
        DeleteObject(m_entries[iOldest].hBitmap);
        m_entries.erase(m_entries.begin() + (ptrdiff_t)iOldest);
    }
    m_entries.push_back(TEntryUI{ key, hBitmap, ++m_uClock });
}

int CScaledImageCacheUI::GetCount() const
{
    return (int)m_entries.size();
}

} // namespace UIShared
