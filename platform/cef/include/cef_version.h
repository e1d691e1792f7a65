// API hash of the engine release the program is built against. The library
// reports its own hash through cef_api_hash(); both must match.
#pragma once
#define CEF_API_HASH_PLATFORM "7218a0e0a5ced8e71f435eb33b959210f79e6147"
extern "C" const char* cef_api_hash(int entry);
