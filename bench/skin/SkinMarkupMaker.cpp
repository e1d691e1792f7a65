#include "SkinMarkupMaker.h"

#include <windows.h>

#include <cstdarg>
#include <cstdio>

namespace {

const char* const kFrameImage = "file='frame.png' corner='3,3,3,3'";
const char* const kFrameHotImage = "file='framea.png' corner='3,3,3,3'";

} // namespace

std::string CSkinMarkupMaker::MakeLargeSkin(size_t nMinBytes)
{
    std::string out;
    out.reserve(nMinBytes + 64 * 1024);
    AppendHead(out);
    for (int iPage = 0; out.size() < nMinBytes; iPage++) AppendPage(out, iPage);
    AppendTail(out);
    return out;
}

std::string CSkinMarkupMaker::MakeWindowSkin()
{
    std::string out;
    AppendHead(out);
    AppendPage(out, 0);
    AppendTail(out);
    return out;
}

std::wstring CSkinMarkupMaker::Widen(const std::string& utf8)
{
    const int nChars = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), (int)utf8.size(), nullptr, 0);
    std::wstring wide(nChars > 0 ? (size_t)nChars : 0, L'\0');
    if (nChars > 0) MultiByteToWideChar(CP_UTF8, 0, utf8.data(), (int)utf8.size(), &wide[0], nChars);
    return wide;
}

void CSkinMarkupMaker::AppendHead(std::string& out)
{
    AppendFormat(out,
                 "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
                 "<Window size=\"%d,%d\" caption=\"0,0,0,56\" sizebox=\"4,4,4,4\" mininfo=\"800,560\">\n"
                 "  <Font name=\"Tahoma\" size=\"12\" default=\"true\"/>\n"
                 "  <Font name=\"Tahoma\" size=\"12\" bold=\"true\" defaultbold=\"true\"/>\n"
                 "  <Font name=\"Tahoma\" size=\"18\" bold=\"true\"/>\n"
                 "  <Default name=\"Option\" value=\"height=&quot;32&quot; textcolor=&quot;#FF303030&quot; "
                 "selectedtextcolor=&quot;#FFFFFFFF&quot; selectedbkcolor=&quot;#FF2B5797&quot;\"/>\n"
                 "  <VerticalLayout name=\"root\" bkimage=\"backdrop.png\">\n"
                 "    <HorizontalLayout name=\"caption\" height=\"56\" bkcolor=\"#E02B5797\" inset=\"12,12,12,12\" "
                 "childpadding=\"8\">\n"
                 "      <Label name=\"logo\" width=\"160\" text=\"Lumora 视频\" font=\"2\" textcolor=\"#FFFFFFFF\"/>\n",
                 WINDOW_WIDTH, WINDOW_HEIGHT);
    static const char* const kTabs[] = { "首页", "电影", "电视剧", "综艺", "动漫" };
    for (int i = 0; i < 5; i++)
        AppendFormat(out, "      <Option name=\"tab%d\" width=\"80\" text=\"%s\" group=\"true\"%s/>\n", i, kTabs[i],
                     i == 0 ? " selected=\"true\"" : "");
    out += "      <Control/>\n";
    static const char* const kButtons[] = { "minbtn", "maxbtn", "closebtn" };
    for (const char* pstrName : kButtons)
        AppendFormat(out, "      <Button name=\"%s\" width=\"32\" normalimage=\"%s\" hotimage=\"%s\"/>\n", pstrName,
                     kFrameImage, kFrameHotImage);
    out += "    </HorizontalLayout>\n"
           "    <HorizontalLayout name=\"body\">\n"
           "      <VerticalLayout name=\"nav\" width=\"180\" bkcolor=\"#F0F4F4F4\" inset=\"8,8,8,8\" "
           "childpadding=\"4\">\n";
    for (int i = 0; i < 10; i++)
        AppendFormat(out, "        <Option name=\"nav%d\" text=\"分类 %d\" group=\"true\"%s/>\n", i, i + 1,
                     i == 0 ? " selected=\"true\"" : "");
    out += "      </VerticalLayout>\n"
           "      <VerticalLayout name=\"content\" inset=\"16,12,16,12\" childpadding=\"10\">\n"
           "        <Text name=\"headline\" height=\"24\" showhtml=\"true\" "
           "text=\"&lt;b&gt;今日推荐&lt;/b&gt; 为你挑选 &lt;a more&gt;更多&lt;/a&gt;\"/>\n"
           "        <TabLayout name=\"pages\">\n";
}

