#include <gtest/gtest.h>

#include <string>

#include "AttributeValueUI.h"
#include "PtrArrayUI.h"
#include "RectUI.h"
#include "StringMapUI.h"
#include "StringUI.h"
#include "ValArrayUI.h"

namespace {

bool IsInline(const CStringUI& s)
{
    const char* p = reinterpret_cast<const char*>(s.GetData());
    const char* obj = reinterpret_cast<const char*>(&s);
    return p >= obj && p < obj + sizeof(CStringUI);
}

std::wstring Repeat(wchar_t ch, int n)
{
    return std::wstring(static_cast<size_t>(n), ch);
}

} // namespace

TEST(StringUI, InlineHeapBoundaryOnAssign)
{
    struct Case
    {
        int len;
        bool inlineExpected;
    };
    const Case cases[] = { { 0, true }, { 1, true }, { 62, true }, { 63, false }, { 64, false }, { 1000, false } };
    for (const Case& c : cases) {
        std::wstring text = Repeat(L'x', c.len);
        CStringUI s;
        s = text.c_str();
        EXPECT_EQ(c.inlineExpected, IsInline(s)) << "length " << c.len;
        EXPECT_EQ(text, s.GetData()) << "length " << c.len;
        s = L"short";
        EXPECT_TRUE(IsInline(s)) << "length " << c.len;
        EXPECT_STREQ(L"short", s.GetData());
    }
}

TEST(StringUI, AppendCrossingTheBoundaryMovesWholeTextToHeap)
{
    CStringUI s(Repeat(L'a', 60).c_str());
    ASSERT_TRUE(IsInline(s));
    s += L"bc";
    EXPECT_TRUE(IsInline(s));
    s += L'd';
    EXPECT_FALSE(IsInline(s));
    EXPECT_EQ(Repeat(L'a', 60) + L"bcd", s.GetData());
    s += CStringUI(Repeat(L'e', 200).c_str());
    EXPECT_EQ(Repeat(L'a', 60) + L"bcd" + Repeat(L'e', 200), s.GetData());
}

TEST(StringUI, ConstructorWithLengthAndNull)
{
    EXPECT_STREQ(L"abc", CStringUI(L"abcdef", 3).GetData());
    EXPECT_STREQ(L"abcdef", CStringUI(L"abcdef", -1).GetData());
    EXPECT_TRUE(CStringUI(nullptr).IsEmpty());
    CStringUI s(L"x");
    s.Assign(nullptr);
    EXPECT_TRUE(s.IsEmpty());
}

// Assigning or appending a string's own characters must not read freed memory.
TEST(StringUI, SelfAliasingAssignAndAppend)
{
    std::wstring longText = Repeat(L'a', 40) + Repeat(L'b', 40);
    CStringUI s(longText.c_str());
    s.Assign(s.GetData() + 40, 10); // heap -> inline from its own heap block
    EXPECT_STREQ(L"bbbbbbbbbb", s.GetData());

    CStringUI t(Repeat(L'c', 50).c_str());
    t += t.GetData(); // inline -> heap while reading itself
    EXPECT_EQ(Repeat(L'c', 100), t.GetData());
    t += t; // heap realloc while reading itself
    EXPECT_EQ(Repeat(L'c', 200), t.GetData());

    CStringUI u(L"same");
    u = u;
    EXPECT_STREQ(L"same", u.GetData());
}

TEST(StringUI, CompareAndFind)
{
    CStringUI s(L"abcabc");
    EXPECT_TRUE(s.Compare(L"abcabc"));
    EXPECT_FALSE(s.Compare(L"ABCABC"));
    struct Case
    {
        LPCWSTR sub;
        int start;
        int expected;
    };
    const Case cases[] = {
        { L"c", 0, 2 }, { L"c", 3, 5 },  { L"abc", 1, 3 }, { L"c", 6, -1 },
        { L"", 6, 6 },  { L"c", 7, -1 }, { L"c", -1, -1 }, { L"x", 0, -1 },
    };
    for (const Case& c : cases) EXPECT_EQ(c.expected, s.Find(c.sub, c.start)) << c.start;
    EXPECT_EQ(L'b', s.GetAt(1));
    s.Empty();
    EXPECT_TRUE(s.IsEmpty());
}

TEST(StringUI, FormatIsBounded)
{
    CStringUI s;
    s.Format(L"%d-%s-%04X", 42, L"wide", 0xAB);
    EXPECT_STREQ(L"42-wide-00AB", s.GetData());

    std::wstring huge = Repeat(L'z', 3000);
    s.Format(L"%s", huge.c_str());
    EXPECT_EQ(1024, s.GetLength());

    struct Case
    {
        int len;
        int expected;
    };
    const Case cases[] = { { 10, 10 }, { 63, 63 }, { 64, 63 }, { 500, 63 } };
    for (const Case& c : cases) {
        // A canary after the string object catches any write past its buffers.
        struct
        {
            CStringUI str;
            unsigned canary;
        } guarded;
        guarded.canary = 0xDEADBEEF;
        std::wstring text = Repeat(L'q', c.len);
        guarded.str.SmallFormat(L"%s", text.c_str());
        EXPECT_EQ(c.expected, guarded.str.GetLength()) << c.len;
        EXPECT_EQ(0xDEADBEEFu, guarded.canary);
        EXPECT_EQ(text.substr(0, static_cast<size_t>(c.expected)), guarded.str.GetData());
    }
}

