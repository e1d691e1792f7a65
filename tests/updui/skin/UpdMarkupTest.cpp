// The updater UI library's markup parser: elements, attributes, entities, encodings and
// the markup files read below the resource folder.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "UpdSkinTestSupport.h"
#include "WindowManagerUI.h"
#include "XmlDocUI.h"

using namespace UpdUI;

namespace {

struct TParseCaseUI
{
    const wchar_t* pstrMarkup;
    const wchar_t* pstrError; // null: the markup parses
};

class UpdMarkupParseTest : public ::testing::TestWithParam<TParseCaseUI>
{ };

TEST_P(UpdMarkupParseTest, ParsesOrReportsTheError)
{
    const TParseCaseUI& c = GetParam();
    CXmlDocUI doc;
    bool bLoaded = doc.Load(c.pstrMarkup);
    if (c.pstrError == nullptr) {
        EXPECT_TRUE(bLoaded) << doc.GetLastErrorMessage();
        EXPECT_TRUE(doc.GetRoot().IsValid());
    } else {
        EXPECT_FALSE(bLoaded);
        EXPECT_STREQ(c.pstrError, doc.GetLastErrorMessage());
        EXPECT_FALSE(doc.GetRoot().IsValid()); // a failed load leaves the document empty
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, UpdMarkupParseTest,
                         ::testing::Values(TParseCaseUI{ L"<a x=\"1\" y = \"2\"/>", nullptr },
                                           TParseCaseUI{ L"<a x='1'/>", L"Expected attribute value" },
                                           TParseCaseUI{ L"<a><b></a>", L"Unmatched closing tag" },
                                           TParseCaseUI{ L"<a></ a >", nullptr },
                                           TParseCaseUI{ L"<a x=\"1\"", L"Expected start-tag closing" },
                                           TParseCaseUI{ L"<a x=\"1/>", L"Error while parsing attribute string" },
                                           TParseCaseUI{ L"<a x \"1\"/>", L"Error while parsing attributes" },
                                           TParseCaseUI{ L"text", L"Expected start tag" },
                                           TParseCaseUI{ L"< >", L"Error parsing element name" },
                                           TParseCaseUI{ L"<a x=\"1\" %>", L"Error while parsing attributes" },
                                           TParseCaseUI{ L"<a><b><c>", L"Expected end-tag start" },
                                           TParseCaseUI{ L"<?xml version=\"1.0\"?><!-- note --><a/>", nullptr }));

std::wstring Nested(int nDepth)
{
    std::wstring markup;
    for (int i = 0; i < nDepth; i++) markup += L"<a>";
    for (int i = 0; i < nDepth; i++) markup += L"</a>";
    return markup;
}

TEST(UpdMarkupTest, BoundsTheNestingWithAParseError)
{
    CXmlDocUI doc;
    ASSERT_TRUE(doc.Load(Nested(CXmlDocUI::MAX_DEPTH).c_str())) << doc.GetLastErrorMessage();
    int nDepth = 0;
    for (CXmlNodeUI node = doc.GetRoot(); node.IsValid(); node = node.GetChild()) nDepth++;
    EXPECT_EQ(nDepth, CXmlDocUI::MAX_DEPTH);
    // One level more is refused; a nesting deep enough to exhaust the stack fails the same way.
    for (int nTooDeep : { CXmlDocUI::MAX_DEPTH + 1, 200000 }) {
        EXPECT_FALSE(doc.Load(Nested(nTooDeep).c_str())) << nTooDeep;
        EXPECT_STREQ(doc.GetLastErrorMessage(), L"Elements nested too deeply");
        EXPECT_FALSE(doc.GetRoot().IsValid());
    }
    EXPECT_TRUE(doc.Load(Nested(CXmlDocUI::MAX_DEPTH).c_str())) << doc.GetLastErrorMessage();
}

TEST(UpdMarkupTest, ReadsAttributesInDocumentOrder)
{
    CXmlDocUI doc;
    ASSERT_TRUE(doc.Load(L"<Window size=\"400,300\" caption = \"0,0,0,30\"><Font name=\"Tahoma\"/></Window>"));
    CXmlNodeUI root = doc.GetRoot();
    EXPECT_STREQ(L"Window", root.GetName());
    ASSERT_EQ(2, root.GetAttributeCount());
    EXPECT_STREQ(L"size", root.GetAttributeName(0));
    EXPECT_STREQ(L"400,300", root.GetAttributeValue(0));
    EXPECT_STREQ(L"caption", root.GetAttributeName(1));
    EXPECT_STREQ(L"0,0,0,30", root.GetAttributeValue(1));
    EXPECT_STREQ(L"", root.GetAttributeName(2));
    EXPECT_STREQ(L"", root.GetAttributeValue(-1));
    CXmlNodeUI font = root.GetChild();
    EXPECT_STREQ(L"Font", font.GetName());
    EXPECT_FALSE(font.GetSibling().IsValid());
    EXPECT_FALSE(font.HasChildren());
}

TEST(UpdMarkupTest, SkipsCommentAndDeclarationBeforeTheRoot)
{
    CXmlDocUI doc;
    ASSERT_TRUE(
        doc.Load(L"<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<!-- the dialog -->\r\n<Window><A/><B/></Window>"));
    CXmlNodeUI root = doc.GetRoot();
    EXPECT_STREQ(L"Window", root.GetName());
    EXPECT_STREQ(L"A", root.GetChild().GetName());
    EXPECT_STREQ(L"B", root.GetChild().GetSibling().GetName());
}

TEST(UpdMarkupTest, DecodesTheFiveEntitiesAndKeepsUnknownOnes)
{
    CXmlDocUI doc;
    ASSERT_TRUE(doc.Load(L"<r><t>1&lt;2&amp;3</t><u>&copy;4 &quot;&apos;&gt;</u><v a=\"x&amp;y\"/></r>"));
    CXmlNodeUI t = doc.GetRoot().GetChild();
    EXPECT_STREQ(L"1<2&3", t.GetValue());
    CXmlNodeUI u = t.GetSibling();
    EXPECT_STREQ(L"&copy;4 \"'>", u.GetValue());
    CXmlNodeUI v = u.GetSibling();
    EXPECT_STREQ(L"x&y", v.GetAttributeValue(0));
}

TEST(UpdMarkupTest, CopiesANamedAttributeCutToTheBuffer)
{
    CXmlDocUI doc;
    ASSERT_TRUE(doc.Load(L"<a source=\"row.xml\" long=\"0123456789\"/>"));
    CXmlNodeUI a = doc.GetRoot();
    WCHAR szValue[6];
    wmemset(szValue, L'#', 6);
    EXPECT_TRUE(a.GetAttributeValue(L"source", szValue, 6));
    EXPECT_STREQ(L"row.x", szValue); // cut and terminated inside the buffer
    WCHAR szLong[4] = { L'#', L'#', L'#', L'#' };
    EXPECT_TRUE(a.GetAttributeValue(L"long", szLong, 4));
    EXPECT_STREQ(L"012", szLong);
    EXPECT_FALSE(a.GetAttributeValue(L"Source", szValue, 6)); // names compare exactly
}

TEST(UpdMarkupTest, KeepsTheFirst64Attributes)
{
    std::wstring sMarkup = L"<a";
    for (int i = 0; i < 70; i++) sMarkup += L" n" + std::to_wstring(i) + L"=\"" + std::to_wstring(i) + L"\"";
    sMarkup += L"/>";
    CXmlDocUI doc;
    ASSERT_TRUE(doc.Load(sMarkup.c_str()));
    CXmlNodeUI a = doc.GetRoot();
    EXPECT_EQ(64, a.GetAttributeCount());
    EXPECT_STREQ(L"63", a.GetAttributeValue(63));
}

TEST(UpdMarkupTest, LoadsTheEncodingsFromMemory)
{
    const char szUtf8Bom[] = "\xEF\xBB\xBF<a t=\"\xE7\xA1\xAE\xE5\xAE\x9A\"/>";
    CXmlDocUI doc;
    ASSERT_TRUE(doc.LoadFromMemory((const BYTE*)szUtf8Bom, sizeof(szUtf8Bom) - 1, CXmlDocUI::ENCODING_UTF8));
    EXPECT_STREQ(L"a", doc.GetRoot().GetName());
    EXPECT_STREQ(L"\x786E\x5B9A", doc.GetRoot().GetAttributeValue(0));

    const BYTE bigEndian[] = { 0xFE, 0xFF, 0, '<', 0, 'b', 0, '/', 0, '>' };
    ASSERT_TRUE(doc.LoadFromMemory(bigEndian, sizeof(bigEndian), CXmlDocUI::ENCODING_UNICODE));
    EXPECT_STREQ(L"b", doc.GetRoot().GetName());

    const BYTE littleEndian[] = { 0xFF, 0xFE, '<', 0, 'c', 0, '/', 0, '>', 0 };
    ASSERT_TRUE(doc.LoadFromMemory(littleEndian, sizeof(littleEndian), CXmlDocUI::ENCODING_UNICODE));
    EXPECT_STREQ(L"c", doc.GetRoot().GetName());

    const BYTE noMark[] = { '<', 0, 'c', 0, '/', 0, '>', 0 };
    EXPECT_FALSE(doc.LoadFromMemory(noMark, sizeof(noMark), CXmlDocUI::ENCODING_UNICODE));
    EXPECT_FALSE(doc.GetRoot().IsValid());
    EXPECT_FALSE(doc.LoadFromMemory(noMark, 1, CXmlDocUI::ENCODING_UNICODE));
}

TEST(UpdMarkupTest, RefusesANullText)
{
    CXmlDocUI doc;
    EXPECT_FALSE(doc.Load(nullptr));
    EXPECT_FALSE(doc.LoadFromMemory(nullptr, 10, CXmlDocUI::ENCODING_UTF8));
    EXPECT_FALSE(doc.GetRoot().IsValid());
}

// Markup files below the resource folder, with the size limits of a markup file.
class UpdMarkupFileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_sFolder = UpdSkinTest::MakeTempFolder(L"updui_markup_files");
        CWindowManagerUI::SetResourcePath(m_sFolder.c_str());
    }

