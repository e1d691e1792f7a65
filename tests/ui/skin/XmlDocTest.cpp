#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "XmlDocUI.h"

namespace {

std::wstring TempPath(LPCWSTR name)
{
    WCHAR dir[MAX_PATH];
    GetTempPathW(MAX_PATH, dir);
    return std::wstring(dir) + name;
}

void WriteBytes(const std::wstring& path, const std::string& bytes)
{
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(h, bytes.data(), (DWORD)bytes.size(), &written, nullptr));
    CloseHandle(h);
}

std::vector<std::wstring> ChildNames(CXmlNodeUI node)
{
    std::vector<std::wstring> names;
    for (CXmlNodeUI child = node.GetChild(); child.IsValid(); child = child.GetSibling())
        names.push_back(child.GetName());
    return names;
}

} // namespace

struct ErrorCase
{
    const wchar_t* markup;
    const wchar_t* message;
};

TEST(XmlDoc, EachSyntaxErrorHasItsText)
{
    const ErrorCase cases[] = {
        { L"text", L"Expected start tag" },
        { L"<Window>x</Window> y", L"Expected start tag" },
        { L"<Window", L"Error parsing element name" },
        { L"<Window a=\"1\"", L"Expected start-tag closing" },
        { L"<Window/x>", L"Expected start-tag closing" },
        { L"<Window><A><B>text", L"Expected end-tag start" },
        { L"<Window><A></B></Window>", L"Unmatched closing tag" },
        { L"<Window><A></A</Window>", L"Unmatched closing tag" },
        { L"<Window><A><B/>text after a child</A></Window>", L"Expected start tag" },
        { L"<Window a=\"1\" b>", L"Error while parsing attributes" },
        { L"<Window a='1'/>", L"Expected attribute value" },
        { L"<Window a=\"1/>", L"Error while parsing attribute string" },
    };
    for (const ErrorCase& c : cases) {
        CXmlDocUI doc;
        EXPECT_FALSE(doc.LoadFromString(c.markup)) << c.markup;
        EXPECT_STREQ(doc.GetLastErrorMessage(), c.message) << c.markup;
        EXPECT_FALSE(doc.GetRoot().IsValid()) << c.markup;
    }
}

TEST(XmlDoc, ErrorLocationShowsTheTextWhereParsingStopped)
{
    CXmlDocUI doc;
    ASSERT_FALSE(doc.LoadFromString(L"<Window><Button a='1'/></Window>"));
    EXPECT_STREQ(doc.GetLastErrorLocation(), L"1'/></Window>");

    ASSERT_FALSE(doc.LoadFromString(L"<Window><A><B>text"));
    EXPECT_STREQ(doc.GetLastErrorLocation(), L"") << "the text ended";

    ASSERT_FALSE(doc.LoadFromString((L"<Window><A b>" + std::wstring(80, L'x') + L"</A></Window>").c_str()));
    EXPECT_STREQ(doc.GetLastErrorMessage(), L"Error while parsing attributes");
    EXPECT_EQ(wcslen(doc.GetLastErrorLocation()), 49u);

    ASSERT_TRUE(doc.LoadFromString(L"<Window/>"));
    EXPECT_STREQ(doc.GetLastErrorMessage(), L"");
    EXPECT_STREQ(doc.GetLastErrorLocation(), L"");
}

TEST(XmlDoc, EmptyElementsWithAndWithoutBlankBeforeSlash)
{
    CXmlDocUI doc;
    ASSERT_TRUE(doc.LoadFromString(L"<Window><Button/><Label /><Edit\n/><Text a=\"1\"/></Window>"))
        << doc.GetLastErrorMessage();
    CXmlNodeUI root = doc.GetRoot();
    EXPECT_STREQ(root.GetName(), L"Window");
    EXPECT_EQ(ChildNames(root), (std::vector<std::wstring>{ L"Button", L"Label", L"Edit", L"Text" }));
    CXmlNodeUI button = root.GetChild();
    EXPECT_FALSE(button.HasChildren());
    EXPECT_FALSE(button.HasAttributes());
    CXmlNodeUI text = button.GetSibling().GetSibling().GetSibling();
    ASSERT_EQ(text.GetAttributeCount(), 1);
    EXPECT_STREQ(text.GetAttributeValue(0), L"1");
}

