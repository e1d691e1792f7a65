#include "CoolContextMenu.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "ImageDecoderUI.h"
#include "MsimgUI.h"
#include "PainterUI.h"

// The system reads these records by size: on 32-bit Windows they must have
// the sizes the system expects there.
static_assert(sizeof(void*) != 4 || sizeof(MENUITEMINFOW) == 48, "menu item records");
static_assert(sizeof(void*) != 4 || sizeof(NONCLIENTMETRICSW) == 504, "the menu font metrics");

#ifndef OBM_CHECK
#define OBM_CHECK 32760 // only declared with OEMRESOURCE
#endif

namespace {

const int kMaxItemText = 100;
const int kNormalWeight = 400;
const int kBoldWeight = 700;

// ---------------------------------------------------------------------------
// Scope guards

// Selects a solid brush of a colour, or the null brush for (COLORREF)-1.
class ScopedBrush
{
public:
    ScopedBrush(HDC dc, COLORREF color)
        : m_dc(dc), m_brush(color == static_cast<COLORREF>(-1) ? nullptr : CreateSolidBrush(color))
    {
        m_old = SelectObject(m_dc, m_brush ? static_cast<HGDIOBJ>(m_brush) : GetStockObject(NULL_BRUSH));
    }
    ~ScopedBrush()
    {
        SelectObject(m_dc, m_old);
        if (m_brush) DeleteObject(m_brush);
    }
    ScopedBrush(const ScopedBrush&) = delete;
    ScopedBrush& operator=(const ScopedBrush&) = delete;

private:
    HDC m_dc;
    HBRUSH m_brush;
    HGDIOBJ m_old;
};

// Selects a font in its bold or normal form.
class ScopedFontWeight
{
public:
    ScopedFontWeight(HDC dc, HFONT font, bool bold) : m_dc(dc)
    {
        LOGFONTW lf = {};
        if (!font || !GetObjectW(font, sizeof(lf), &lf)) GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
        lf.lfWeight = bold ? kBoldWeight : kNormalWeight;
        m_font = CreateFontIndirectW(&lf);
        m_old = SelectObject(m_dc, m_font);
    }
    ~ScopedFontWeight()
    {
        SelectObject(m_dc, m_old);
        DeleteObject(m_font);
    }
    ScopedFontWeight(const ScopedFontWeight&) = delete;
    ScopedFontWeight& operator=(const ScopedFontWeight&) = delete;

private:
    HDC m_dc;
    HFONT m_font;
    HGDIOBJ m_old;
};

int TextWidth(HDC dc, const wchar_t* text, int length)
{
    RECT rc = { 0, 0, 0, 0 };
    ::DrawTextW(dc, text, length, &rc, DT_CALCRECT | DT_SINGLELINE);
    return rc.right - rc.left;
}

void FillSolid(HDC dc, const RECT& rc, COLORREF color)
{
    HBRUSH brush = CreateSolidBrush(color);
    FillRect(dc, &rc, brush);
    DeleteObject(brush);
}

COLORREF ButtonFace()
{
    return GetSysColor(COLOR_BTNFACE);
}

} // namespace

// ---------------------------------------------------------------------------
// Colours

DWORD RgbToHsl(COLORREF color)
{
    double r = GetRValue(color) / 255.0, g = GetGValue(color) / 255.0, b = GetBValue(color) / 255.0;
    double high = std::max({ r, g, b }), low = std::min({ r, g, b });
    double lightness = (high + low) / 2;
    double hue = 0, saturation = 0;
    double delta = high - low;
    if (delta > 0) {
        saturation = lightness < 0.5 ? delta / (high + low) : delta / (2 - high - low);
        if (high == r)
            hue = (g - b) / delta + (g < b ? 6 : 0);
        else if (high == g)
            hue = (b - r) / delta + 2;
        else
            hue = (r - g) / delta + 4;
        hue /= 6;
    }
    auto pack = [](double v) { return static_cast<DWORD>(std::lround(std::min(std::max(v, 0.0), 1.0) * 255)); };
    return pack(hue) | (pack(lightness) << 8) | (pack(saturation) << 16);
}

