#pragma once
#include <windows.h>

#include "StringMapUI.h"

namespace UpdUI {

struct TImageRecUI;

// The images of one window manager by the name the skin gives them; a name already
// cached keeps its first image.
class CImageCacheUI
{
public:
    CImageCacheUI();
    ~CImageCacheUI();
    CImageCacheUI(const CImageCacheUI&) = delete;
    CImageCacheUI& operator=(const CImageCacheUI&) = delete;

    // With a resource type the name is the resource number; null when the image
    // cannot be read or the name is cached already.
    TImageRecUI* Add(LPCWSTR bitmap, LPCWSTR type, DWORD mask);
    TImageRecUI* Find(LPCWSTR bitmap);
    void RemoveAll();

private:
    CStringMapUI m_mImageHash;
};

} // namespace UpdUI
