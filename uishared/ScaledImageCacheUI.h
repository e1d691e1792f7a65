#pragma once
#include <windows.h>

#include <vector>

namespace UIShared {

// Copies of one decoded image at the sizes it is drawn, so a stretched image is scaled
// once per size and later paints only copy or blend pixels. A few sizes are kept; when
// more are asked for, the one used least recently gives way.
class CScaledImageCacheUI
{
public:
    // What makes a copy: the part of the image, its corners, the drawn size and how the
    // stretch was made (the flags).
    struct TKeyUI
    {
        RECT rcPart;
        RECT rcCorners;
        int cx;
        int cy;
        UINT uFlags;
    };

    CScaledImageCacheUI();
    ~CScaledImageCacheUI();
    CScaledImageCacheUI(const CScaledImageCacheUI&) = delete;
    CScaledImageCacheUI& operator=(const CScaledImageCacheUI&) = delete;

    // Whether a copy of this size may be kept at all (the memory one copy takes).
    static bool IsKeepable(int cx, int cy);

    // The copy made for the key, or null.
    HBITMAP Find(const TKeyUI& key);
    // Keeps the copy, which the cache now owns.
    void Add(const TKeyUI& key, HBITMAP hBitmap);
    int GetCount() const;

private:
    struct TEntryUI
    {
        TKeyUI key;
        HBITMAP hBitmap;
        unsigned uLastUse;
    };

    static bool SameKey(const TKeyUI& a, const TKeyUI& b);

    std::vector<TEntryUI> m_entries;
    unsigned m_uClock;
};

} // namespace UIShared
