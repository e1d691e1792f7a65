// The nine parts an image part with corners is drawn in, as the main library's painter
// and its scaled copies take them from the grid both libraries share.
#include <ctype.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "NinePartsUI.h"

namespace {

// A part as text, "dest l,t,r,b from x,y w*h", so a whole layout compares at once.
std::string Describe(const TImagePartUI& part)
{
    const RECT& d = part.rcDest;
    return "dest " + std::to_string(d.left) + "," + std::to_string(d.top) + "," + std::to_string(d.right) + "," +
        std::to_string(d.bottom) + " from " + std::to_string(part.nSrcX) + "," + std::to_string(part.nSrcY) + " " +
        std::to_string(part.nSrcWidth) + "*" + std::to_string(part.nSrcHeight);
}

struct TLayoutCase
{
    const char* pszName;
    RECT rcCorners;
    bool bHole;
    std::vector<std::string> parts; // the middle first, then the border row by row
};

// Drawn at (10,20)-(110,70) from the image's (0,0)-(30,20).
const RECT kDest = { 10, 20, 110, 70 };
const RECT kPart = { 0, 0, 30, 20 };

const TLayoutCase kLayouts[] = {
    { "all corners",
      { 5, 4, 6, 3 },
      false,
      { "dest 15,24,104,67 from 5,4 19*13", "dest 10,20,15,24 from 0,0 5*4", "dest 15,20,104,24 from 5,0 19*4",
        "dest 104,20,110,24 from 24,0 6*4", "dest 10,24,15,67 from 0,4 5*13", "dest 104,24,110,67 from 24,4 6*13",
        "dest 10,67,15,70 from 0,17 5*3", "dest 15,67,104,70 from 5,17 19*3", "dest 104,67,110,70 from 24,17 6*3" } },
    { "no corners", { 0, 0, 0, 0 }, false, { "dest 10,20,110,70 from 0,0 30*20" } },
    { "a top edge around a hole", { 0, 4, 0, 0 }, true, { "dest 10,20,110,24 from 0,0 30*4" } },
    { "side edges only",
      { 5, 0, 6, 0 },
      false,
      { "dest 15,20,104,70 from 5,0 19*20", "dest 10,20,15,70 from 0,0 5*20", "dest 104,20,110,70 from 24,0 6*20" } },
    // Corners wider than the drawing: the middle and the edges between them turn over,
    // and are still handed on, as GDI's stretch makes of them what it makes.
    { "overlapping corners",
      { 60, 0, 60, 0 },
      true,
      { "dest 10,20,70,70 from 0,0 60*20", "dest 50,20,110,70 from -30,0 60*20" } },
};

class NinePartsTest : public ::testing::TestWithParam<TLayoutCase>
{ };

TEST_P(NinePartsTest, PartsAreTheGridOfTheCorners)
{
    const TLayoutCase& c = GetParam();
    TImagePartUI parts[CNinePartsUI::MAX_PARTS];
    const int nParts = CNinePartsUI::Build(kDest, kPart, c.rcCorners, c.bHole, parts);
    ASSERT_LE(nParts, static_cast<int>(CNinePartsUI::MAX_PARTS));
    std::vector<std::string> described;
    for (int i = 0; i < nParts; i++) described.push_back(Describe(parts[i]));
    EXPECT_EQ(c.parts, described);
}

INSTANTIATE_TEST_SUITE_P(Layouts, NinePartsTest, ::testing::ValuesIn(kLayouts),
                         [](const ::testing::TestParamInfo<TLayoutCase>& info) {
                             std::string name;
                             for (const char* p = info.param.pszName; *p != '\0'; p++)
                                 if (isalnum((unsigned char)*p)) name += *p;
                             return name;
                         });

} // namespace
