#pragma once
#include <windows.h>

#include <string>

#include "BenchSamples.h"
#include "PaintProfile.h"

class CBenchSkinWnd;
class CWindowManagerUI;

// Times one full paint of a window built from skin markup (the whole client area
// invalidated, WM_PAINT handled by the window manager: the control tree drawn into
// its back buffer and copied to the window) against one AlphaBlend of a DIB of the
// same size, the smallest unit of work a layered skin window does per frame; the
// window's first paint (and, run on its own, that paint split into its parts); and the
// repaint after the pointer moves onto one button, with the pixels it repaints.
class CPaintBench
{
public:
    CPaintBench(const std::wstring& skinFile, const std::string& markup);

    // False, with the reason printed, when the window cannot be built.
    bool Run(int nRounds);
    void Print() const;
    // The first paint's parts one by one, in a process of their own.
    bool RunFirstSteps();
    void PrintFirstSteps() const;

private:
    HWND CreateWindowOf(CBenchSkinWnd& wnd, DWORD dwStyle);
    void PrintLine(const char* pstrWhat, const CBenchSamples& samples) const;
    void SplitFirstPaint(HWND hWnd, CWindowManagerUI& manager);

    std::wstring m_skinFile;
    std::wstring m_markup;
    int m_nControls;
    double m_firstPaint;
    double m_bareFirstPaint = 0.0;
    // The first paint's parts, each done ahead of it: layout, image decoding, fonts.
    double m_firstLayout = 0.0;
    double m_firstImages = 0.0;
    double m_firstFonts = 0.0;
    CBenchSamples m_fullPaint;
    CBenchSamples m_printClient;
    CBenchSamples m_alphaBlend;
    CBenchSamples m_hover;
    CBenchSamples m_hoverTree;
    CBenchSamples m_barePaint;
    long long m_nHoverPixels = 0;
    CPaintProfile m_profile;
    double m_firstTexts = 0.0;
    double m_firstTree = 0.0;
    // A fresh window-sized DIB filled twice: the first fill writes pages the process has
    // never touched, as a window's first paint does (its back buffer, its surface, the
    // copy of an image stretched over it); the second is what a later paint pays.
    double m_freshFill = 0.0;
    double m_warmFill = 0.0;
    void TimeFreshMemory();
};
