#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

struct TImageRecUI;

// Colours packed as HSL: byte 0 hue (0..255 for 0..360 degrees), byte 1
// lightness, byte 2 saturation, each 0..255.
DWORD RgbToHsl(COLORREF color);
COLORREF HslToRgb(DWORD hsl);
// Lightens towards white (lighten > 0) or darkens (lighten < 0) by a percent of
// the way, and takes saturation away (saturation < 0) by a percent.
COLORREF AdjustColor(COLORREF color, int lighten, int saturation);

// A PNG resource (type "png") as a premultiplied 32-bit top-down bitmap; null
// when the resource is missing or cannot be decoded. Free it with
// CPainterUI::FreeImageData.
TImageRecUI* LoadPngResource(HMODULE module, UINT id);

// Draws the main window's native popup menus with the program's own look: a
// light two-tone background, a bitmap bar under the selected item, icons from
// a PNG strip, bold default items, check marks and etched separators.
//
// Items become owner-drawn while their menu is open and are given back as they
// were when it closes. Every item's record belongs to this object, not to the
// menu, so a menu destroyed while open leaks nothing, and item data that this
// object did not attach is never read.
class CCoolContextMenu
{
public:
    static const UINT kStripResource = 148;     // icons, 16 x 16 cells
    static const UINT kSelectionResource = 150; // bar under the selected item
    static const UINT kExitCommand = 105;
    static const UINT kFeedbackCommand = 0x800E;

    CCoolContextMenu();
    virtual ~CCoolContextMenu();
    CCoolContextMenu(const CCoolContextMenu&) = delete;
    CCoolContextMenu& operator=(const CCoolContextMenu&) = delete;

    // Reads the system's menu metrics and loads the images from module's resources.
    void InitMenuLook(HMODULE module);
    // Menu messages of the window that tracks the menus; false when the message
    // is not one of them.
    bool HandleMenuMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& result);

    // Strip image index of a command's item: 2 exit, 1 feedback, -1 no icon.
    static int ImageIndexOf(UINT command);
    // Items converted and not yet given back, over every open menu.
    size_t ConvertedItemCount() const;
    HFONT GetMenuFont() const { return m_menuFont; }

protected:
    void ConvertMenu(HMENU menu);
    void RestoreMenus();
    bool MeasureItem(MEASUREITEMSTRUCT* measure) const;
    bool DrawItem(const DRAWITEMSTRUCT* draw) const;

private:
    struct ItemRecord
    {
        std::wstring text;
        UINT type = 0; // with MFT_OWNERDRAW added
        UINT state = 0;
        int imageIndex = -1;
    };
    struct OpenMenu
    {
        HMENU menu = nullptr;
        std::vector<std::unique_ptr<ItemRecord>> items;
    };

    void ReadMenuFont();
    void MeasureCheckWidth();
    void ReadFlatMenus();
    void RestoreMenu(OpenMenu& open);
    const ItemRecord* FindRecord(ULONG_PTR data) const;

    void DrawBackground(HDC dc, const RECT& rc, bool selected) const;
    void DrawSeparator(HDC dc, const RECT& rc) const;
    void DrawLabel(HDC dc, const RECT& rc, const ItemRecord& item, bool grayed, bool bold) const;
    void DrawCheckFrame(HDC dc, const RECT& rc, bool selected, bool grayed) const;
    void DrawIcon(HDC dc, const RECT& rc, const ItemRecord& item, bool checked) const;
    static void BlendImage(HDC dc, const TImageRecUI* image, const RECT& dest, int srcX, int srcY, int srcWidth,
                           int srcHeight);

    const int m_bitmapWidth = 16;
    const int m_bitmapHeight = 15;
    const int m_buttonWidth = 22;
    const int m_buttonHeight = 21;
    HFONT m_menuFont = nullptr;
    LOGFONTW m_menuLogFont = {};
    int m_checkWidth = 0;
    bool m_flatMenus = false;
    const COLORREF m_maskColour = 0xC0C0C0;
    std::vector<OpenMenu> m_openMenus;
    TImageRecUI* m_stripImage = nullptr;
    TImageRecUI* m_selectionImage = nullptr;
};
