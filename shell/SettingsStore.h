// The main program's user settings, kept in the INI file "cfg.db" next to the
// executable, section "setting", every value a decimal integer.
#pragma once

#include <windows.h>

#include <string>

class SettingsStore
{
public:
    explicit SettingsStore(const std::wstring& path);

    // A missing or unreadable file leaves every key at 0.
    void Load();
    // Writes every persisted key; write failures are ignored.
    void Save();

    bool quit;          // closing the main window ends the program
    bool autorun;       // start with Windows
    bool quitacc;       // kept and saved only
    bool topwentv;      // keep the main window on top while the TV page shows
    bool powerOffArmed; // the daily timed power-off is switched on
    int poweroffhour;   // -1 = off
    int poweroffminute; // -1 = off
    int skincolor;      // colour scheme 0..5
    std::wstring filePath;

private:
    void Transfer(bool save);
    void TransferFlag(const wchar_t* key, bool& value, bool save);
    void TransferNumber(const wchar_t* key, int& value, bool save);
};

// Writes one key of section "setting" as decimal text; returns the system call's result.
BOOL WriteSetting(const wchar_t* key, int value, const std::wstring& path);
