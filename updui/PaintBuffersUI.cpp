#include "PaintBuffersUI.h"

namespace UpdUI {

CPaintBuffersUI::CPaintBuffersUI()
    : m_hDcOffscreen(nullptr), m_hDcBackground(nullptr), m_hbmpOffscreen(nullptr), m_hbmpBackground(nullptr)
{ }

CPaintBuffersUI::~CPaintBuffersUI()
{
    Drop();
}

void CPaintBuffersUI::Drop()
{
    if (m_hDcOffscreen != nullptr) ::DeleteDC(m_hDcOffscreen);
    if (m_hDcBackground != nullptr) ::DeleteDC(m_hDcBackground);
    if (m_hbmpOffscreen != nullptr) ::DeleteObject(m_hbmpOffscreen);
    if (m_hbmpBackground != nullptr) ::DeleteObject(m_hbmpBackground);
    m_hDcOffscreen = m_hDcBackground = nullptr;
    m_hbmpOffscreen = m_hbmpBackground = nullptr;
}

void CPaintBuffersUI::MakeOffscreen(HDC hDcPaint, const RECT& rcClient)
{
    if (m_hbmpOffscreen != nullptr) return;
    m_hDcOffscreen = ::CreateCompatibleDC(hDcPaint);
    m_hbmpOffscreen =
        ::CreateCompatibleBitmap(hDcPaint, rcClient.right - rcClient.left, rcClient.bottom - rcClient.top);
}

bool CPaintBuffersUI::HasOffscreen() const
{
    return m_hDcOffscreen != nullptr && m_hbmpOffscreen != nullptr;
}

HDC CPaintBuffersUI::GetOffscreenDC() const
{
    return m_hDcOffscreen;
}

HBITMAP CPaintBuffersUI::GetOffscreenBitmap() const
{
    return m_hbmpOffscreen;
}

bool CPaintBuffersUI::HasBackdrop() const
{
    return m_hbmpBackground != nullptr;
}

void CPaintBuffersUI::CaptureBackdrop(HDC hDcPaint, HDC hDcSource, const RECT& rcClient, const RECT& rcPaint)
{
    m_hDcBackground = ::CreateCompatibleDC(hDcPaint);
    m_hbmpBackground =
        ::CreateCompatibleBitmap(hDcPaint, rcClient.right - rcClient.left, rcClient.bottom - rcClient.top);
    if (m_hDcBackground == nullptr || m_hbmpBackground == nullptr) return;
    ::SelectObject(m_hDcBackground, m_hbmpBackground);
    ::BitBlt(m_hDcBackground, rcPaint.left, rcPaint.top, rcPaint.right - rcPaint.left, rcPaint.bottom - rcPaint.top,
             hDcSource, rcPaint.left, rcPaint.top, SRCCOPY);
}

void CPaintBuffersUI::CopyBackdrop(HDC hDC, const RECT& rcPaint) const
{
    if (m_hDcBackground == nullptr || m_hbmpBackground == nullptr) return;
    ::BitBlt(hDC, rcPaint.left, rcPaint.top, rcPaint.right - rcPaint.left, rcPaint.bottom - rcPaint.top,
             m_hDcBackground, rcPaint.left, rcPaint.top, SRCCOPY);
}

} // namespace UpdUI
