#include "ImageCacheUI.h"

#include <cwchar>
#include <cwctype>

#include "PainterUI.h"

namespace UpdUI {

namespace {

const int kMapBuckets = 83;

} // namespace

CImageCacheUI::CImageCacheUI() : m_mImageHash(kMapBuckets) { }

CImageCacheUI::~CImageCacheUI()
{
    RemoveAll();
}

TImageRecUI* CImageCacheUI::Add(LPCWSTR bitmap, LPCWSTR type, DWORD mask)
{
    if (bitmap == nullptr || bitmap[0] == L'\0') return nullptr;
    TImageRecUI* pImage = nullptr;
    if (type != nullptr && type[0] != L'\0') {
        if (!iswdigit(bitmap[0])) return nullptr;
        int iIndex = static_cast<int>(wcstol(bitmap, nullptr, 10));
        pImage = CPainterUI::LoadImageData(MAKEINTRESOURCEW(iIndex), type, mask);
    } else {
        pImage = CPainterUI::LoadImageData(bitmap, nullptr, mask);
    }
    if (pImage == nullptr) return nullptr;
    pImage->sResType = type;
    pImage->dwMask = mask;
    if (!m_mImageHash.Insert(bitmap, pImage)) {
        CPainterUI::FreeImage(pImage);
        return nullptr;
    }
    return pImage;
}

TImageRecUI* CImageCacheUI::Find(LPCWSTR bitmap)
{
    return static_cast<TImageRecUI*>(m_mImageHash.Find(bitmap, true));
}

void CImageCacheUI::RemoveAll()
{
    for (int i = 0; i < m_mImageHash.GetSize(); ++i) {
        CPainterUI::FreeImage(static_cast<TImageRecUI*>(m_mImageHash.Find(m_mImageHash.GetAt(i), false)));
    }
    m_mImageHash.RemoveAll();
}

} // namespace UpdUI
