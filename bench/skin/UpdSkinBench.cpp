// Paint benchmark of the updater's UI library: the same window as the main library's
// skin benchmark, painted in full and after a hover, against one AlphaBlend of a DIB of
// the same size measured in turns with it. Prints figures and ratios; asserts nothing.
//   upd_skin_bench.exe [<folder with the test skin's images>]
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "BenchDib.h"
#include "BenchPaintSteps.h"
#include "BenchSamples.h"
#include "BenchUpdSkinWnd.h"
#include "ControlUI.h"
#include "SkinMarkupMaker.h"
#include "UpdSkinBenchProfile.h"

namespace {

const int kWidth = CSkinMarkupMaker::WINDOW_WIDTH;
const int kHeight = CSkinMarkupMaker::WINDOW_HEIGHT;
const int kPaintRounds = 60;

const wchar_t kFirstStepsFlag[] = L"--first-steps";

// The arguments: [--first-steps] [<folder with the test skin's images>].
std::wstring PicturesFromArgs(bool* pbFirstSteps)
{
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    int nArg = 1;
    *pbFirstSteps = argv != nullptr && argc > nArg && wcscmp(argv[nArg], kFirstStepsFlag) == 0;
    if (*pbFirstSteps) nArg++;
    std::wstring folder = argc > nArg && argv != nullptr ? argv[nArg] : UPD_SKIN_BENCH_PICTURES;
    LocalFree(argv);
    if (!folder.empty() && folder.back() != L'\\') folder += L'\\';
    return folder;
}

POINT CentreOf(UpdUI::CControlUI* pControl)
{
    const RECT rc = pControl->GetPos();
    return POINT{ (rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2 };
}

void PrintLine(const char* pstrWhat, const CBenchSamples& samples)
{
    printf("updater library %s: median %.2f ms (min %.2f ms, %d runs)\n", pstrWhat, samples.Median() * 1000.0,
           samples.Min() * 1000.0, samples.Count());
}

double TimeFreshFill(CBenchDib& dib, DWORD dwColour)
{
    const double start = CBenchSamples::Now();
    dib.Fill(dwColour);
    GdiFlush();
    return CBenchSamples::Now() - start;
}

// What a first paint pays for, step by step, in a process that has painted nothing yet:
// the layout, a fresh surface, then each control's paint steps once, each the first of
// its kind (image decoding and scaling, font creation, the first drawing of each text).
int RunFirstSteps()
{
    CBenchUpdSkinWnd wnd(CSkinMarkupMaker::Widen(CSkinMarkupMaker::MakeWindowSkin()));
    HWND hWnd = wnd.Create(nullptr, L"Lumora updater skin benchmark", WS_POPUP, 0, 0, 0, kWidth, kHeight);
    if (hWnd == nullptr || !wnd.IsBuilt()) return 1;
    const RECT rcClient = { 0, 0, kWidth, kHeight };
    double start = CBenchSamples::Now();
    wnd.GetManager().GetRoot()->SetPos(rcClient);
    const double layout = CBenchSamples::Now() - start;
    CBenchDib canvas(kWidth, kHeight);
    if (!canvas.IsValid()) return 1;
    const double freshFill = TimeFreshFill(canvas, 0xFF808080);
    const double warmFill = TimeFreshFill(canvas, 0xFF404040);
    CUpdSkinBenchProfile profile;
    profile.Run(wnd.GetManager().GetRoot(), canvas.DC(), 1);
    DestroyWindow(hWnd);
    printf("updater library first paint, step by step (a process that has painted nothing yet):\n");
    printf("  layout %.2f ms; a fresh window-sized DIB filled: first %.2f ms, again %.2f ms\n", layout * 1000.0,
           freshFill * 1000.0, warmFill * 1000.0);
    profile.Print();
    return 0;
}

} // namespace

int main()
{
    UpdUI::CWindowManagerUI::SetInstance(GetModuleHandleW(nullptr));
    bool bFirstSteps = false;
    UpdUI::CWindowManagerUI::SetResourcePath(PicturesFromArgs(&bFirstSteps).c_str());
    if (bFirstSteps) return RunFirstSteps();
    CBenchUpdSkinWnd wnd(CSkinMarkupMaker::Widen(CSkinMarkupMaker::MakeWindowSkin()));
    HWND hWnd = wnd.Create(nullptr, L"Lumora updater skin benchmark", WS_POPUP | WS_VISIBLE, 0, 0, 0, kWidth, kHeight);
    if (hWnd == nullptr || !wnd.IsBuilt()) {
        printf("the updater library's benchmark window could not be built (error %lu)\n", GetLastError());
        return 1;
    }
    const double firstPaint = CBenchPaintSteps::TimeFullPaint(hWnd);
    CBenchPaintSteps::PumpMessages();

    CBenchDib canvas(kWidth, kHeight), source(kWidth, kHeight), target(kWidth, kHeight);
    if (!canvas.IsValid() || !source.IsValid() || !target.IsValid()) return 1;
    source.FillTranslucentPattern();
    target.Fill(0xFF808080);
    UpdUI::CControlUI* pButton = wnd.GetManager().FindControl(L"play7");
    UpdUI::CControlUI* pAway = wnd.GetManager().FindControl(L"statustext");
    double bareFirstPaint = 0.0;
    HWND hBare = CBenchPaintSteps::CreateBareWindow(kWidth, kHeight, &bareFirstPaint);
    CBenchSamples fullPaint, printClient, alphaBlend, hover, barePaint;
    long long nHoverPixels = 0;
    for (int i = 0; i < kPaintRounds; i++) {
        fullPaint.Add(CBenchPaintSteps::TimeFullPaint(hWnd));
        alphaBlend.Add(CBenchPaintSteps::TimeAlphaBlend(source, target));
        printClient.Add(CBenchPaintSteps::TimePrintClient(hWnd, canvas.DC()));
        if (pButton != nullptr && pAway != nullptr) {
            const CBenchPaintSteps::THover sample =
                CBenchPaintSteps::TimeHover(hWnd, CentreOf(pAway), CentreOf(pButton));
            hover.Add(sample.seconds);
            nHoverPixels = sample.nPixels;
            if (hBare != nullptr) barePaint.Add(CBenchPaintSteps::TimeBarePaint(hBare, pButton->GetPos()));
        }
        CBenchPaintSteps::PumpMessages();
    }
    if (hBare != nullptr) DestroyWindow(hBare);
    canvas.SaveBmp(L"upd_skin_bench_window.bmp");
    CUpdSkinBenchProfile profile;
    profile.Run(wnd.GetManager().GetRoot(), canvas.DC(), kPaintRounds);
    DestroyWindow(hWnd);
    CBenchPaintSteps::PumpMessages();

    printf("updater library window: %dx%d, %d controls, first paint %.2f ms\n", kWidth, kHeight, wnd.CountControls(),
           firstPaint * 1000.0);
    printf("updater library   a bare window's first WM_PAINT of the whole client: %.2f ms\n", bareFirstPaint * 1000.0);
    PrintLine("full paint (WM_PAINT, whole client)", fullPaint);
    PrintLine("tree paint into a DIB (WM_PRINTCLIENT)", printClient);
    PrintLine("AlphaBlend of a same-size 32-bit DIB", alphaBlend);
    PrintLine("hover repaint (pointer onto one button)", hover);
    PrintLine("  a bare window's WM_PAINT of the same rectangle", barePaint);
    printf("updater library hover repaint pixels: %lld of %d (%.2f%% of the client)\n", nHoverPixels, kWidth * kHeight,
           nHoverPixels * 100.0 / (kWidth * kHeight));
    const double blend = alphaBlend.Median(), full = fullPaint.Median();
    if (blend > 0.0 && full > 0.0) {
        printf("ratio updater full paint / AlphaBlend: %.2f (goal 2)\n", full / blend);
        printf("ratio updater tree paint / AlphaBlend: %.2f\n", printClient.Median() / blend);
        printf("ratio updater hover repaint / full paint: %.3f (goal 0.1)\n", hover.Median() / full);
        printf("ratio updater bare window's WM_PAINT of the button / full paint: %.3f\n", barePaint.Median() / full);
        printf("ratio updater first paint / full paint: %.2f (goal 2)\n", firstPaint / full);
    }
    profile.Print();
    return 0;
}