namespace {

double HueToChannel(double p, double q, double t)
{
    if (t < 0) t += 1;
    if (t > 1) t -= 1;
    if (t < 1.0 / 6) return p + (q - p) * 6 * t;
    if (t < 0.5) return q;
    if (t < 2.0 / 3) return p + (q - p) * (2.0 / 3 - t) * 6;
    return p;
}

} // namespace

COLORREF HslToRgb(DWORD hsl)
{
    double hue = (hsl & 0xFF) / 255.0, lightness = ((hsl >> 8) & 0xFF) / 255.0;
    double saturation = ((hsl >> 16) & 0xFF) / 255.0;
    auto channel = [](double v) { return static_cast<BYTE>(std::lround(std::min(std::max(v, 0.0), 1.0) * 255)); };
    if (saturation == 0) return RGB(channel(lightness), channel(lightness), channel(lightness));
    double q = lightness < 0.5 ? lightness * (1 + saturation) : lightness + saturation - lightness * saturation;
    double p = 2 * lightness - q;
    return RGB(channel(HueToChannel(p, q, hue + 1.0 / 3)), channel(HueToChannel(p, q, hue)),
               channel(HueToChannel(p, q, hue - 1.0 / 3)));
}

COLORREF AdjustColor(COLORREF color, int lighten, int saturation)
{
    DWORD hsl = RgbToHsl(color);
    int h = hsl & 0xFF, l = (hsl >> 8) & 0xFF, s = (hsl >> 16) & 0xFF;
    if (lighten > 0)
        l += (255 - l) * lighten / 100;
    else if (lighten < 0)
        l = l * (lighten + 100) / 100;
    if (saturation < 0) s = s * (saturation + 100) / 100;
    l = std::min(std::max(l, 0), 255);
    s = std::min(std::max(s, 0), 255);
    return HslToRgb(static_cast<DWORD>(h) | (static_cast<DWORD>(l) << 8) | (static_cast<DWORD>(s) << 16));
}

TImageRecUI* LoadPngResource(HMODULE module, UINT id)
{
    HRSRC info = FindResourceW(module, MAKEINTRESOURCEW(id), L"PNG");
    if (!info) return nullptr;
    DWORD size = SizeofResource(module, info);
    HGLOBAL handle = LoadResource(module, info);
    const BYTE* data = handle ? static_cast<const BYTE*>(LockResource(handle)) : nullptr;
    if (!data || size == 0) return nullptr;
    // Mask 0: a fully transparent black pixel stays transparent, nothing else changes.
    return CImageDecoderUI::Decode(data, size, 0);
}

// ---------------------------------------------------------------------------
// Set-up

CCoolContextMenu::CCoolContextMenu() = default;

CCoolContextMenu::~CCoolContextMenu()
{
    RestoreMenus();
    if (m_menuFont) DeleteObject(m_menuFont);
    CPainterUI::FreeImageData(m_stripImage);
    CPainterUI::FreeImageData(m_selectionImage);
}

void CCoolContextMenu::InitMenuLook(HMODULE module)
{
    ReadMenuFont();
    MeasureCheckWidth();
    ReadFlatMenus();
    if (!m_stripImage) m_stripImage = LoadPngResource(module, kStripResource);
    if (!m_selectionImage) m_selectionImage = LoadPngResource(module, kSelectionResource);
}

void CCoolContextMenu::ReadMenuFont()
{
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof(metrics);
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
        GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(metrics.lfMenuFont), &metrics.lfMenuFont);
    }
    if (m_menuFont && memcmp(&metrics.lfMenuFont, &m_menuLogFont, sizeof(m_menuLogFont)) == 0) return;
    HFONT font = CreateFontIndirectW(&metrics.lfMenuFont);
    if (!font) return;
    if (m_menuFont) DeleteObject(m_menuFont);
    m_menuFont = font;
    m_menuLogFont = metrics.lfMenuFont;
}

