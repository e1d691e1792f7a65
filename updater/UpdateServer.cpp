#include "UpdateServer.h"

#include "DownloadPublic.h"

#include <cstdio>
#include <cstdlib>

#ifndef LUMORA_UPDATE_HOST
#define LUMORA_UPDATE_HOST "update.lumora.cn"
#endif
#ifndef LUMORA_UPDATE_PORT
#define LUMORA_UPDATE_PORT 80
#endif

UpdateServerAddress CurrentUpdateServer()
{
    UpdateServerAddress server;
    server.host = LUMORA_UPDATE_HOST;
    server.port = LUMORA_UPDATE_PORT;
#ifdef LUMORA_UPDATE_SERVER_FROM_ENV
    char value[300];
    DWORD length = GetEnvironmentVariableA("LUMORA_UPDATE_SERVER", value, sizeof(value));
    if (length == 0 || length >= sizeof(value)) return server;
    std::string text(value, length);
    size_t colon = text.rfind(':');
    server.host = text.substr(0, colon);
    if (colon != std::string::npos) {
        long port = strtol(text.c_str() + colon + 1, nullptr, 10);
        server.port = port > 0 && port <= 0xFFFF ? static_cast<WORD>(port) : 80;
    }
#endif
    return server;
}

std::string BuildManifestUrl(const UpdateServerAddress& server, DWORD tickCount)
{
    std::string url = "http://" + server.host;
    if (server.port != 80) url += ":" + std::to_string(server.port);
    char tick[16];
    snprintf(tick, sizeof(tick), "%d", static_cast<int>(tickCount));
    return url + "/lumo/2014/newupdate.ini?" + tick;
}

DWORD DownloadStepDeadlineMs()
{
#ifdef LUMORA_STEP_DEADLINE_FROM_ENV
    char value[16];
    DWORD length = GetEnvironmentVariableA("LUMORA_UPDATE_STEP_MS", value, sizeof(value));
    if (length > 0 && length < sizeof(value)) {
        long stepMs = strtol(value, nullptr, 10);
        if (stepMs > 0) return static_cast<DWORD>(stepMs);
    }
#endif
    return CDownloadPublic::kStepDeadlineMs;
}
