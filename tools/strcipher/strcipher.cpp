// strcipher encode|decode KEY [TEXT]
//
// Enciphers or deciphers TEXT (or, without TEXT, the bytes read from standard
// input) with the keyed string cipher of the programs, using a key object
// built from KEY. Command-line text is taken as UTF-8; the result is written
// to standard output followed by a newline.
#include <windows.h>

#include <cstdio>
#include <string>

#include "StringCipher.h"

namespace {

const char kUsage[] = "usage: strcipher encode|decode KEY [TEXT]\n"
                      "  Without TEXT the text is read from standard input.\n";

enum ExitCode { ExitOk = 0, ExitNotDeciphered = 1, ExitUsage = 2, ExitIo = 3 };

std::string ToUtf8(const wchar_t* text)
{
    int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1) return std::string();
    std::string out(size_t(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, &out[0], size, nullptr, nullptr);
    out.resize(size_t(size) - 1);
    return out;
}

std::wstring ToUtf16(const std::string& text)
{
    if (text.empty()) return std::wstring();
    int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0);
    std::wstring out(size_t(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), &out[0], size);
    return out;
}

bool ReadStandardInput(std::string& text)
{
    HANDLE in = GetStdHandle(STD_INPUT_HANDLE);
    char chunk[4096];
    DWORD got = 0;
    for (;;) {
        if (!ReadFile(in, chunk, sizeof chunk, &got, nullptr)) return GetLastError() == ERROR_BROKEN_PIPE;
        if (got == 0) return true;
        text.append(chunk, got);
    }
}

// A console shows UTF-16; a pipe or file gets the bytes unchanged.
bool WriteStandardOutput(const std::string& text)
{
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD mode = 0;
    if (GetConsoleMode(out, &mode)) {
        std::wstring wide = ToUtf16(text);
        DWORD written = 0;
        return WriteConsoleW(out, wide.data(), DWORD(wide.size()), &written, nullptr) != 0;
    }
    size_t done = 0;
    while (done < text.size()) {
        DWORD written = 0;
        if (!WriteFile(out, text.data() + done, DWORD(text.size() - done), &written, nullptr)) return false;
        done += written;
    }
    return true;
}

bool ParseMode(const wchar_t* word, int& mode)
{
    if (wcscmp(word, L"encode") == 0) {
        mode = CipherEncode;
        return true;
    }
    if (wcscmp(word, L"decode") == 0) {
        mode = CipherDecode;
        return true;
    }
    return false;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    int mode = CipherEncode;
    if (argc < 3 || argc > 4 || !ParseMode(argv[1], mode)) {
        std::fputs(kUsage, stderr);
        return ExitUsage;
    }
    std::string text;
    if (argc == 4) {
        text = ToUtf8(argv[3]);
    } else if (!ReadStandardInput(text)) {
        std::fputs("strcipher: cannot read standard input\n", stderr);
        return ExitIo;
    }

    StringCipherKey key(ToUtf8(argv[2]));
    std::string result = StringCipher(text, key, mode);
    if (mode == CipherDecode && result.empty() && !text.empty()) {
        // The cipher gives "" for every failure, so an enciphered empty text lands here too.
        std::fputs("strcipher: the text deciphers to nothing (an empty text, damaged, "
                   "expired or enciphered with another key)\n",
                   stderr);
        return ExitNotDeciphered;
    }
    if (!WriteStandardOutput(result + "\n")) {
        std::fputs("strcipher: cannot write standard output\n", stderr);
        return ExitIo;
    }
    return ExitOk;
}
