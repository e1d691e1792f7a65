// The built-in portal addresses are checked against the addresses they must
// name, written here as text: a changed view key or cipher leaves the main
// program without a portal, and only a test outside the program folder (which
// always writes its own "portal.ini") can see that.
#include "PortalAddresses.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace {

// A program path in a folder that holds no "portal.ini".
std::wstring ProgramWithoutOverride()
{
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    std::wstring folder = std::wstring(temp) + L"lumora_portal_builtin\\";
    CreateDirectoryW(folder.c_str(), nullptr);
    DeleteFileW((folder + L"portal.ini").c_str());
    return folder + L"lumora.exe";
}

TEST(PortalAddresses, BuiltInAddressesNameTheLocalPortal)
{
    const wchar_t* const expected[PortalAddresses::kViewCount] = {
        L"http://127.0.0.1:8790/home.html",
        L"http://127.0.0.1:8790/tv.html",
        L"http://127.0.0.1:8790/playing.html",
    };
    const std::wstring program = ProgramWithoutOverride();
    for (int view = 0; view < PortalAddresses::kViewCount; ++view)
        EXPECT_EQ(expected[view], PortalAddresses::StartAddress(view, program)) << view;
    EXPECT_EQ("", PortalAddresses::Enciphered(PortalAddresses::kViewCount, program));
}

// Enciphered outside this code (tests/shell/cipher/cipher_reference.py) with the view key.
TEST(PortalAddresses, DeciphersAFixedVector)
{
    EXPECT_EQ(L"http://127.0.0.1:8790/home.html",
              PortalAddresses::Decipher(
                  "98764daVajLBsy6oKB1IAzdUGLWPLujTNKuzaVDDgJ5BF7pOH3p/sMNiEycPD/5W8Q4J0X32MRQI9RoAvt+"));
    EXPECT_EQ(L"",
              PortalAddresses::Decipher(
                  "98764daVajLBsy6oKB1IAzdUGLWPLujTNKuzaVDDgJ5BF7pOH3p/sMNiEycPD/5W8Q4J0X32MRQI9RoAvt-"));
}

} // namespace
