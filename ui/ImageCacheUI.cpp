#include "ImageCacheUI.h"

#include <cwchar>
#include <cwctype>

#include "PainterUI.h"

namespace {

const int kHashBuckets = 83;

} // namespace

CImageCacheUI::CImageCacheUI() : m_mImageHash(kHashBuckets) { }

CImageCacheUI::~CImageCacheUI()
{
    RemoveAll();
}

// With a resource type the name is a decimal resource id. Nothing is read for a name
// already cached, nor for a name the skin was found to lack.
TImageRecUI* CImageCacheUI::Add(LPCWSTR bitmap, LPCWSTR type, DWORD mask, LPCWSTR pstrSkinFile)
{
    if (bitmap == nullptr || bitmap[0] == L'\0') return nullptr;
    if (m_mImageHash.Find(bitmap) != nullptr) return nullptr;
    if (type == nullptr && m_missingImages.count(bitmap) != 0) return nullptr;
    LPCWSTR pstrSource = bitmap;
    if (type != nullptr) {
        if (!iswdigit(bitmap[0])) return nullptr;
        pstrSource = MAKEINTRESOURCEW(static_cast<WORD>(wcstoul(bitmap, nullptr, 10)));
    }
    TImageRecUI* pImage = CPainterUI::LoadImageData(pstrSource, pstrSkinFile, type, mask);
    if (pImage == nullptr) {
        if (type == nullptr) m_missingImages.insert(bitmap);
        return nullptr;
    }
    if (!m_mImageHash.Insert(bitmap, pImage)) {
        CPainterUI::FreeImageData(pImage);
        return nullptr;
    }
    return pImage;
}

TImageRecUI* CImageCacheUI::Find(LPCWSTR bitmap) const
{
    return static_cast<TImageRecUI*>(m_mImageHash.Find(bitmap));
}

void CImageCacheUI::RemoveAll()
{
    for (int i = 0; i < m_mImageHash.GetSize(); i++) {
        LPCWSTR key = m_mImageHash.GetAt(i);
        CPainterUI::FreeImageData(static_cast<TImageRecUI*>(m_mImageHash.Find(key)));
    }
    m_mImageHash.Resize(kHashBuckets);
    m_missingImages.clear();
    m_uGeneration++;
}

void CImageCacheUI::ForgetMissing()
{
    m_missingImages.clear();
    m_uGeneration++;
}
