// Where the update server is: deployment configuration, kept in this one
// place. The manifest lies at a fixed path on it, the files it names beside it.
#pragma once

#include <windows.h>

#include <string>

struct UpdateServerAddress
{
    std::string host;
    WORD port = 80;
};

// The built-in server. Builds for tests and benchmarks (compiled with
// LUMORA_UPDATE_SERVER_FROM_ENV) take "host:port" from the environment
// variable LUMORA_UPDATE_SERVER instead when it is set; the shipped updater
// never reads it.
UpdateServerAddress CurrentUpdateServer();

// "http://host[:port]/lumo/2014/newupdate.ini?" followed by the tick count,
// so each run fetches past caches.
std::string BuildManifestUrl(const UpdateServerAddress& server, DWORD tickCount);