// A tab that measures as (next to) nothing leaves the items no room between
// the text and its accelerator: they get the width of an "x" more.
void CCoolContextMenu::MeasureCheckWidth()
{
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, m_menuFont ? static_cast<HGDIOBJ>(m_menuFont) : GetStockObject(DEFAULT_GUI_FONT));
    m_checkWidth = TextWidth(dc, L"\t", 1) > 3 ? 0 : TextWidth(dc, L"x", 1);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
}

void CCoolContextMenu::ReadFlatMenus()
{
    BOOL flat = FALSE;
    m_flatMenus = SystemParametersInfoW(SPI_GETFLATMENU, 0, &flat, 0) && flat;
}

int CCoolContextMenu::ImageIndexOf(UINT command)
{
    if (command == kExitCommand) return 2;
    if (command == kFeedbackCommand) return 1;
    return -1;
}

// ---------------------------------------------------------------------------
// Converting and restoring

bool CCoolContextMenu::HandleMenuMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (uMsg) {
    case WM_INITMENUPOPUP:
        if (HIWORD(lParam) != 0) return false; // the system menu keeps the system's look
        ConvertMenu(reinterpret_cast<HMENU>(wParam));
        result = 0;
        return true;
    case WM_MENUSELECT:
        if (HIWORD(wParam) != 0xFFFF || lParam != 0) return false;
        RestoreMenus();
        result = 0;
        return true;
    case WM_MEASUREITEM: {
        auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        if (!measure || measure->CtlType != ODT_MENU || !MeasureItem(measure)) return false;
        result = 1;
        return true;
    }
    case WM_DRAWITEM: {
        auto* draw = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (!draw || draw->CtlType != ODT_MENU || !DrawItem(draw)) return false;
        result = 1;
        return true;
    }
    }
    return false;
}

void CCoolContextMenu::ConvertMenu(HMENU menu)
{
    int count = GetMenuItemCount(menu);
    if (count <= 0) return;
    OpenMenu open;
    open.menu = menu;
    for (int i = 0; i < count; ++i) {
        wchar_t text[kMaxItemText + 1] = {};
        MENUITEMINFOW info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_STRING | MIIM_DATA;
        info.dwTypeData = text;
        info.cch = kMaxItemText + 1;
        if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info) || (info.fType & MFT_OWNERDRAW)) continue;
        auto record = std::make_unique<ItemRecord>();
        record->text = text;
        record->type = info.fType | MFT_OWNERDRAW;
        record->state = info.fState;
        record->imageIndex = ImageIndexOf(info.wID);
        MENUITEMINFOW owner = {};
        owner.cbSize = sizeof(owner);
        owner.fMask = MIIM_FTYPE | MIIM_DATA;
        owner.fType = record->type;
        owner.dwItemData = reinterpret_cast<ULONG_PTR>(record.get());
        if (SetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &owner)) open.items.push_back(std::move(record));
    }
    m_openMenus.push_back(std::move(open));
}

void CCoolContextMenu::RestoreMenus()
{
    while (!m_openMenus.empty()) {
        RestoreMenu(m_openMenus.back());
        m_openMenus.pop_back();
    }
}

// Only items that still carry one of this menu's records are touched; the
// records go with the entry either way.
void CCoolContextMenu::RestoreMenu(OpenMenu& open)
{
    int count = IsMenu(open.menu) ? GetMenuItemCount(open.menu) : 0;
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOW info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_DATA;
        if (!GetMenuItemInfoW(open.menu, static_cast<UINT>(i), TRUE, &info) || !info.dwItemData) continue;
        auto owned = std::find_if(open.items.begin(), open.items.end(), [&](const std::unique_ptr<ItemRecord>& item) {
            return reinterpret_cast<ULONG_PTR>(item.get()) == info.dwItemData;
        });
        if (owned == open.items.end()) continue;
        ItemRecord& item = **owned;
        MENUITEMINFOW back = {};
        back.cbSize = sizeof(back);
        back.fMask = MIIM_FTYPE | MIIM_DATA;
        back.fType = item.type & ~static_cast<UINT>(MFT_OWNERDRAW);
        back.dwItemData = 0;
        if (!(back.fType & MFT_SEPARATOR)) {
            back.fMask |= MIIM_STRING;
            back.dwTypeData = &item.text[0];
        }
        SetMenuItemInfoW(open.menu, static_cast<UINT>(i), TRUE, &back);
    }
    open.items.clear();
}

