#pragma once
#include <windows.h>

#include <set>
#include <string>

#include "StringMapUI.h"

struct TImageRecUI;

// The images of one window manager by the name the skin gives them. A name already
// cached keeps its first image; a name the skin lacks is remembered, so that painting
// does not read the skin file again for it on every paint of every control naming it.
class CImageCacheUI
{
public:
    CImageCacheUI();
    ~CImageCacheUI();
    CImageCacheUI(const CImageCacheUI&) = delete;
    CImageCacheUI& operator=(const CImageCacheUI&) = delete;

    // pstrSkinFile: the skin archive the image is read from, or null for the folder.
    TImageRecUI* Add(LPCWSTR bitmap, LPCWSTR type, DWORD mask, LPCWSTR pstrSkinFile);
    TImageRecUI* Find(LPCWSTR bitmap) const;
    // Empties the cache and forgets the missing names.
    void RemoveAll();
    // The skin changed: a name missing from the old one may be in the new one.
    void ForgetMissing();
    // Changes whenever a name may stand for another picture than before.
    UINT Generation() const { return m_uGeneration; }

private:
    CStringMapUI m_mImageHash;
    std::set<std::wstring> m_missingImages;
    UINT m_uGeneration = 0;
};
