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

// The deadline of each network step of the downloads (see
// CDownloadPublic::stepDeadlineMs). Builds for tests (compiled with
// LUMORA_STEP_DEADLINE_FROM_ENV) take a shorter one in milliseconds from the
// environment variable LUMORA_UPDATE_STEP_MS when it is set, so a hung server
// is given up within a test's time; the shipped updater never reads it.
DWORD DownloadStepDeadlineMs();
