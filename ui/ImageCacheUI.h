#pragma once
#include <windows.h>

#include "StringMapUI.h"

struct TImageRecUI;

// The images of one window manager by the name the skin gives them. A name already
// cached keeps its first image.
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
    void RemoveAll();

private:
    CStringMapUI m_mImageHash;
};