TEST(XmlDoc, TreeShapeWithCommentsDeclarationsAndText)
{
    CXmlDocUI doc;
    ASSERT_TRUE(doc.LoadFromString(L"<?xml version=\"1.0\"?>\r\n<!-- a comment -->\n"
                                   L"<Window>some text<A><B/></A><!-- inner --><C></C></Window>\n"))
        << doc.GetLastErrorMessage();
    CXmlNodeUI root = doc.GetRoot();
    ASSERT_TRUE(root.IsValid());
    EXPECT_EQ(ChildNames(root), (std::vector<std::wstring>{ L"A", L"C" }));
    EXPECT_EQ(ChildNames(root.GetChild()), (std::vector<std::wstring>{ L"B" }));
    EXPECT_FALSE(root.GetSibling().IsValid());
}

TEST(XmlDoc, MissingEndTagAtRootAndChildLevelIsAcceptedButNotDeeper)
{
    CXmlDocUI doc;
    EXPECT_TRUE(doc.LoadFromString(L"<Window><A/>"));
    EXPECT_EQ(ChildNames(doc.GetRoot()), (std::vector<std::wstring>{ L"A" }));
    EXPECT_TRUE(doc.LoadFromString(L"<Window><A>text"));
    EXPECT_EQ(ChildNames(doc.GetRoot()), (std::vector<std::wstring>{ L"A" }));
    EXPECT_FALSE(doc.LoadFromString(L"<Window><A><B>text"));
    EXPECT_STREQ(doc.GetLastErrorMessage(), L"Expected end-tag start");
}

std::wstring Nested(int nDepth)
{
    std::wstring markup;
    for (int i = 0; i < nDepth; i++) markup += L"<a>";
    for (int i = 0; i < nDepth; i++) markup += L"</a>";
    return markup;
}

TEST(XmlDoc, NestingIsBoundedWithAParseError)
{
    CXmlDocUI doc;
    ASSERT_TRUE(doc.LoadFromString(Nested(CXmlDocUI::MAX_DEPTH).c_str())) << doc.GetLastErrorMessage();
    int nDepth = 0;
    for (CXmlNodeUI node = doc.GetRoot(); node.IsValid(); node = node.GetChild()) nDepth++;
    EXPECT_EQ(nDepth, CXmlDocUI::MAX_DEPTH);
    // One level more is refused; a nesting deep enough to exhaust the stack fails the same way.
    for (int nTooDeep : { CXmlDocUI::MAX_DEPTH + 1, 200000 }) {
        EXPECT_FALSE(doc.LoadFromString(Nested(nTooDeep).c_str())) << nTooDeep;
        EXPECT_STREQ(doc.GetLastErrorMessage(), L"Elements nested too deeply");
        EXPECT_FALSE(doc.GetRoot().IsValid());
    }
    // The count starts again with each document.
    EXPECT_TRUE(doc.LoadFromString(Nested(CXmlDocUI::MAX_DEPTH).c_str())) << doc.GetLastErrorMessage();
}

TEST(XmlDoc, EntitiesSingleQuotesAndBlanksInValues)
{
    CXmlDocUI doc;
    ASSERT_TRUE(doc.LoadFromString(L"<Window a=\"&lt;b&gt;\" b=\"x &amp;&quot;&apos; y\" c=\"&bogus; &amp\" "
                                   L"d=\"one   two\" e=\"\" f = \"spaced\"/>"))
        << doc.GetLastErrorMessage();
    CXmlNodeUI root = doc.GetRoot();
    ASSERT_EQ(root.GetAttributeCount(), 6);
    const wchar_t* expected[][2] = {
        { L"a", L"<b>" },     { L"b", L"x &\"' y" }, { L"c", L"&bogus; &amp" },
        { L"d", L"one two" }, { L"e", L"" },         { L"f", L"spaced" },
    };
    for (int i = 0; i < 6; i++) {
        EXPECT_STREQ(root.GetAttributeName(i), expected[i][0]);
        EXPECT_STREQ(root.GetAttributeValue(i), expected[i][1]);
    }
    EXPECT_STREQ(root.GetAttributeName(6), L"");
    EXPECT_STREQ(root.GetAttributeValue(-1), L"");

    WCHAR value[4 + 1] = {};
    EXPECT_TRUE(root.GetAttributeValue(L"d", value, 4));
    EXPECT_STREQ(value, L"one ");
    EXPECT_FALSE(root.GetAttributeValue(L"D", value, 4)) << "names compare exactly";
}

