#include "PaintBench.h"

#include <windows.h>

#include <cstdio>

#include "BenchDib.h"
#include "BenchSkinWnd.h"
#include "SkinMarkupMaker.h"

namespace {

const int kWidth = CSkinMarkupMaker::WINDOW_WIDTH;
const int kHeight = CSkinMarkupMaker::WINDOW_HEIGHT;


void PumpMessages()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

double TimeFullPaint(HWND hWnd)
{
    InvalidateRect(hWnd, nullptr, FALSE);
    const double start = CBenchSamples::Now();
    UpdateWindow(hWnd);
    GdiFlush();
    return CBenchSamples::Now() - start;
}

double TimePrintClient(HWND hWnd, CBenchDib& canvas)
{
    const double start = CBenchSamples::Now();
    SendMessageW(hWnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.DC()), PRF_CLIENT);
    GdiFlush();
    return CBenchSamples::Now() - start;
}

double TimeAlphaBlend(const CBenchDib& source, CBenchDib& target)
{
    const BLENDFUNCTION blend = { AC_SRC_OVER, 0, 255, AC_SRC_ALPHA };
    const double start = CBenchSamples::Now();
    AlphaBlend(target.DC(), 0, 0, kWidth, kHeight, source.DC(), 0, 0, kWidth, kHeight, blend);
    GdiFlush();
    return CBenchSamples::Now() - start;
}

} // namespace

CPaintBench::CPaintBench(const std::wstring& skinFile, const std::string& markup)
    : m_skinFile(skinFile), m_markup(CSkinMarkupMaker::Widen(markup)), m_nControls(0), m_firstPaint(0.0)
{
}

bool CPaintBench::Run(int nRounds)
{
    CWindowManagerUI::SetInstance(GetModuleHandleW(nullptr));
    CBenchSkinWnd wnd(m_skinFile, m_markup);
    HWND hWnd = wnd.Create(nullptr, L"Lumora skin benchmark", WS_POPUP | WS_VISIBLE, 0, 0, 0, kWidth, kHeight);
    if (hWnd == nullptr) {
        printf("the benchmark window could not be created (error %lu)\n", GetLastError());
        return false;
    }
    if (!wnd.IsBuilt()) {
        printf("the benchmark window could not be built from its markup: %ls\n", wnd.GetBuildError().c_str());
        DestroyWindow(hWnd);
        return false;
    }
    m_nControls = wnd.CountControls();
    // The first paint lays the tree out and decodes the images it meets.
    m_firstPaint = TimeFullPaint(hWnd);
    PumpMessages();

    CBenchDib canvas(kWidth, kHeight), source(kWidth, kHeight), target(kWidth, kHeight);
    if (!canvas.IsValid() || !source.IsValid() || !target.IsValid()) {
        printf("could not create the %dx%d DIBs\n", kWidth, kHeight);
        DestroyWindow(hWnd);
        return false;
    }
    source.FillTranslucentPattern();
    target.Fill(0xFF808080);
    for (int i = 0; i < nRounds; i++) {
        m_fullPaint.Add(TimeFullPaint(hWnd));
        m_alphaBlend.Add(TimeAlphaBlend(source, target));
        m_printClient.Add(TimePrintClient(hWnd, canvas));
        PumpMessages();
    }
    canvas.SaveBmp(L"skin_bench_window.bmp");
    DestroyWindow(hWnd);
    PumpMessages();
    return true;
}

void CPaintBench::Print() const
{
    printf("window: %dx%d, %d controls, first paint (layout + image decoding) %.2f ms\n", kWidth, kHeight,
           m_nControls, m_firstPaint * 1000.0);
    PrintLine("full paint (WM_PAINT, whole client)", m_fullPaint);
    PrintLine("tree paint into a DIB (WM_PRINTCLIENT)", m_printClient);
    PrintLine("AlphaBlend of a same-size 32-bit DIB", m_alphaBlend);
    const double blend = m_alphaBlend.Median();
    if (blend > 0.0) {
        printf("ratio full paint / AlphaBlend: %.2f\n", m_fullPaint.Median() / blend);
        printf("ratio tree paint / AlphaBlend: %.2f\n", m_printClient.Median() / blend);
    }
}

void CPaintBench::PrintLine(const char* pstrWhat, const CBenchSamples& samples) const
{
    printf("%s: median %.2f ms (min %.2f ms, %d runs)\n", pstrWhat, samples.Median() * 1000.0, samples.Min() * 1000.0,
           samples.Count());
}
