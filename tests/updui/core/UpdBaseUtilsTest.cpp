#include <gtest/gtest.h>

#include <string>

#include "KeyStateUI.h"
#include "PtrArrayUI.h"
#include "RectUI.h"
#include "StringMapUI.h"
#include "StringUI.h"

using namespace UpdUI;

namespace {

bool IsInline(const CStringUI& s)
{
    const char* pObj = reinterpret_cast<const char*>(&s);
    const char* pData = reinterpret_cast<const char*>(s.GetData());
    return pData >= pObj && pData < pObj + sizeof(CStringUI);
}

void* P(intptr_t n)
{
    return reinterpret_cast<void*>(n);
}

} // namespace

TEST(UpdRect, OperationsWorkOnTheRectangleItself)
{
    CRectUI rc(10, 20, 50, 80);
    EXPECT_EQ(40, rc.GetWidth());
    EXPECT_EQ(60, rc.GetHeight());
    rc.Join(CRectUI(0, 30, 45, 100));
    EXPECT_EQ(0, rc.left);
    EXPECT_EQ(20, rc.top);
    EXPECT_EQ(50, rc.right);
    EXPECT_EQ(100, rc.bottom);
    rc.Deflate(5, 10);
    EXPECT_EQ(5, rc.left);
    EXPECT_EQ(45, rc.right);
    EXPECT_EQ(30, rc.top);
    EXPECT_EQ(90, rc.bottom);
    rc.ResetOffset();
    EXPECT_EQ(0, rc.left);
    EXPECT_EQ(0, rc.top);
    EXPECT_EQ(40, rc.right);
    EXPECT_EQ(60, rc.bottom);
    rc.Deflate(-2, -3);
    EXPECT_EQ(44, rc.GetWidth());
    EXPECT_EQ(66, rc.GetHeight());
}

TEST(UpdPtrArray, GrowsPastItsFirstBlocksKeepingEveryElement)
{
    CPtrArrayUI a;
    EXPECT_TRUE(a.IsEmpty());
    for (intptr_t i = 1; i <= 50; ++i) ASSERT_TRUE(a.Add(P(i)));
    ASSERT_EQ(50, a.GetCount());
    for (int i = 0; i < 50; ++i) EXPECT_EQ(P(i + 1), a.GetAt(i));
    EXPECT_EQ(nullptr, a.GetAt(-1));
    EXPECT_EQ(nullptr, a.GetAt(50));
    EXPECT_EQ(20, a.Find(P(21)));
    EXPECT_EQ(-1, a.Find(P(99)));
}

TEST(UpdPtrArray, InsertAtCountAppendsAndBeyondFails)
{
    CPtrArrayUI a(6);
    EXPECT_EQ(0, a.GetCount());
    ASSERT_TRUE(a.InsertAt(0, P(1)));
    ASSERT_TRUE(a.InsertAt(1, P(3)));
    ASSERT_TRUE(a.InsertAt(1, P(2)));
    EXPECT_FALSE(a.InsertAt(4, P(9)));
    EXPECT_FALSE(a.InsertAt(-1, P(9)));
    ASSERT_EQ(3, a.GetCount());
    EXPECT_EQ(P(1), a[0]);
    EXPECT_EQ(P(2), a[1]);
    EXPECT_EQ(P(3), a[2]);
    EXPECT_FALSE(a.Remove(3));
    EXPECT_TRUE(a.Remove(0));
    EXPECT_EQ(P(2), a[0]);
    a.Resize(4);
    EXPECT_EQ(4, a.GetCount());
    for (int i = 0; i < 4; ++i) EXPECT_EQ(nullptr, a[i]);
    a.Empty();
    EXPECT_TRUE(a.IsEmpty());
    EXPECT_TRUE(a.Add(P(5)));
}

