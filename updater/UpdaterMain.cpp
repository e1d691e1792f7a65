// lumoraupd.exe
#include "UpdaterApp.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE previous, PWSTR commandLine, int showCommand)
{
    return UpdaterMain(instance, previous, commandLine, showCommand);
}
