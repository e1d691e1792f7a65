#include "ScreenShot.h"

#include <cstring>

ScreenShot::ScreenShot(HWND wnd)
{
    GetWindowRect(wnd, &rect_);
    Capture();
}

ScreenShot::ScreenShot(const RECT& screen) : rect_(screen)
{
    Capture();
}

void ScreenShot::Capture()
{
    width_ = rect_.right - rect_.left;
    height_ = rect_.bottom - rect_.top;
    if (width_ <= 0 || height_ <= 0) {
        width_ = height_ = 0;
        return;
    }
    pixels_.assign(static_cast<size_t>(width_) * height_, 0);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width_;
    info.bmiHeader.biHeight = -height_;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width_, height_, screen, rect_.left, rect_.top, SRCCOPY);
    GdiFlush();
    if (bits) memcpy(pixels_.data(), bits, pixels_.size() * sizeof(DWORD));
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}

void ScreenShot::Save(const std::wstring& path) const
{
    BITMAPFILEHEADER file = {};
    BITMAPINFOHEADER info = {};
    info.biSize = sizeof(info);
    info.biWidth = width_;
    info.biHeight = -height_;
    info.biPlanes = 1;
    info.biBitCount = 32;
    DWORD bytes = static_cast<DWORD>(pixels_.size() * sizeof(DWORD));
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info);
    file.bfSize = file.bfOffBits + bytes;
    HANDLE out = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (out == INVALID_HANDLE_VALUE) return;
    std::vector<DWORD> opaque(pixels_);
    for (DWORD& pixel : opaque) pixel |= 0xFF000000; // the screen has no alpha
    DWORD written = 0;
    WriteFile(out, &file, sizeof(file), &written, nullptr);
    WriteFile(out, &info, sizeof(info), &written, nullptr);
    WriteFile(out, opaque.data(), bytes, &written, nullptr);
    CloseHandle(out);
}

bool Near(DWORD actual, DWORD expected)
{
    for (int shift = 0; shift <= 16; shift += 8) {
        int a = (actual >> shift) & 0xFF;
        int e = (expected >> shift) & 0xFF;
        if (a - e > 6 || e - a > 6) return false;
    }
    return true;
}

int Luminance(DWORD color)
{
    int r = (color >> 16) & 0xFF;
    int g = (color >> 8) & 0xFF;
    int b = color & 0xFF;
    return (2126 * r + 7152 * g + 722 * b) / 10000;
}