void CSkinMarkupMaker::AppendPage(std::string& out, int iPage)
{
    AppendFormat(out,
                 "          <!-- 第 %d 页 -->\n"
                 "          <TileLayout name=\"page%d\" columns=\"5\" childpadding=\"12\">\n",
                 iPage + 1, iPage);
    for (int i = 0; i < CARDS_PER_PAGE; i++) AppendCard(out, iPage * CARDS_PER_PAGE + i);
    out += "          </TileLayout>\n";
}

void CSkinMarkupMaker::AppendCard(std::string& out, int iCard)
{
    AppendFormat(out,
                 "            <VerticalLayout name=\"card%d\" height=\"140\" inset=\"4,4,4,4\" childpadding=\"4\" "
                 "bkimage=\"%s\" tooltip=\"视频 %d\">\n"
                 "              <Control name=\"thumb%d\" height=\"82\" bkimage=\"file='backdrop.png' fade='230'\" "
                 "bordersize=\"1\" bordercolor=\"#FFD0D0D0\"/>\n"
                 "              <Label name=\"title%d\" height=\"20\" text=\"视频标题 %d &amp; 第 %d 集\" "
                 "textcolor=\"#FF202020\" align=\"left\" textpadding=\"2,0,2,0\"/>\n"
                 "              <HorizontalLayout height=\"20\" childpadding=\"4\">\n"
                 "                <Text name=\"info%d\" showhtml=\"true\" "
                 "text=\"&lt;c #FF888888&gt;播放 %d.%d万&lt;/c&gt; &lt;i frames.png %d&gt;\"/>\n"
                 "                <Button name=\"play%d\" width=\"20\" normalimage=\"%s\" hotimage=\"%s\" "
                 "tooltip=\"播放\"/>\n"
                 "              </HorizontalLayout>\n"
                 "            </VerticalLayout>\n",
                 iCard, kFrameHotImage, iCard + 1, iCard, iCard, iCard + 1, iCard % 40 + 1, iCard, iCard % 100,
                 iCard % 10, iCard % 4, iCard, kFrameImage, kFrameHotImage);
}

void CSkinMarkupMaker::AppendTail(std::string& out)
{
    out += "        </TabLayout>\n"
           "      </VerticalLayout>\n"
           "    </HorizontalLayout>\n"
           "    <HorizontalLayout name=\"status\" height=\"26\" bkcolor=\"#FFE8E8E8\" inset=\"8,4,8,4\">\n"
           "      <Label name=\"statustext\" text=\"就绪\" textcolor=\"#FF606060\"/>\n"
           "    </HorizontalLayout>\n"
           "  </VerticalLayout>\n"
           "</Window>\n";
}

void CSkinMarkupMaker::AppendFormat(std::string& out, const char* pstrFormat, ...)
{
    va_list args;
    va_start(args, pstrFormat);
    va_list measure;
    va_copy(measure, args);
    const int nLength = vsnprintf(nullptr, 0, pstrFormat, measure);
    va_end(measure);
    if (nLength > 0) {
        const size_t nOld = out.size();
        out.resize(nOld + static_cast<size_t>(nLength) + 1);
        vsnprintf(&out[nOld], static_cast<size_t>(nLength) + 1, pstrFormat, args);
        out.resize(nOld + static_cast<size_t>(nLength));
    }
    va_end(args);
}