TEST(UpdString, SixtyTwoCharactersStayInlineSixtyThreeGoToTheHeap)
{
    std::wstring s62(62, L'x');
    std::wstring s63(63, L'y');
    CStringUI s(s62.c_str());
    EXPECT_TRUE(IsInline(s));
    EXPECT_EQ(62, s.GetLength());
    s = s63.c_str();
    EXPECT_FALSE(IsInline(s));
    EXPECT_EQ(s63, s.GetData());
    s = L"short";
    EXPECT_TRUE(IsInline(s));
    EXPECT_STREQ(L"short", s.GetData());

    CStringUI grow(s62.c_str());
    grow += L'z';
    EXPECT_FALSE(IsInline(grow));
    EXPECT_EQ(63, grow.GetLength());
    grow.Empty();
    EXPECT_TRUE(IsInline(grow));
    EXPECT_TRUE(grow.IsEmpty());
}

TEST(UpdString, AppendingItselfAndAssigningItsOwnTailAreSafe)
{
    CStringUI s(std::wstring(40, L'a').c_str());
    s += s;
    EXPECT_EQ(std::wstring(80, L'a'), s.GetData());
    s.Assign(s.GetData() + 70);
    EXPECT_EQ(std::wstring(10, L'a'), s.GetData());
    CStringUI empty(nullptr);
    EXPECT_TRUE(empty.IsEmpty());
}

TEST(UpdString, SearchAndSubstrings)
{
    CStringUI s(L"abcabc");
    EXPECT_EQ(0, s.Find(L"abc"));
    EXPECT_EQ(3, s.Find(L"abc", 1));
    EXPECT_EQ(-1, s.Find(L"abc", 7));
    EXPECT_EQ(-1, s.Find(L"abc", -1));
    EXPECT_EQ(-1, s.Find(L"zz"));
    EXPECT_EQ(4, s.ReverseFind(L'b'));
    EXPECT_EQ(-1, s.ReverseFind(L'q'));
    EXPECT_STREQ(L"ab", s.Left(2).GetData());
    EXPECT_STREQ(L"abcabc", s.Left(99).GetData());
    EXPECT_STREQ(L"", s.Left(-3).GetData());
    EXPECT_STREQ(L"cab", s.Mid(2, 3).GetData());
    EXPECT_STREQ(L"cabc", s.Mid(2).GetData());
    EXPECT_STREQ(L"bc", s.Mid(4, 50).GetData());
    EXPECT_STREQ(L"", s.Mid(6, 2).GetData());
    EXPECT_STREQ(L"", s.Mid(2, 0).GetData());
    EXPECT_EQ(0, s.Compare(L"abcabc"));
    EXPECT_LT(s.Compare(L"abd"), 0);
    EXPECT_GT(s.Compare(L"ab"), 0);
    EXPECT_TRUE(s == L"abcabc");
    CStringUI upper(L"MiXeD");
    upper.MakeLower();
    EXPECT_STREQ(L"mixed", upper.GetData());
}

TEST(UpdString, ReplaceScansOnAfterTheInsertedText)
{
    CStringUI s(L"a.b.c");
    EXPECT_EQ(2, s.Replace(L".", L".."));
    EXPECT_STREQ(L"a..b..c", s.GetData());
    CStringUI g(L"aXa");
    EXPECT_EQ(2, g.Replace(L"a", L"aa"));
    EXPECT_STREQ(L"aaXaa", g.GetData());
    CStringUI t(L"xyz");
    // An empty search text must not loop forever.
    EXPECT_EQ(0, t.Replace(L"", L"q"));
    EXPECT_EQ(0, t.Replace(nullptr, L"q"));
    EXPECT_STREQ(L"xyz", t.GetData());
}

TEST(UpdString, FormatKeepsResultsLongerThanTheInlineBuffer)
{
    CStringUI s;
    std::wstring longText(200, L'k');
    EXPECT_EQ(205, s.Format(L"%s-%d", longText.c_str(), 1234));
    EXPECT_EQ(longText + L"-1234", s.GetData());
    s.Format(L"%d,%d", 3, -4);
    EXPECT_STREQ(L"3,-4", s.GetData());
}

