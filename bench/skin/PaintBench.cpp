#include "PaintBench.h"

#include <windows.h>

#include <cstdio>

#include "BenchDib.h"
#include "BenchPaintSteps.h"
#include "BenchSamples.h"
#include "BenchSkinWnd.h"
#include "ControlUI.h"
#include "SkinMarkupMaker.h"
#include "WindowManagerUI.h"

namespace {

const int kWidth = CSkinMarkupMaker::WINDOW_WIDTH;
const int kHeight = CSkinMarkupMaker::WINDOW_HEIGHT;

// The tree painted into a DIB for one rectangle only, as a WM_PAINT of it would.
double TimeTreePaint(CControlUI* pRoot, HDC hDC, const RECT& rcPaint)
{
    const double start = CBenchSamples::Now();
    pRoot->DoPaint(hDC, rcPaint);
    GdiFlush();
    return CBenchSamples::Now() - start;
}

POINT CentreOf(CControlUI* pControl)
{
    const RECT& rc = pControl->GetPos();
    return POINT{ (rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2 };
}

} // namespace

CPaintBench::CPaintBench(const std::wstring& skinFile, const std::string& markup)
    : m_skinFile(skinFile), m_markup(CSkinMarkupMaker::Widen(markup)), m_nControls(0), m_firstPaint(0.0)
{ }

HWND CPaintBench::CreateWindowOf(CBenchSkinWnd& wnd, DWORD dwStyle)
{
    CWindowManagerUI::SetInstance(GetModuleHandleW(nullptr));
    HWND hWnd = wnd.Create(nullptr, L"Lumora skin benchmark", dwStyle, 0, 0, 0, kWidth, kHeight);
    if (hWnd == nullptr) {
        printf("the benchmark window could not be created (error %lu)\n", GetLastError());
        return nullptr;
    }
    if (!wnd.IsBuilt()) {
        printf("the benchmark window could not be built from its markup: %ls\n", wnd.GetBuildError().c_str());
        DestroyWindow(hWnd);
        return nullptr;
    }
    m_nControls = wnd.CountControls();
    return hWnd;
}

// The first paint is the window's first WM_PAINT as a user's window gets it: the
// layout, image decoding and scaling, fonts and the paint itself.
bool CPaintBench::Run(int nRounds)
{
    CBenchSkinWnd wnd(m_skinFile, m_markup);
    HWND hWnd = CreateWindowOf(wnd, WS_POPUP | WS_VISIBLE);
    if (hWnd == nullptr) return false;
    m_firstPaint = CBenchPaintSteps::TimeFullPaint(hWnd);
    CBenchPaintSteps::PumpMessages();

    CBenchDib canvas(kWidth, kHeight), source(kWidth, kHeight), target(kWidth, kHeight);
    if (!canvas.IsValid() || !source.IsValid() || !target.IsValid()) {
        printf("could not create the %dx%d DIBs\n", kWidth, kHeight);
        DestroyWindow(hWnd);
        return false;
    }
    source.FillTranslucentPattern();
    target.Fill(0xFF808080);
    CControlUI* pButton = wnd.GetManager().FindControl(L"play7");
    HWND hBare = CBenchPaintSteps::CreateBareWindow(kWidth, kHeight, &m_bareFirstPaint);
    CControlUI* pAway = wnd.GetManager().FindControl(L"statustext");
    for (int i = 0; i < nRounds; i++) {
        m_fullPaint.Add(CBenchPaintSteps::TimeFullPaint(hWnd));
        m_alphaBlend.Add(CBenchPaintSteps::TimeAlphaBlend(source, target));
        m_printClient.Add(CBenchPaintSteps::TimePrintClient(hWnd, canvas.DC()));
        if (pButton != nullptr && pAway != nullptr) {
            const CBenchPaintSteps::THover hover =
                CBenchPaintSteps::TimeHover(hWnd, CentreOf(pAway), CentreOf(pButton));
            m_hover.Add(hover.seconds);
            m_nHoverPixels = hover.nPixels;
            m_hoverTree.Add(TimeTreePaint(wnd.GetRoot(), canvas.DC(), pButton->GetPos()));
            if (hBare != nullptr) m_barePaint.Add(CBenchPaintSteps::TimeBarePaint(hBare, pButton->GetPos()));
        }
        CBenchPaintSteps::PumpMessages();
    }
    if (hBare != nullptr) DestroyWindow(hBare);
    canvas.SaveBmp(L"skin_bench_window.bmp");
    m_profile.Run(wnd.GetRoot(), canvas.DC(), nRounds);
    DestroyWindow(hWnd);
    CBenchPaintSteps::PumpMessages();
    return true;
}

// The parts of a first paint one by one, each done ahead of the paint, in a process
// that has painted nothing yet (a first paint after them would find them done).
bool CPaintBench::RunFirstSteps()
{
    CBenchSkinWnd wnd(m_skinFile, m_markup);
    HWND hWnd = CreateWindowOf(wnd, WS_POPUP | WS_VISIBLE);
    if (hWnd == nullptr) return false;
    SplitFirstPaint(hWnd, wnd.GetManager());
    m_firstPaint = m_firstLayout + m_firstImages + m_firstFonts + m_firstTexts + m_firstTree +
        CBenchPaintSteps::TimeFullPaint(hWnd);
    TimeFreshMemory();
    DestroyWindow(hWnd);
    CBenchPaintSteps::PumpMessages();
    return true;
}

void CPaintBench::TimeFreshMemory()
{
    CBenchDib fresh(kWidth, kHeight);
    if (!fresh.IsValid()) return;
    double start = CBenchSamples::Now();
    fresh.Fill(0x808080);
    GdiFlush();
    m_freshFill = CBenchSamples::Now() - start;
    start = CBenchSamples::Now();
    fresh.Fill(0x404040);
    GdiFlush();
    m_warmFill = CBenchSamples::Now() - start;
}

void CPaintBench::SplitFirstPaint(HWND hWnd, CWindowManagerUI& manager)
{
    static const LPCWSTR kImages[] = { L"backdrop.png", L"frame.png", L"framea.png", L"frames.png" };
    RECT rcClient = {};
    GetClientRect(hWnd, &rcClient);
    double start = CBenchSamples::Now();
    manager.GetRoot()->SetPos(rcClient);
    m_firstLayout = CBenchSamples::Now() - start;
    start = CBenchSamples::Now();
    for (LPCWSTR pstrImage : kImages) manager.GetImageEx(pstrImage);
    m_firstImages = CBenchSamples::Now() - start;
    start = CBenchSamples::Now();
    HDC hDC = GetDC(hWnd);
    for (int i = -1; i < 3; i++) {
        HGDIOBJ hOld = SelectObject(hDC, i < 0 ? manager.GetDefaultFont() : manager.GetFont(i));
        SIZE size = {};
        GetTextExtentPoint32W(hDC, L"Lumora \u89c6\u9891", 9, &size);
        SelectObject(hDC, hOld);
    }
    ReleaseDC(hWnd, hDC);
    m_firstFonts = CBenchSamples::Now() - start;
    // Every control's text once, into a scratch DIB: the first use of each glyph. The
    // scratch DIB's first fill is timed on its own, with a fresh one (TimeFreshMemory).
    CBenchDib scratch(kWidth, kHeight);
    CPaintProfile texts;
    start = CBenchSamples::Now();
    texts.RunStep(manager.GetRoot(), scratch.DC(), &CControlUI::PaintText);
    m_firstTexts = CBenchSamples::Now() - start;
    start = CBenchSamples::Now();
    manager.GetRoot()->DoPaint(scratch.DC(), rcClient);
    GdiFlush();
    m_firstTree = CBenchSamples::Now() - start;
}

void CPaintBench::PrintFirstSteps() const
{
    printf("main library first paint, step by step (a process that has painted nothing yet):\n");
    printf("  layout %.2f ms (the root placed by the benchmark: each control invalidates its own rectangle), "
           "image decoding %.2f ms, fonts %.2f ms, texts %.2f ms, tree into a DIB %.2f ms (the stretched "
           "copies made), then the window's WM_PAINT %.2f ms (the second paint of the tree)\n",
           m_firstLayout * 1000.0, m_firstImages * 1000.0, m_firstFonts * 1000.0, m_firstTexts * 1000.0,
           m_firstTree * 1000.0,
           (m_firstPaint - m_firstLayout - m_firstImages - m_firstFonts - m_firstTexts - m_firstTree) * 1000.0);
    printf("  a fresh window-sized DIB filled: first %.2f ms, again %.2f ms\n", m_freshFill * 1000.0,
           m_warmFill * 1000.0);
}

void CPaintBench::Print() const
{
    printf("window: %dx%d, %d controls\n", kWidth, kHeight, m_nControls);
    printf("first paint (the window's first WM_PAINT: layout, image decoding and scaling, the paint): %.2f ms\n",
           m_firstPaint * 1000.0);
    printf("  a bare window's first WM_PAINT of the whole client: %.2f ms\n", m_bareFirstPaint * 1000.0);
    PrintLine("full paint (WM_PAINT, whole client)", m_fullPaint);
    PrintLine("tree paint into a DIB (WM_PRINTCLIENT)", m_printClient);
    PrintLine("AlphaBlend of a same-size 32-bit DIB", m_alphaBlend);
    PrintLine("hover repaint (pointer onto one button)", m_hover);
    PrintLine("  of it the tree painted for the button's rectangle", m_hoverTree);
    PrintLine("  a bare window's WM_PAINT of the same rectangle", m_barePaint);
    printf("hover repaint pixels: %lld of %d (%.2f%% of the client)\n", m_nHoverPixels, kWidth * kHeight,
           m_nHoverPixels * 100.0 / (kWidth * kHeight));
    const double blend = m_alphaBlend.Median();
    const double full = m_fullPaint.Median();
    if (blend > 0.0 && full > 0.0) {
        printf("tree paint / AlphaBlend: %.2f\n", m_printClient.Median() / blend);
        printf("bare window's WM_PAINT of the button / full paint: %.3f\n", m_barePaint.Median() / full);
        printf("ratio main library full paint / AlphaBlend: %.2f (goal 2)\n", full / blend);
        printf("ratio main library hover repaint / full paint: %.3f (goal 0.1)\n", m_hover.Median() / full);
        printf("ratio main library first paint / full paint: %.2f (goal 2)\n", m_firstPaint / full);
    }
    m_profile.Print();
}

void CPaintBench::PrintLine(const char* pstrWhat, const CBenchSamples& samples) const
{
    printf("%s: median %.2f ms (min %.2f ms, %d runs)\n", pstrWhat, samples.Median() * 1000.0, samples.Min() * 1000.0,
           samples.Count());
}
