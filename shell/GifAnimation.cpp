#include "GifAnimation.h"

#include <objidl.h>
#include <gdiplus.h>

#include <cstring>
#include <new>

namespace {

const PROPID kFrameDelayTag = 0x5100;     // PropertyTagFrameDelay
const ULONGLONG kMaxTimerMs = 0x7FFFFFFF; // USER_TIMER_MAXIMUM

HGLOBAL CopyToMovableMemory(const void* pData, size_t cbData)
{
    if (pData == nullptr || cbData == 0) return nullptr;
    HGLOBAL hMem = ::GlobalAlloc(GMEM_MOVEABLE, cbData);
    if (hMem == nullptr) return nullptr;
    void* pDest = ::GlobalLock(hMem);
    if (pDest == nullptr) {
        ::GlobalFree(hMem);
        return nullptr;
    }
    memcpy(pDest, pData, cbData);
    ::GlobalUnlock(hMem);
    return hMem;
}

} // namespace

CGifAnimation::CGifAnimation()
    : m_pImage(nullptr), m_pStream(nullptr), m_frameDimension(), m_nFrames(0), m_iCurrent(0), m_szFrame()
{ }

CGifAnimation::~CGifAnimation()
{
    Free();
}

bool CGifAnimation::LoadResource(HMODULE hModule, LPCWSTR pstrName, LPCWSTR pstrType)
{
    HRSRC hRes = ::FindResourceW(hModule, pstrName, pstrType);
    if (hRes == nullptr) return false;
    DWORD cbRes = ::SizeofResource(hModule, hRes);
    HGLOBAL hLoaded = ::LoadResource(hModule, hRes);
    const void* pRes = hLoaded != nullptr ? ::LockResource(hLoaded) : nullptr;
    return LoadMemory(pRes, cbRes);
}

bool CGifAnimation::LoadMemory(const void* pData, size_t cbData)
{
    Free();
    HGLOBAL hMem = CopyToMovableMemory(pData, cbData);
    if (hMem == nullptr) return false;
    if (!LoadGlobal(hMem)) return false;
    ReadFrames();
    if (ReadDelays()) return true;
    Free();
    return false;
}

// The stream owns the memory block from here on and frees it with itself.
bool CGifAnimation::LoadGlobal(HGLOBAL hMem)
{
    if (FAILED(::CreateStreamOnHGlobal(hMem, TRUE, &m_pStream))) {
        ::GlobalFree(hMem);
        m_pStream = nullptr;
        return false;
    }
    Gdiplus::Image* pImage = Gdiplus::Image::FromStream(m_pStream);
    if (pImage == nullptr || pImage->GetLastStatus() != Gdiplus::Ok) {
        delete pImage;
        Free();
        return false;
    }
    m_pImage = pImage;
    return true;
}

void CGifAnimation::ReadFrames()
{
    m_szFrame.cx = static_cast<LONG>(m_pImage->GetWidth());
    m_szFrame.cy = static_cast<LONG>(m_pImage->GetHeight());
    m_frameDimension = Gdiplus::FrameDimensionTime;
    if (m_pImage->GetFrameDimensionsCount() > 0) m_pImage->GetFrameDimensionsList(&m_frameDimension, 1);
    m_nFrames = m_pImage->GetFrameCount(&m_frameDimension);
    if (m_nFrames == 0) m_nFrames = 1;
    m_iCurrent = 0;
}

// A file may carry fewer delays than frames, or none at all: every frame without
// one keeps 0, so the table always covers every frame. The frame count and the
// delay item's size come from the file: a table that cannot be had fails the
// load.
bool CGifAnimation::ReadDelays()
{
    UINT cbItem = m_pImage->GetPropertyItemSize(kFrameDelayTag);
    std::vector<BYTE> buffer;
    if (m_nFrames > m_delays.max_size() || cbItem > buffer.max_size()) return false;
    try {
        m_delays.assign(m_nFrames, 0);
        if (cbItem >= sizeof(Gdiplus::PropertyItem)) buffer.resize(cbItem);
    } catch (const std::bad_alloc&) {
        return false;
    }
    if (buffer.empty()) return true;
    Gdiplus::PropertyItem* pItem = reinterpret_cast<Gdiplus::PropertyItem*>(buffer.data());
    if (m_pImage->GetPropertyItem(kFrameDelayTag, cbItem, pItem) != Gdiplus::Ok || pItem->value == nullptr) return true;
    size_t nValues = pItem->length / sizeof(UINT);
    const BYTE* pEnd = buffer.data() + buffer.size();
    const BYTE* pValues = static_cast<const BYTE*>(pItem->value);
    if (pValues < buffer.data() || pValues > pEnd) return true;
    size_t nFit = static_cast<size_t>(pEnd - pValues) / sizeof(UINT);
    if (nValues > nFit) nValues = nFit;
    if (nValues > m_nFrames) nValues = m_nFrames;
    memcpy(m_delays.data(), pValues, nValues * sizeof(UINT));
    return true;
}

void CGifAnimation::Free()
{
    delete m_pImage;
    m_pImage = nullptr;
    if (m_pStream != nullptr) m_pStream->Release();
    m_pStream = nullptr;
    m_delays.clear();
    m_nFrames = 0;
    m_iCurrent = 0;
    m_szFrame = SIZE();
}

bool CGifAnimation::IsLoaded() const
{
    return m_pImage != nullptr;
}

UINT CGifAnimation::GetFrameCount() const
{
    return m_nFrames;
}

UINT CGifAnimation::GetCurrentFrame() const
{
    return m_iCurrent;
}

SIZE CGifAnimation::GetFrameSize() const
{
    return m_szFrame;
}

UINT CGifAnimation::Advance()
{
    if (m_nFrames == 0) return 0;
    m_iCurrent = m_iCurrent + 1 >= m_nFrames ? 0 : m_iCurrent + 1;
    return m_iCurrent;
}

UINT CGifAnimation::GetDelayMs() const
{
    if (m_iCurrent >= m_delays.size() || m_delays[m_iCurrent] == 0) return kDefaultDelayMs;
    ULONGLONG ms = static_cast<ULONGLONG>(m_delays[m_iCurrent]) * 10;
    return static_cast<UINT>(ms > kMaxTimerMs ? kMaxTimerMs : ms);
}

void CGifAnimation::Draw(HDC hDC, const RECT& rc)
{
    if (m_pImage == nullptr) return;
    int x = rc.left + (rc.right - rc.left - m_szFrame.cx) / 2;
    int y = rc.top + (rc.bottom - rc.top - m_szFrame.cy) / 2;
    {
        Gdiplus::Graphics graphics(hDC);
        graphics.DrawImage(m_pImage, x, y, m_szFrame.cx, m_szFrame.cy);
    }
    m_pImage->SelectActiveFrame(&m_frameDimension, m_iCurrent);
}
