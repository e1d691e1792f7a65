#include <gtest/gtest.h>

#include <objidl.h>
#include <gdiplus.h>

#include <vector>

#include "GifAnimation.h"
#include "ViewsResource.h"

// The loading animation's frames and delays, read by GDI+ from real GIF data.
namespace {

// Two 1 x 1 frames and no graphic control extension: the file gives no delays.
const unsigned char kGifWithoutDelays[] = {
    'G',  'I',  'F',  '8',  '9',  'a',  0x01, 0x00, 0x01, 0x00, 0x80, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFF,
    0xFF, 0xFF, 0x2C, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x01, 0x00, 0x00, 0x02, 0x02, 0x44, 0x01, 0x00,
    0x2C, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x01, 0x00, 0x00, 0x02, 0x02, 0x44, 0x01, 0x00, 0x3B,
};

const DWORD kUntouched = 0x00FF00FF;

class GifAnimationTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Gdiplus::GdiplusStartupInput input;
        ASSERT_EQ(Gdiplus::Ok, Gdiplus::GdiplusStartup(&m_token, &input, nullptr));
    }
    void TearDown() override { Gdiplus::GdiplusShutdown(m_token); }

    bool LoadLoadingAnimation(CGifAnimation& gif)
    {
        return gif.LoadResource(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_VIEW_LOADING_GIF), L"gif");
    }

    ULONG_PTR m_token = 0;
};

// A 32-bit top-down DIB filled with kUntouched.
struct TCanvas
{
    TCanvas(int cx, int cy) : width(cx)
    {
        BITMAPINFO bmi = {};
        bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
        bmi.bmiHeader.biWidth = cx;
        bmi.bmiHeader.biHeight = -cy;
        bmi.bmiHeader.biPlanes = 1;
        bmi.bmiHeader.biBitCount = 32;
        dc = ::CreateCompatibleDC(nullptr);
        bitmap = ::CreateDIBSection(dc, &bmi, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits), nullptr, 0);
        old = ::SelectObject(dc, bitmap);
        for (int i = 0; i < cx * cy; i++) bits[i] = kUntouched;
    }
    ~TCanvas()
    {
        ::SelectObject(dc, old);
        ::DeleteObject(bitmap);
        ::DeleteDC(dc);
    }
    DWORD At(int x, int y) const { return bits[y * width + x] & 0x00FFFFFF; }

    int width;
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ old = nullptr;
    DWORD* bits = nullptr;
};

TEST_F(GifAnimationTest, LoadingAnimationResourceHasItsFramesAndDelays)
{
    CGifAnimation gif;
    ASSERT_TRUE(LoadLoadingAnimation(gif));
    EXPECT_EQ(12u, gif.GetFrameCount());
    EXPECT_EQ(64, gif.GetFrameSize().cx);
    EXPECT_EQ(64, gif.GetFrameSize().cy);
    EXPECT_EQ(80u, gif.GetDelayMs());
    for (UINT i = 0; i < gif.GetFrameCount(); i++) {
        // Some GDI+ builds report the first frame's delay only and 0 for the rest.
        UINT delay = gif.GetDelayMs();
        EXPECT_TRUE(delay == 80u || delay == CGifAnimation::kDefaultDelayMs) << "frame " << i << ": " << delay;
        EXPECT_EQ((i + 1) % 12, gif.Advance());
    }
    EXPECT_EQ(0u, gif.GetCurrentFrame()) << "the last frame wraps to the first";
}

TEST_F(GifAnimationTest, FramesWithoutDelaysShowForTheDefaultTime)
{
    CGifAnimation gif;
    ASSERT_TRUE(gif.LoadMemory(kGifWithoutDelays, sizeof(kGifWithoutDelays)));
    ASSERT_EQ(2u, gif.GetFrameCount());
    EXPECT_EQ(CGifAnimation::kDefaultDelayMs, gif.GetDelayMs());
    EXPECT_EQ(1u, gif.Advance());
    EXPECT_EQ(CGifAnimation::kDefaultDelayMs, gif.GetDelayMs());
    EXPECT_EQ(0u, gif.Advance());
}

TEST_F(GifAnimationTest, DataThatIsNoImageLeavesNothingLoaded)
{
    const unsigned char notAnImage[] = { 'G', 'I', 'F', '8', '9', 'a', 0x01 };
    CGifAnimation gif;
    EXPECT_FALSE(gif.LoadMemory(notAnImage, sizeof(notAnImage)));
    EXPECT_FALSE(gif.LoadMemory(nullptr, 0));
    EXPECT_FALSE(gif.LoadResource(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(9999), L"gif"));
    EXPECT_FALSE(gif.IsLoaded());
    EXPECT_EQ(0u, gif.Advance());
    EXPECT_EQ(CGifAnimation::kDefaultDelayMs, gif.GetDelayMs());
    TCanvas canvas(8, 8);
    RECT rc = { 0, 0, 8, 8 };
    gif.Draw(canvas.dc, rc);
    EXPECT_EQ(kUntouched, canvas.At(4, 4));
}

TEST_F(GifAnimationTest, FrameIsDrawnAtNaturalSizeCentredInTheRectangle)
{
    CGifAnimation gif;
    ASSERT_TRUE(LoadLoadingAnimation(gif));
    TCanvas canvas(200, 100);
    RECT rc = { 0, 0, 200, 100 };
    gif.Draw(canvas.dc, rc);
    // The frame covers x 68..131, y 18..81 and is opaque black between its dots.
    EXPECT_EQ(kUntouched, canvas.At(67, 50));
    EXPECT_EQ(kUntouched, canvas.At(132, 50));
    EXPECT_EQ(kUntouched, canvas.At(100, 17));
    EXPECT_EQ(kUntouched, canvas.At(100, 82));
    EXPECT_EQ(0u, canvas.At(68, 18));
    EXPECT_EQ(0u, canvas.At(131, 81));
    int lit = 0;
    for (int y = 18; y < 82; y++)
        for (int x = 68; x < 132; x++) lit += canvas.At(x, y) != 0 && canvas.At(x, y) != kUntouched ? 1 : 0;
    EXPECT_GT(lit, 100) << "the dots of the ring are drawn";
}

} // namespace
