// Skin benchmark: parse throughput of the skin markup parser against pugixml on a large
// generated skin, and one full paint of a main-window-sized skinned window against one
// AlphaBlend of a DIB of the same size. Prints figures and ratios; asserts nothing.
//   skin_bench.exe [<packed skin file with the test images>]
#include <windows.h>

#include <cstdio>
#include <string>

#include "PaintBench.h"
#include "ParseBench.h"
#include "SkinMarkupMaker.h"

namespace {

const size_t kLargeSkinBytes = 2 * 1024 * 1024;
const int kParseRounds = 30;
const int kPaintRounds = 60;

std::wstring SkinFileFromArgs()
{
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    std::wstring skinFile = argc > 1 && argv != nullptr ? argv[1] : SKIN_BENCH_TEST_SKIN;
    LocalFree(argv);
    return skinFile;
}

} // namespace

int main()
{
    CParseBench parse(CSkinMarkupMaker::MakeLargeSkin(kLargeSkinBytes));
    if (!parse.Run(kParseRounds)) return 1;
    parse.Print();
    fflush(stdout);

    CPaintBench paint(SkinFileFromArgs(), CSkinMarkupMaker::MakeWindowSkin());
    if (!paint.Run(kPaintRounds)) return 1;
    paint.Print();
    fflush(stdout);
    return 0;
}
