#pragma once
#include <windows.h>

// Switches the computer off. The power-off countdown calls it through this class
// so that tests can put a recorder in its place: under Wine the real call ends
// every process of the prefix.
class CSystemShutdown
{
public:
    virtual ~CSystemShutdown() = default;

    // Enables the shutdown privilege where the system has one, then asks for a
    // forced power-off. Returns whether the system accepted the request.
    virtual bool PowerOff();

    // The instance that really switches the computer off.
    static CSystemShutdown& System();

private:
    static bool EnableShutdownPrivilege();
    static bool IsNtFamily();
};