    void TearDown() override { CWindowManagerUI::SetResourcePath(L""); }

    // "<a>" + filler + "</a>" of exactly nSize bytes.
    void WriteMarkupOfSize(LPCWSTR pstrName, size_t nSize)
    {
        std::string sMarkup = "<a>" + std::string(nSize - 7, 'x') + "</a>";
        ASSERT_TRUE(UpdSkinTest::WriteWholeFile(m_sFolder + pstrName, sMarkup.data(), sMarkup.size()));
    }

    std::wstring m_sFolder;
};

TEST_F(UpdMarkupFileTest, AcceptsFourMebibytesAndRefusesOneByteMore)
{
    WriteMarkupOfSize(L"limit.xml", 0x400000);
    WriteMarkupOfSize(L"over.xml", 0x400001);
    CXmlDocUI doc;
    EXPECT_TRUE(doc.LoadFromFile(L"limit.xml", CXmlDocUI::ENCODING_UTF8)) << doc.GetLastErrorMessage();
    EXPECT_STREQ(L"a", doc.GetRoot().GetName());
    EXPECT_FALSE(doc.LoadFromFile(L"over.xml", CXmlDocUI::ENCODING_UTF8));
    EXPECT_STREQ(L"File too large", doc.GetLastErrorMessage());
    EXPECT_FALSE(doc.GetRoot().IsValid());
}

