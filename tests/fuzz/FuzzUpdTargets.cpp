// The updater's readers of outside input: its UI library's markup parser, skin builder,
// zip skin reader, image descriptions and tagged text, and the updater's download list,
// update manifest and ".Cfg" resume records.
#include <windows.h>

#include <string>
#include <vector>

#include "ControlUI.h"
#include "FuzzDrivers.h"
#include "FuzzRunner.h"
#include "FuzzUpdaterTargets.h"
#include "PainterUI.h"
#include "SkinBuilderUI.h"
#include "SkinSourceUI.h"
#include "StringUI.h"
#include "WindowManagerUI.h"
#include "XmlDocUI.h"
#include "ZipArchive.h"

using namespace UpdUI;

namespace {

HWND g_hHost = nullptr;
std::vector<BYTE> g_skinZip; // must outlive every read from it

std::vector<BYTE> ReadWholeFile(const std::wstring& path)
{
    std::vector<BYTE> bytes;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return bytes;
    DWORD size = GetFileSize(file, nullptr), read = 0;
    bytes.resize(size);
    if (size > 0 && !ReadFile(file, bytes.data(), size, &read, nullptr)) bytes.clear();
    CloseHandle(file);
    return bytes;
}

// The updater's own skin as it embeds it, so that markup finds its images.
void PrepareSkin(const std::wstring& resources)
{
    CWindowManagerUI::SetInstance(GetModuleHandleW(nullptr));
    g_skinZip = ReadWholeFile(resources + L"\\update_skin.zip");
    if (!g_skinZip.empty()) CWindowManagerUI::SetSkinZipMemory(g_skinZip.data(), (unsigned int)g_skinZip.size());
    g_hHost = Fuzz::CreateHostWindow(L"UpdFuzzHost");
}

void RunMarkup(const BYTE* data, size_t size)
{
    for (int encoding : { CXmlDocUI::ENCODING_UTF8, CXmlDocUI::ENCODING_UNICODE }) {
        CXmlDocUI doc;
        if (doc.LoadFromMemory(data, (DWORD)size, encoding))
            Fuzz::WalkMarkup(doc.GetRoot(), 16,
                             [](CXmlNodeUI& node) { return wcslen(node.GetName()) + wcslen(node.GetValue()); });
        doc.GetLastErrorMessage();
    }
}

// Markup -> controls -> layout -> paint, as the updater builds its dialogs.
void RunSkin(const BYTE* data, size_t size)
{
    CWindowManagerUI manager;
    manager.Init(g_hHost);
    CSkinBuilderUI builder;
    if (!builder.GetMarkup()->LoadFromMemory(data, (DWORD)size, CXmlDocUI::ENCODING_UTF8)) return;
    CControlUI* pRoot = builder.BuildRoot(nullptr, &manager);
    if (pRoot == nullptr) return;
    manager.AttachRoot(pRoot);
    Fuzz::LayOutAndPaint(pRoot);
}

void RunZip(const BYTE* data, size_t size)
{
    std::vector<BYTE> copy(data, data + size);
    ZipArchive* hZip = ZipOpen(copy.data(), (unsigned int)copy.size(), ZIP_MEMORY);
    if (hZip == nullptr) return;
    ZipEntry entry;
    int nItems = ZipGetItem(hZip, -1, &entry) == ZR_OK ? entry.index : 0;
    for (int i = 0; i < nItems && i < 64; ++i) {
        if (ZipGetItem(hZip, i, &entry) != ZR_OK) continue;
        std::vector<BYTE> bytes;
        LPCWSTR pstrError = nullptr;
        CSkinSourceUI::ReadZipItem(hZip, entry.name, 1 << 20, bytes, &pstrError);
        BYTE piece[61];
        for (int nCalls = 0; nCalls < 20000 && ZipUnzipItem(hZip, i, piece, sizeof(piece), ZIP_MEMORY) == ZR_MORE;)
            nCalls++;
        int iFound = -1;
        ZipFindItem(hZip, entry.name, true, &iFound, &entry);
    }
    ZipClose(hZip);
}

void RunImageDescription(const BYTE* data, size_t size)
{
    std::wstring desc = Fuzz::Utf8ToWide(data, size);
    CWindowManagerUI manager;
    manager.Init(g_hHost);
    Fuzz::DrawImageDescription<CPainterUI>(manager, desc, L"down/frame.png");
}

void RunTaggedText(const BYTE* data, size_t size)
{
    std::wstring text = Fuzz::Utf8ToWide(data, size);
    CWindowManagerUI manager;
    manager.Init(g_hHost);
    Fuzz::DrawTaggedText<CPainterUI, CStringUI>(manager, text);
}

const Fuzz::Target kTargets[] = {
    { L"updui-markup", nullptr, RunMarkup },
    { L"updui-skin", PrepareSkin, RunSkin },
    { L"updui-zip", nullptr, RunZip },
    { L"updui-imagedesc", PrepareSkin, RunImageDescription },
    { L"updui-text", PrepareSkin, RunTaggedText },
    { L"updater-list", PrepareUpdaterFolder, RunDownloadList },
    { L"updater-manifest", PrepareUpdaterFolder, RunManifest },
    { L"updater-cfg", PrepareUpdaterFolder, RunResumeRecords },
};

} // namespace

int wmain(int argc, wchar_t** argv)
{
    return Fuzz::Main(argc, argv, kTargets);
}