size_t CCoolContextMenu::ConvertedItemCount() const
{
    size_t count = 0;
    for (const OpenMenu& open : m_openMenus) count += open.items.size();
    return count;
}

const CCoolContextMenu::ItemRecord* CCoolContextMenu::FindRecord(ULONG_PTR data) const
{
    if (!data) return nullptr;
    for (const OpenMenu& open : m_openMenus) {
        for (const std::unique_ptr<ItemRecord>& item : open.items) {
            if (reinterpret_cast<ULONG_PTR>(item.get()) == data) return item.get();
        }
    }
    return nullptr;
}

// ---------------------------------------------------------------------------
// Measuring and drawing

bool CCoolContextMenu::MeasureItem(MEASUREITEMSTRUCT* measure) const
{
    const ItemRecord* item = FindRecord(measure->itemData);
    if (!item) return false;
    if (item->type & MFT_SEPARATOR) {
        measure->itemHeight = static_cast<UINT>(GetSystemMetrics(SM_CYMENU) / 2);
        measure->itemWidth = 0;
        return true;
    }
    HDC dc = GetDC(nullptr);
    int textWidth;
    {
        ScopedFontWeight font(dc, m_menuFont, (item->state & MFS_DEFAULT) != 0);
        textWidth = TextWidth(dc, item->text.c_str(), static_cast<int>(item->text.size()));
    }
    ReleaseDC(nullptr, dc);
    measure->itemHeight = static_cast<UINT>(std::abs(m_menuLogFont.lfHeight) + 15);
    int width = textWidth + m_checkWidth + 2 * m_buttonWidth - GetSystemMetrics(SM_CXMENUCHECK) + 26;
    measure->itemWidth = static_cast<UINT>(std::max(width, 0));
    return true;
}

bool CCoolContextMenu::DrawItem(const DRAWITEMSTRUCT* draw) const
{
    const ItemRecord* item = FindRecord(draw->itemData);
    if (!item) return false;
    HDC dc = draw->hDC;
    const RECT& rc = draw->rcItem;
    bool selected = (draw->itemState & ODS_SELECTED) != 0;
    bool grayed = (draw->itemState & ODS_GRAYED) != 0;
    bool checked = (draw->itemState & ODS_CHECKED) != 0;
    int saved = SaveDC(dc);
    DrawBackground(dc, rc, selected && !grayed);
    if (item->type & MFT_SEPARATOR) {
        DrawSeparator(dc, rc);
    } else {
        DrawLabel(dc, rc, *item, grayed, (draw->itemState & ODS_DEFAULT) != 0);
        if (checked) DrawCheckFrame(dc, rc, selected, grayed);
        DrawIcon(dc, rc, *item, checked);
    }
    RestoreDC(dc, saved);
    return true;
}

void CCoolContextMenu::DrawBackground(HDC dc, const RECT& rc, bool selected) const
{
    RECT band = rc;
    band.right = std::min(rc.right, rc.left + m_bitmapWidth + 6);
    RECT rest = rc;
    rest.left = band.right;
    if (!selected) FillSolid(dc, band, AdjustColor(ButtonFace(), 20, 0));
    // Under the selection bar too, so its translucent edges show the menu's colour.
    FillSolid(dc, selected ? rc : rest, AdjustColor(ButtonFace(), 75, 0));
    if (selected && m_selectionImage) {
        BlendImage(dc, m_selectionImage, rc, 0, 0, m_selectionImage->nWidth, m_selectionImage->nHeight);
    }
}

