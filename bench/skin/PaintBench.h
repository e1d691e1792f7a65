#pragma once
#include <string>

#include "BenchSamples.h"

// Times one full paint of a window built from skin markup (the whole client area
// invalidated, WM_PAINT handled by the window manager: the control tree drawn into
// its back buffer and copied to the window) against one AlphaBlend of a DIB of the
// same size, the smallest unit of work a layered skin window does per frame.
class CPaintBench
{
public:
    CPaintBench(const std::wstring& skinFile, const std::string& markup);

    // False, with the reason printed, when the window cannot be built.
    bool Run(int nRounds);
    void Print() const;

private:
    void PrintLine(const char* pstrWhat, const CBenchSamples& samples) const;

    std::wstring m_skinFile;
    std::wstring m_markup;
    int m_nControls;
    double m_firstPaint;
    CBenchSamples m_fullPaint;
    CBenchSamples m_printClient;
    CBenchSamples m_alphaBlend;
};
