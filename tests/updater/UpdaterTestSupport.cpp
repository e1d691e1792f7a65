#include "UpdaterTestSupport.h"

#include <json/json.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>

namespace {

std::string EnvironmentValue(const char* name)
{
    const char* value = getenv(name);
    return value ? value : "";
}

// Calls `take` for each JSON line of the server's log whose path contains
// `part`, oldest first.
template <typename Take> void ForEachLogged(const char* logName, const std::string& part, Take take)
{
    std::istringstream lines(ReadWholeFile(TestServer::Root() + logName));
    std::string line;
    while (std::getline(lines, line)) {
        Json::Value entry;
        Json::Reader reader;
        if (!reader.parse(line, entry) || !entry.isObject()) continue;
        if (entry["path"].asString().find(part) == std::string::npos) continue;
        take(entry);
    }
}

} // namespace

bool TestServer::Available()
{
    return Port() > 0 && !EnvironmentValue("LUMORA_TEST_HTTP_ROOT").empty();
}

int TestServer::Port()
{
    return atoi(EnvironmentValue("LUMORA_TEST_HTTP_PORT").c_str());
}

std::string TestServer::Root()
{
    std::string root = EnvironmentValue("LUMORA_TEST_HTTP_ROOT");
    if (!root.empty() && root.back() != '\\') root += '\\';
    return root;
}

std::string TestServer::Url(const std::string& pathAndQuery)
{
    return "http://127.0.0.1:" + std::to_string(Port()) + pathAndQuery;
}

void TestServer::Serve(const std::string& name, const std::string& bytes)
{
    WriteWholeFile(Root() + name, bytes);
}

std::vector<TestServer::Request> TestServer::RequestsFor(const std::string& part)
{
    std::vector<Request> found;
    ForEachLogged("requests.log", part, [&found](const Json::Value& entry) {
        Request request;
        request.path = entry["path"].asString();
        request.range = entry["range"].isString() ? entry["range"].asString() : "";
        request.referer = entry["referer"].isString() ? entry["referer"].asString() : "";
        request.ifRange = entry["ifrange"].isString() ? entry["ifrange"].asString() : "";
        found.push_back(request);
    });
    return found;
}

std::vector<TestServer::Answer> TestServer::AnswersFor(const std::string& part)
{
    std::vector<Answer> found;
    ForEachLogged("answered.log", part, [&found](const Json::Value& entry) {
        Answer answer;
        answer.path = entry["path"].asString();
        answer.range = entry["range"].isString() ? entry["range"].asString() : "";
        answer.body = entry["body"].asUInt64();
        found.push_back(answer);
    });
    return found;
}

std::string RandomBytes(size_t size, unsigned seed)
{
    std::mt19937 generator(seed);
    std::string bytes(size, '\0');
    for (char& byte : bytes) byte = static_cast<char>(generator() & 0xFF);
    return bytes;
}

std::string ReadWholeFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void WriteWholeFile(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

bool PathExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string TestBinary(const std::string& name)
{
    char buffer[MAX_PATH];
    WideCharToMultiByte(CP_ACP, 0, LUMORA_TEST_BUILD_DIR, -1, buffer, sizeof(buffer), nullptr, nullptr);
    return std::string(buffer) + "\\tests\\" + name;
}

std::string FreshFolder(const std::string& name)
{
    char buffer[MAX_PATH];
    WideCharToMultiByte(CP_ACP, 0, LUMORA_TEST_BUILD_DIR, -1, buffer, sizeof(buffer), nullptr, nullptr);
    std::string base = std::string(buffer) + "\\tests\\updater_work\\";
    CreateDirectoryA(base.c_str(), nullptr);
    std::string folder = base + name + "\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA((folder + "*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
                std::string path = folder + entry.cFileName;
                SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(path.c_str());
            }
        } while (FindNextFileA(find, &entry));
        FindClose(find);
    }
    return folder;
}

std::string ReadWholeFile(const std::wstring& path)
{
    std::ifstream in(path.c_str(), std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

void WriteWholeFile(const std::wstring& path, const std::string& bytes)
{
    std::ofstream out(path.c_str(), std::ios::binary | std::ios::trunc);
    out << bytes;
}

bool PathExists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void RemoveTree(const std::wstring& folder)
{
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((folder + L"*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = data.cFileName;
            if (name == L"." || name == L"..") continue;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(folder + name + L"\\");
            else
                DeleteFileW((folder + name).c_str());
        } while (FindNextFileW(find, &data));
        FindClose(find);
    }
    RemoveDirectoryW(folder.c_str());
}

std::wstring Env(const wchar_t* name)
{
    wchar_t value[512] = {};
    DWORD length = GetEnvironmentVariableW(name, value, 512);
    return length > 0 && length < 512 ? value : L"";
}

bool UseTestUpdateServer(std::wstring& port, std::wstring& root)
{
    port = Env(L"LUMORA_TEST_HTTP_PORT");
    root = Env(L"LUMORA_TEST_HTTP_ROOT");
    if (!root.empty() && root.back() != L'\\') root += L'\\';
    if (port.empty()) return false;
    SetEnvironmentVariableW(L"LUMORA_UPDATE_SERVER", (L"127.0.0.1:" + port).c_str());
    return true;
}

std::string Narrow(const std::wstring& text)
{
    return std::string(text.begin(), text.end());
}

void PostClickTo(HWND window, POINT at)
{
    LPARAM where = MAKELPARAM(at.x, at.y);
    PostMessageW(window, WM_MOUSEMOVE, 0, where);
    PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, where);
    PostMessageW(window, WM_LBUTTONUP, 0, where);
}