TEST_F(UpdMarkupFileTest, ReportsMissingAndEmptyFiles)
{
    ASSERT_TRUE(UpdSkinTest::WriteWholeFile(m_sFolder + L"empty.xml", "", 0));
    CXmlDocUI doc;
    EXPECT_FALSE(doc.LoadFromFile(L"missing.xml", CXmlDocUI::ENCODING_UTF8));
    EXPECT_STREQ(L"Error opening file", doc.GetLastErrorMessage());
    EXPECT_FALSE(doc.LoadFromFile(L"empty.xml", CXmlDocUI::ENCODING_UTF8));
    EXPECT_STREQ(L"File is empty", doc.GetLastErrorMessage());
}

TEST_F(UpdMarkupFileTest, LoadsAUtf8FileWithAByteOrderMark)
{
    const char szMarkup[] = "\xEF\xBB\xBF<Window><Control name=\"x\"/></Window>";
    ASSERT_TRUE(UpdSkinTest::WriteWholeFile(m_sFolder + L"bom.xml", szMarkup, sizeof(szMarkup) - 1));
    CXmlDocUI doc;
    ASSERT_TRUE(doc.LoadFromFile(L"bom.xml", CXmlDocUI::ENCODING_UTF8)) << doc.GetLastErrorMessage();
    EXPECT_STREQ(L"Window", doc.GetRoot().GetName());
    EXPECT_STREQ(L"x", doc.GetRoot().GetChild().GetAttributeValue(0));
}

} // namespace
