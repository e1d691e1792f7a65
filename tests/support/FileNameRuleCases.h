// One table for the two rules that decide whether a name is a bare file name:
// the updater's rule for names from the network (IsSafeFileName) and the
// finisher's rule for its command line (IsPlainFileName). Where they agree a
// case holds one answer for both; where they differ on purpose both are given.
#pragma once

struct FileNameRuleCase
{
    const wchar_t* name;
    bool plainForFinisher;
    bool safeForDownload;
};

static const FileNameRuleCase kFileNameRuleCases[] = {
    { L"lumoraupd.exe", true, true },
    { L"LumoraUpd.EXE", true, true },
    { L".hidden", true, true },
    { L"console.exe", true, true }, // a device name only as the whole stem
    { L"COM10", true, true },
    { L"LPT0.txt", true, true },
    { L"", false, false },
    { L".", false, false },
    { L"..", false, false },
    { L"..\\cfg.db", false, false },
    { L"sub\\lumoraupd.exe", false, false },
    { L"sub/lumoraupd.exe", false, false },
    { L"C:lumoraupd.exe", false, false },
    { L"C:\\Windows\\notepad.exe", false, false },
    { L"*.exe", false, false },
    { L"lumora?.exe", false, false },
    // Device names, with extensions and in any case.
    { L"CON", false, false },
    { L"nul", false, false },
    { L"Nul.exe", false, false },
    { L"COM1", false, false },
    { L"com9.tar.gz", false, false },
    { L"LPT1", false, false },
    { L"lpt1.log", false, false },
    { L"PRN.txt", false, false },
    { L"aux", false, false },
    // The download rule refuses more: ".." anywhere and control characters.
    { L"a..b.exe", true, false },
    { L"tab\there", true, false },
    { L"new\nline", true, false },
};
