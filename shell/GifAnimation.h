#pragma once
#include <windows.h>

#include <cstddef>
#include <vector>

namespace Gdiplus {
class Image;
}
struct IStream;

// The frames of one animated GIF, decoded by GDI+, with the delay of each frame.
// The caller keeps GDI+ started for the object's whole life.
class CGifAnimation
{
public:
    // Shown for frames whose delay is 0 or missing.
    static constexpr UINT kDefaultDelayMs = 100;

    CGifAnimation();
    ~CGifAnimation();
    CGifAnimation(const CGifAnimation&) = delete;
    CGifAnimation& operator=(const CGifAnimation&) = delete;

    // A resource of the module (type "gif" for the loading animation).
    bool LoadResource(HMODULE hModule, LPCWSTR pstrName, LPCWSTR pstrType);
    bool LoadMemory(const void* pData, size_t cbData);
    void Free();

    bool IsLoaded() const;
    UINT GetFrameCount() const;
    UINT GetCurrentFrame() const;
    SIZE GetFrameSize() const;

    // Steps to the next frame, back to the first after the last; returns its index.
    UINT Advance();
    // The current frame's delay in milliseconds; kDefaultDelayMs when the file
    // gives none for it.
    UINT GetDelayMs() const;
    // Draws the active frame at its natural size centred in rc, then makes the
    // current frame the active one, so the frame advanced to now shows next time.
    void Draw(HDC hDC, const RECT& rc);

private:
    bool LoadGlobal(HGLOBAL hMem);
    void ReadFrames();
    bool ReadDelays();

    Gdiplus::Image* m_pImage;
    IStream* m_pStream; // the image reads from it as long as it lives
    GUID m_frameDimension;
    UINT m_nFrames;
    UINT m_iCurrent;
    SIZE m_szFrame;
    std::vector<UINT> m_delays; // hundredths of a second, one per frame
};