TEST(StringMapUI, InsertSetFindRemove)
{
    int a = 1, b = 2;
    CStringMapUI map;
    EXPECT_TRUE(map.Insert(L"key", &a));
    EXPECT_FALSE(map.Insert(L"key", &b));
    EXPECT_EQ(&a, map.Find(L"key"));
    EXPECT_EQ(nullptr, map.Find(L"KEY")); // case matters
    EXPECT_EQ(&a, map.Set(L"key", &b));
    EXPECT_EQ(&b, map.Find(L"key"));
    EXPECT_EQ(nullptr, map.Set(L"other", &a));
    EXPECT_EQ(2, map.GetSize());
    EXPECT_TRUE(map.Remove(L"key"));
    EXPECT_FALSE(map.Remove(L"key"));
    EXPECT_EQ(nullptr, map.Find(L"key"));
    EXPECT_EQ(1, map.GetSize());
}

// Walk order is buckets from the last to the first, chains from their head.
// "a" (97) and "p" (112) share a bucket when there are 5 buckets but not with 16,
// so the order also shows that a map asked for 5 buckets gets 16.
TEST(StringMapUI, WalkOrderAndMinimumBucketCount)
{
    int v = 0;
    CStringMapUI small(5);
    small.Insert(L"a", &v);
    small.Insert(L"p", &v);
    EXPECT_STREQ(L"a", small.GetAt(0)); // bucket 1
    EXPECT_STREQ(L"p", small.GetAt(1)); // bucket 0
    EXPECT_EQ(nullptr, small.GetAt(2));

    CStringMapUI map(83); // "ba": h = 'a' * 33 + 'b' = 3299 -> bucket 62; "c" -> 99 % 83 = 16
    map.Insert(L"c", &v);
    map.Insert(L"ba", &v);
    EXPECT_STREQ(L"ba", map.GetAt(0));
    EXPECT_STREQ(L"c", map.GetAt(1));

    map.Resize(-1); // an unusable map refuses everything
    EXPECT_EQ(0, map.GetSize());
    EXPECT_FALSE(map.Insert(L"x", &v));
    EXPECT_EQ(&v, map.Set(L"x", &v));
    EXPECT_EQ(nullptr, map.Find(L"x"));
}

TEST(PtrArrayUI, GrowthKeepsOrder)
{
    CPtrArrayUI arr;
    EXPECT_TRUE(arr.IsEmpty());
    for (intptr_t i = 1; i <= 100; i++) ASSERT_TRUE(arr.Add(reinterpret_cast<void*>(i)));
    ASSERT_EQ(100, arr.GetSize());
    for (int i = 0; i < 100; i++) EXPECT_EQ(reinterpret_cast<void*>(static_cast<intptr_t>(i + 1)), arr.GetAt(i));
    EXPECT_EQ(41, arr.Find(reinterpret_cast<void*>(42)));
    EXPECT_EQ(-1, arr.Find(nullptr));
    arr.Empty();
    EXPECT_EQ(0, arr.GetSize());
}

TEST(PtrArrayUI, InsertAtAndRemoveBounds)
{
    void* const A = reinterpret_cast<void*>(0xA);
    void* const B = reinterpret_cast<void*>(0xB);
    void* const C = reinterpret_cast<void*>(0xC);
    CPtrArrayUI arr(2);
    struct Case
    {
        int index;
        bool ok;
        int sizeAfter;
    };
    const Case inserts[] = { { 1, false, 0 }, { -1, false, 0 }, { 0, true, 1 }, { 1, true, 2 }, { 3, false, 2 } };
    for (const Case& c : inserts) {
        EXPECT_EQ(c.ok, arr.InsertAt(c.index, c.index == 0 ? A : C)) << c.index;
        EXPECT_EQ(c.sizeAfter, arr.GetSize()) << c.index;
    }
    EXPECT_TRUE(arr.InsertAt(1, B)); // middle: A B C
    EXPECT_EQ(A, arr.GetAt(0));
    EXPECT_EQ(B, arr.GetAt(1));
    EXPECT_EQ(C, arr.GetAt(2));
    EXPECT_FALSE(arr.Remove(3));
    EXPECT_FALSE(arr.Remove(-1));
    EXPECT_TRUE(arr.Remove(0));
    EXPECT_EQ(B, arr.GetAt(0));
    EXPECT_EQ(C, arr.GetAt(1));
    EXPECT_EQ(2, arr.GetSize());
}

