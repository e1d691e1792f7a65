#pragma once
#include <windows.h>

#include <string>
#include <vector>

// The screen under a window (or any screen rectangle), read back as 0xRRGGBB
// pixels in coordinates relative to that rectangle.
class ScreenShot
{
public:
    explicit ScreenShot(HWND wnd);
    explicit ScreenShot(const RECT& screen);

    DWORD Pixel(int x, int y) const { return pixels_[static_cast<size_t>(y) * width_ + x] & 0xFFFFFF; }
    int Width() const { return width_; }
    int Height() const { return height_; }

    // Kept beside the test programs, for a person to look at.
    void Save(const std::wstring& path) const;

private:
    void Capture();

    RECT rect_ = {};
    int width_ = 0;
    int height_ = 0;
    std::vector<DWORD> pixels_;
};

// Whether two colours differ by at most 6 in each channel.
bool Near(DWORD actual, DWORD expected);
// Perceived brightness of a 0xRRGGBB colour, 0..255.
int Luminance(DWORD color);