TEST(XmlDoc, OnlyTheFirst64AttributesAreExposed)
{
    std::wstring markup = L"<Window";
    for (int i = 0; i < 70; i++) markup += L" a" + std::to_wstring(i) + L"=\"v" + std::to_wstring(i) + L"\"";
    markup += L"><Child/></Window>";
    CXmlDocUI doc;
    ASSERT_TRUE(doc.LoadFromString(markup.c_str())) << doc.GetLastErrorMessage();
    CXmlNodeUI root = doc.GetRoot();
    ASSERT_EQ(root.GetAttributeCount(), 64);
    EXPECT_STREQ(root.GetAttributeName(63), L"a63");
    EXPECT_STREQ(root.GetAttributeValue(63), L"v63");
    WCHAR value[16] = {};
    EXPECT_TRUE(root.GetAttributeValue(L"a0", value, 15));
    EXPECT_FALSE(root.GetAttributeValue(L"a64", value, 15));
    EXPECT_STREQ(root.GetChild().GetName(), L"Child");
}

TEST(XmlDoc, InvalidNodeAnswersNothing)
{
    CXmlDocUI doc;
    CXmlNodeUI none = doc.GetRoot();
    EXPECT_FALSE(none.IsValid());
    EXPECT_EQ(none.GetName(), nullptr);
    EXPECT_EQ(none.GetAttributeName(0), nullptr);
    EXPECT_EQ(none.GetAttributeValue(0), nullptr);
    EXPECT_FALSE(none.GetChild().IsValid());
    EXPECT_FALSE(none.HasChildren());
    EXPECT_TRUE(doc.LoadFromString(L"  "));
    EXPECT_FALSE(doc.GetRoot().IsValid());
}

TEST(XmlDoc, EncodingsFromMemory)
{
    CXmlDocUI doc;
    const std::string utf8 = "<Window title=\"\xE7\xA1\xAE\xE5\xAE\x9A\"/>";
    ASSERT_TRUE(doc.LoadFromMem((const BYTE*)utf8.data(), (DWORD)utf8.size(), CXmlDocUI::ENCODING_UTF8));
    EXPECT_STREQ(doc.GetRoot().GetAttributeValue(0), L"\x786E\x5B9A");

    const std::string withBom = "\xEF\xBB\xBF" + utf8;
    EXPECT_FALSE(doc.LoadFromMem((const BYTE*)withBom.data(), (DWORD)withBom.size(), CXmlDocUI::ENCODING_UTF8));
    EXPECT_STREQ(doc.GetLastErrorMessage(), L"Expected start tag");

    if (GetACP() == 936) {
        const std::string gbk = "<Window title=\"\xC8\xB7\xB6\xA8\"/>";
        ASSERT_TRUE(doc.LoadFromMem((const BYTE*)gbk.data(), (DWORD)gbk.size(), CXmlDocUI::ENCODING_ANSI));
        EXPECT_STREQ(doc.GetRoot().GetAttributeValue(0), L"\x786E\x5B9A");
    }

    const std::wstring text = L"<Window title=\"\x786E\x5B9A\"><A/></Window>";
    std::string le = "\xFF\xFE", be = "\xFE\xFF";
    for (wchar_t ch : text) {
        le += (char)(ch & 0xFF);
        le += (char)(ch >> 8);
        be += (char)(ch >> 8);
        be += (char)(ch & 0xFF);
    }
    for (const std::string& bytes : { le, be }) {
        ASSERT_TRUE(doc.LoadFromMem((const BYTE*)bytes.data(), (DWORD)bytes.size(), 0)) << doc.GetLastErrorMessage();
        EXPECT_STREQ(doc.GetRoot().GetAttributeValue(0), L"\x786E\x5B9A");
        EXPECT_STREQ(doc.GetRoot().GetChild().GetName(), L"A");
    }
    const std::string noBom = le.substr(2);
    EXPECT_FALSE(doc.LoadFromMem((const BYTE*)noBom.data(), (DWORD)noBom.size(), 0));
    EXPECT_FALSE(doc.LoadFromMem((const BYTE*)le.data(), (DWORD)le.size() - 1, 0)) << "odd byte count";
    EXPECT_FALSE(doc.GetRoot().IsValid());
}

