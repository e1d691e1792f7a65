#pragma once
#include <windows.h>
#include <ole2.h>

#include <string>

#include "../controls/UpdControlsTestSupport.h"
#include "TestOleControl.h"

namespace UpdActiveXTest {

using namespace UpdControlsTest;

// {5C6E2B8A-1F0D-4E7B-9A3C-2D4F6B8E0A11}: the test control's class, known to this process only.
const CLSID kTestClsid = { 0x5C6E2B8A, 0x1F0D, 0x4E7B, { 0x9A, 0x3C, 0x2D, 0x4F, 0x6B, 0x8E, 0x0A, 0x11 } };
// {988934A4-064B-11D3-BB80-00104B35E7F9}: not in the import libraries.
const IID kIidDownloadManager = { 0x988934A4, 0x064B, 0x11D3, { 0xBB, 0x80, 0x00, 0x10, 0x4B, 0x35, 0xE7, 0xF9 } };
const wchar_t kTestClsidText[] = L"{5C6E2B8A-1F0D-4E7B-9A3C-2D4F6B8E0A11}";

// The shared host window with a test control class registered under clsid.
class CActiveXFixture : public CControlsFixture
{
protected:
    CActiveXFixture() : factory(setup, controls) { }

    void Register(REFCLSID clsid)
    {
        ::OleInitialize(nullptr);
        ASSERT_TRUE(factory.Register(clsid));
    }
    void TearDown() override
    {
        CControlsFixture::TearDown();
        controls.ReleaseSite();
        factory.Revoke();
    }
    // Builds markup with the fixture's manager lent; the tree is not attached yet.
    CControlUI* Build(const std::wstring& sXml)
    {
        CSkinBuilderUI builder;
        return builder.Build(sXml.c_str(), nullptr, nullptr, manager);
    }
    template <class T> T* Query(REFIID iid)
    {
        T* p = nullptr;
        if (controls.pSite == nullptr || FAILED(controls.pSite->QueryInterface(iid, reinterpret_cast<void**>(&p))))
            return nullptr;
        return p;
    }

    TTestControlConfig setup;
    TTestControlLog controls;
    CTestControlFactory factory;
};

} // namespace UpdActiveXTest