void CCoolContextMenu::DrawSeparator(HDC dc, const RECT& rc) const
{
    RECT lower = rc;
    lower.top += (rc.bottom - rc.top) / 2;
    DrawEdge(dc, &lower, EDGE_ETCHED, BF_TOP);
}

void CCoolContextMenu::DrawLabel(HDC dc, const RECT& rc, const ItemRecord& item, bool grayed, bool bold) const
{
    ScopedFontWeight font(dc, m_menuFont, bold);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, grayed ? AdjustColor(ButtonFace(), -18, 0) : GetSysColor(COLOR_MENUTEXT));
    size_t tab = item.text.find(L'\t');
    std::wstring label = item.text.substr(0, tab);
    RECT textRect = rc;
    textRect.left += m_bitmapWidth + 14;
    ::DrawTextW(dc, label.c_str(), static_cast<int>(label.size()), &textRect, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
    if (tab == std::wstring::npos) return;
    std::wstring accelerator = item.text.substr(tab + 1);
    RECT acceleratorRect = rc;
    acceleratorRect.right -= 12;
    ::DrawTextW(dc, accelerator.c_str(), static_cast<int>(accelerator.size()), &acceleratorRect,
                DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
}

void CCoolContextMenu::DrawCheckFrame(HDC dc, const RECT& rc, bool selected, bool grayed) const
{
    COLORREF fill;
    if (grayed)
        fill = AdjustColor(ButtonFace(), 73, 0);
    else if (selected)
        fill = AdjustColor(GetSysColor(COLOR_HIGHLIGHT), 50, -50);
    else
        fill = AdjustColor(GetSysColor(COLOR_HIGHLIGHT), 70, -57);
    HPEN pen = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_HIGHLIGHT));
    HGDIOBJ oldPen = SelectObject(dc, pen);
    {
        ScopedBrush brush(dc, fill);
        Rectangle(dc, rc.left + 1, rc.top + 1, rc.left + m_buttonWidth - 2, rc.bottom - 1);
    }
    SelectObject(dc, oldPen);
    DeleteObject(pen);
}

// Image indexes count the strip's cells from 1; an index whose cell lies
// outside the strip draws nothing rather than whatever is next to it.
void CCoolContextMenu::DrawIcon(HDC dc, const RECT& rc, const ItemRecord& item, bool checked) const
{
    const int cell = 16;
    int cellX = (item.imageIndex - 1) * cell;
    if (item.imageIndex >= 0 && m_stripImage) {
        if (cellX >= 0 && cellX + cell <= m_stripImage->nWidth && m_stripImage->nHeight >= cell) {
            int top = rc.top + (rc.bottom - rc.top - cell) / 2;
            RECT dest = { rc.left + 3, top, rc.left + 3 + cell, top + cell };
            BlendImage(dc, m_stripImage, dest, cellX, 0, cell, cell);
        }
        return;
    }
    if (!checked) return;
    HBITMAP check = LoadBitmapW(nullptr, MAKEINTRESOURCEW(OBM_CHECK));
    if (!check) return;
    BITMAP info = {};
    GetObjectW(check, sizeof(info), &info);
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(source, check);
    BitBlt(dc, rc.left + 5, rc.top + 3, info.bmWidth, info.bmHeight, source, 0, 0, SRCAND);
    SelectObject(source, old);
    DeleteDC(source);
    DeleteObject(check);
}

void CCoolContextMenu::BlendImage(HDC dc, const TImageRecUI* image, const RECT& dest, int srcX, int srcY, int srcWidth,
                                  int srcHeight)
{
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(source, image->hBitmap);
    BLENDFUNCTION blend = { AC_SRC_OVER, 0, 255, AC_SRC_ALPHA };
    CMsimgUI::AlphaBlend(dc, dest.left, dest.top, dest.right - dest.left, dest.bottom - dest.top, source, srcX, srcY,
                         srcWidth, srcHeight, blend);
    SelectObject(source, old);
    DeleteDC(source);
}