TEST(XmlDoc, FileErrorsAndTheFourMebibyteLimit)
{
    CXmlDocUI doc;
    EXPECT_FALSE(doc.LoadFromFile(TempPath(L"lumora_no_such_markup.xml").c_str(), CXmlDocUI::ENCODING_UTF8));
    EXPECT_STREQ(doc.GetLastErrorMessage(), L"Error opening file");
    EXPECT_STREQ(doc.GetLastErrorLocation(), L"");

    const std::wstring path = TempPath(L"lumora_xmldoc_test.xml");
    WriteBytes(path, "");
    EXPECT_FALSE(doc.LoadFromFile(path.c_str(), CXmlDocUI::ENCODING_UTF8));
    EXPECT_STREQ(doc.GetLastErrorMessage(), L"File is empty");

    const std::string head = "<Window><Label text=\"", tail = "\"/></Window>";
    std::string big = head + std::string(4194304 - head.size() - tail.size(), 'x') + tail;
    ASSERT_EQ(big.size(), 4194304u);
    WriteBytes(path, big);
    ASSERT_TRUE(doc.LoadFromFile(path.c_str(), CXmlDocUI::ENCODING_UTF8)) << doc.GetLastErrorMessage();
    EXPECT_EQ(wcslen(doc.GetRoot().GetChild().GetAttributeValue(0)), big.size() - head.size() - tail.size());

    WriteBytes(path, big + " ");
    EXPECT_FALSE(doc.LoadFromFile(path.c_str(), CXmlDocUI::ENCODING_UTF8));
    EXPECT_STREQ(doc.GetLastErrorMessage(), L"File too large");
    EXPECT_FALSE(doc.GetRoot().IsValid()) << "a failed load drops the earlier document";
    DeleteFileW(path.c_str());
}

std::string Utf8Of(const std::wstring& text)
{
    const int nBytes = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), (int)text.size(), nullptr, 0, nullptr, nullptr);
    std::string utf8((size_t)nBytes, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), (int)text.size(), &utf8[0], nBytes, nullptr, nullptr);
    return utf8;
}

// Attribute values are decoded in place: entities become their characters, a run of
// blanks becomes one blank, and text needing neither is left as it is. The same
// values come through the UTF-16 and the UTF-8 loads, multi-byte characters included.
TEST(XmlDoc, AttributeValuesAreDecodedInPlace)
{
    const struct
    {
        const wchar_t* value;
        const wchar_t* decoded;
    } cases[] = {
        { L"plain", L"plain" },
        { L"a b", L"a b" },
        { L"a   b", L"a b" },
        { L"a \t\r\n b", L"a b" },
        { L"trailing ", L"trailing " },
        { L"trailing  ", L"trailing " },
        { L"x&amp;y", L"x&y" },
        { L"&lt;&gt;&quot;&apos;", L"<>\"'" },
        { L"a  &lt;b &amp;  c", L"a <b & c" },
        { L"&unknown; &amp", L"&unknown; &amp" },
        { L"\u89c6\u9891  \u64ad\u653e&amp;", L"\u89c6\u9891 \u64ad\u653e&" },
        { L"", L"" },
    };
    for (const auto& c : cases) {
        const std::wstring markup = std::wstring(L"<Window a=\"") + c.value + L"\" b=\"after\"/>";
        CXmlDocUI wide;
        ASSERT_TRUE(wide.LoadFromString(markup.c_str())) << wide.GetLastErrorMessage();
        CXmlNodeUI root = wide.GetRoot();
        ASSERT_EQ(root.GetAttributeCount(), 2) << c.value;
        EXPECT_STREQ(root.GetAttributeValue(0), c.decoded) << c.value;
        EXPECT_STREQ(root.GetAttributeValue(1), L"after") << c.value;

        const std::string utf8 = Utf8Of(markup);
        CXmlDocUI narrow;
        ASSERT_TRUE(narrow.LoadFromMem((const BYTE*)utf8.data(), (DWORD)utf8.size(), CXmlDocUI::ENCODING_UTF8))
            << narrow.GetLastErrorMessage();
        CXmlNodeUI root8 = narrow.GetRoot();
        ASSERT_EQ(root8.GetAttributeCount(), 2) << c.value;
        EXPECT_STREQ(root8.GetAttributeValue(0), c.decoded) << c.value;
    }
}

// A text of mostly multi-byte characters converts into a buffer much larger than it
// needs, which is given back; the text is whole either way.
TEST(XmlDoc, MultiByteTextLoadsWhole)
{
    std::wstring value;
    for (int i = 0; i < 5000; i++) value += (wchar_t)(0x4E00 + i % 2000);
    const std::wstring markup = L"<Window a=\"" + value + L"\"/>";
    const std::string utf8 = Utf8Of(markup);
    CXmlDocUI doc;
    ASSERT_TRUE(doc.LoadFromMem((const BYTE*)utf8.data(), (DWORD)utf8.size(), CXmlDocUI::ENCODING_UTF8));
    EXPECT_EQ(std::wstring(doc.GetRoot().GetAttributeValue(0)), value);
}
