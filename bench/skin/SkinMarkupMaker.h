#pragma once
#include <string>

// Writes the skin markup the benchmark measures: the markup of a main window of the
// video portal (caption bar, navigation, pages of video cards, status bar) in UTF-8,
// with the images of the packed test skin. Both the large parse input and the painted
// window come from here, so they use the same vocabulary of tags and attributes.
class CSkinMarkupMaker
{
public:
    enum { WINDOW_WIDTH = 1132, WINDOW_HEIGHT = 750, CARDS_PER_PAGE = 20 };

    // A window with as many pages of cards as make at least nMinBytes of markup.
    static std::string MakeLargeSkin(size_t nMinBytes);
    // The window as it is shown: one page of cards.
    static std::string MakeWindowSkin();
    // The UI library takes markup text as UTF-16.
    static std::wstring Widen(const std::string& utf8);

private:
    static void AppendHead(std::string& out);
    static void AppendPage(std::string& out, int iPage);
    static void AppendCard(std::string& out, int iCard);
    static void AppendTail(std::string& out);
    static void AppendFormat(std::string& out, const char* pstrFormat, ...);
};