TEST(UpdStringMap, SmallBucketCountsAreRaisedAndKeysAreUnique)
{
    CStringMapUI m(5);
    EXPECT_EQ(16, m.GetBucketCount());
    int a = 1, b = 2, c = 3;
    EXPECT_TRUE(m.Insert(L"one", &a));
    EXPECT_FALSE(m.Insert(L"one", &b));
    EXPECT_EQ(&a, m.Find(L"one"));
    EXPECT_EQ(nullptr, m.Set(L"two", &b));
    EXPECT_EQ(&b, m.Set(L"two", &c));
    EXPECT_EQ(&c, m.Find(L"two"));
    EXPECT_EQ(2, m.GetSize());
    EXPECT_TRUE(m.Remove(L"one"));
    EXPECT_FALSE(m.Remove(L"one"));
    EXPECT_EQ(nullptr, m.Find(L"one"));
    EXPECT_EQ(1, m.GetSize());
    m.RemoveAll();
    EXPECT_EQ(0, m.GetSize());
    EXPECT_EQ(16, m.GetBucketCount());
    m.Resize(-4);
    EXPECT_FALSE(m.Insert(L"x", &a));
    EXPECT_EQ(nullptr, m.Set(L"x", &a));
    EXPECT_EQ(nullptr, m.Find(L"x"));
}

TEST(UpdStringMap, HashReadsTheKeyFromItsEnd)
{
    EXPECT_EQ(static_cast<UINT>(L'b' * 33 + L'a'), CStringMapUI::HashKey(L"ab"));
    EXPECT_EQ(3331u, CStringMapUI::HashKey(L"ab"));
    EXPECT_EQ(0u, CStringMapUI::HashKey(L""));
}

TEST(UpdStringMap, EnumerationRunsBucketsBackwardsAndMoveToFrontReordersAChain)
{
    CStringMapUI m(16);
    int v = 0;
    // 'a' (97) and 'q' (113) share bucket 1; 'c' (99) lies in bucket 3.
    ASSERT_TRUE(m.Insert(L"a", &v));
    ASSERT_TRUE(m.Insert(L"q", &v));
    ASSERT_TRUE(m.Insert(L"c", &v));
    EXPECT_STREQ(L"c", m.GetAt(0));
    EXPECT_STREQ(L"q", m.GetAt(1));
    EXPECT_STREQ(L"a", m.GetAt(2));
    EXPECT_EQ(nullptr, m.GetAt(3));
    EXPECT_EQ(nullptr, m.GetAt(-1));
    m.Find(L"a", false);
    EXPECT_STREQ(L"q", m.GetAt(1));
    m.Find(L"a", true);
    EXPECT_STREQ(L"a", m.GetAt(1));
    EXPECT_STREQ(L"q", m.GetAt(2));
    EXPECT_TRUE(m.Remove(L"q"));
    EXPECT_STREQ(L"a", m.GetAt(1));
    EXPECT_TRUE(m.Remove(L"a"));
    EXPECT_EQ(nullptr, m.GetAt(1));
}

TEST(UpdKeyState, ButtonBitsAreTheReverseOfTheSystemOnes)
{
    BYTE saved[256] = {};
    ASSERT_TRUE(::GetKeyboardState(saved));
    struct Case
    {
        int keys[2];
        WORD expected;
    } cases[] = {
        { { VK_LBUTTON, 0 }, UIKEYSTATE_LBUTTON },
        { { VK_RBUTTON, 0 }, UIKEYSTATE_RBUTTON },
        { { VK_SHIFT, VK_CONTROL }, UIKEYSTATE_SHIFT | UIKEYSTATE_CONTROL },
        { { VK_MENU, VK_LBUTTON }, UIKEYSTATE_ALT | UIKEYSTATE_LBUTTON },
    };
    EXPECT_EQ(0x02, UIKEYSTATE_LBUTTON);
    EXPECT_EQ(0x01, UIKEYSTATE_RBUTTON);
    for (const Case& c : cases) {
        BYTE state[256] = {};
        for (int k : c.keys) {
            if (k != 0) state[k] = 0x80;
        }
        ASSERT_TRUE(::SetKeyboardState(state));
        EXPECT_EQ(c.expected, GetMouseKeyFlags());
    }
    ::SetKeyboardState(saved);
}
