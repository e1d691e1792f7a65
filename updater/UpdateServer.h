// Where the update server is: deployment configuration, kept in this one
// place. The manifest lies at a fixed path on it, the files it names beside it.
#pragma once

#include <windows.h>

#include <string>

struct UpdateServerAddress {
    std::string host;
    WORD port = 80;
};

// The built-in server, or the one named "host:port" by the environment
// variable LUMORA_UPDATE_SERVER (used by tests against a loopback server).
UpdateServerAddress CurrentUpdateServer();

// "http://host[:port]/lumo/2014/newupdate.ini?" followed by the tick count,
// so each run fetches past caches.
std::string BuildManifestUrl(const UpdateServerAddress& server, DWORD tickCount);
