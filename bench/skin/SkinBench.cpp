// Skin benchmark: parse throughput of the skin markup parser against pugixml on a large
// generated skin, and one full paint of a main-window-sized skinned window against one
// AlphaBlend of a DIB of the same size. Prints figures and ratios; asserts nothing.
// With --first-steps, only the parts of a first paint one by one, in this fresh process.
//   skin_bench.exe [--first-steps] [<packed skin file with the test images>]
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "PaintBench.h"
#include "ParseBench.h"
#include "SkinMarkupMaker.h"

namespace {

const size_t kLargeSkinBytes = 2 * 1024 * 1024;
const int kParseRounds = 30;
const int kPaintRounds = 60;

const wchar_t kFirstStepsFlag[] = L"--first-steps";

std::wstring SkinFileFromArgs(bool* pbFirstSteps)
{
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    int nArg = 1;
    *pbFirstSteps = argv != nullptr && argc > nArg && wcscmp(argv[nArg], kFirstStepsFlag) == 0;
    if (*pbFirstSteps) nArg++;
    std::wstring skinFile = argc > nArg && argv != nullptr ? argv[nArg] : SKIN_BENCH_TEST_SKIN;
    LocalFree(argv);
    return skinFile;
}

} // namespace

int main()
{
    bool bFirstSteps = false;
    const std::wstring skinFile = SkinFileFromArgs(&bFirstSteps);
    if (bFirstSteps) {
        CPaintBench steps(skinFile, CSkinMarkupMaker::MakeWindowSkin());
        if (!steps.RunFirstSteps()) return 1;
        steps.PrintFirstSteps();
        return 0;
    }
    CParseBench parse(CSkinMarkupMaker::MakeLargeSkin(kLargeSkinBytes));
    if (!parse.Run(kParseRounds)) return 1;
    parse.Print();
    fflush(stdout);

    CPaintBench paint(skinFile, CSkinMarkupMaker::MakeWindowSkin());
    if (!paint.Run(kPaintRounds)) return 1;
    paint.Print();
    fflush(stdout);
    return 0;
}