TEST(ValArrayUI, CopiesElements)
{
    struct Item
    {
        int a;
        double b;
        char c[7];
    };
    CValArrayUI arr(sizeof(Item), 3);
    for (int i = 0; i < 50; i++) {
        Item it = { i, i * 0.5, "abcdef" };
        ASSERT_TRUE(arr.Add(&it));
    }
    ASSERT_EQ(50, arr.GetSize());
    for (int i = 0; i < 50; i++) {
        const Item* it = static_cast<const Item*>(arr.GetAt(i));
        EXPECT_EQ(i, it->a);
        EXPECT_DOUBLE_EQ(i * 0.5, it->b);
        EXPECT_STREQ("abcdef", it->c);
    }
}

TEST(RectUI, Operations)
{
    CRectUI rc(10, 20, 30, 60);
    EXPECT_EQ(20, rc.GetWidth());
    EXPECT_EQ(40, rc.GetHeight());
    rc.Join(CRectUI(0, 30, 15, 100));
    EXPECT_EQ(CRectUI(0, 20, 30, 100).left, rc.left);
    EXPECT_EQ(20, rc.top);
    EXPECT_EQ(30, rc.right);
    EXPECT_EQ(100, rc.bottom);
    rc.Offset(5, -5);
    EXPECT_EQ(5, rc.left);
    EXPECT_EQ(15, rc.top);
    rc.ResetOffset();
    EXPECT_EQ(0, rc.left);
    EXPECT_EQ(0, rc.top);
    EXPECT_EQ(30, rc.right);
    EXPECT_EQ(80, rc.bottom);
}

TEST(AttributeValueUI, ParsesColoursListsAndBooleans)
{
    EXPECT_EQ(0xFF00FF00u, CAttributeValueUI::ParseColor(L"#FF00FF00"));
    EXPECT_EQ(0x80FF0000u, CAttributeValueUI::ParseColor(L"80FF0000"));
    EXPECT_TRUE(CAttributeValueUI::ParseBool(L"true"));
    EXPECT_FALSE(CAttributeValueUI::ParseBool(L"True"));
    EXPECT_FALSE(CAttributeValueUI::ParseBool(L"1"));
    struct Case
    {
        LPCWSTR text;
        RECT rc;
    };
    const Case cases[] = {
        { L"1,2,3,4", { 1, 2, 3, 4 } },
        { L"-100,10,-20,40", { -100, 10, -20, 40 } },
        { L"1,2", { 1, 2, 0, 0 } }, // short list: nothing is read past the end
        { L"", { 0, 0, 0, 0 } },
    };
    for (const Case& c : cases) {
        RECT rc = CAttributeValueUI::ParseRect(c.text);
        EXPECT_EQ(c.rc.left, rc.left) << c.text;
        EXPECT_EQ(c.rc.top, rc.top) << c.text;
        EXPECT_EQ(c.rc.right, rc.right) << c.text;
        EXPECT_EQ(c.rc.bottom, rc.bottom) << c.text;
    }
}

// Overflowing markup numbers saturate at 2^31; as coordinates, pen widths or font
// heights they would fault inside GDI or stall a paint for seconds.
TEST(AttributeValueUI, NumbersForGdiAreHeldToSaneRanges)
{
    const int kMax = CAttributeValueUI::MaxCoordinate;
    int v[4] = {};
    EXPECT_EQ(4, CAttributeValueUI::ParseInts(L"20,-20,1804294967296,-99999999999", v, 4));
    EXPECT_EQ(20, v[0]);
    EXPECT_EQ(-20, v[1]);
    EXPECT_EQ(kMax, v[2]);
    EXPECT_EQ(-kMax, v[3]);
    RECT rc = CAttributeValueUI::ParseRect(L"20,20,300,1804294967296");
    EXPECT_EQ(300, rc.right);
    EXPECT_EQ(kMax, rc.bottom);

    struct Case
    {
        LPCWSTR text;
        int coordinate, border, font;
    };
    const Case cases[] = {
        { L"12", 12, 12, 12 },
        { L"-7", -7, 0, -7 },
        { L"11111111", kMax, CAttributeValueUI::MaxBorderSize, CAttributeValueUI::MaxFontSize },
        { L"-4294967297", -kMax, 0, -CAttributeValueUI::MaxFontSize },
        { L"", 0, 0, 0 },
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.coordinate, CAttributeValueUI::ParseCoordinate(c.text)) << c.text;
        EXPECT_EQ(c.border, CAttributeValueUI::ParseBorderSize(c.text)) << c.text;
        EXPECT_EQ(c.font, CAttributeValueUI::ParseFontSize(c.text)) << c.text;
    }
    EXPECT_EQ(1804294967, CAttributeValueUI::ParseInt(L"1804294967")) << "plain numbers are not geometry";
}
