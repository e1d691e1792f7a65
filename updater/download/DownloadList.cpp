#include "DownloadList.h"

#include "AnsiText.h"

// The list keeps JsonCpp's classic reader and styled writer: the file format
// is the styled writer's text.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#include <json/json.h>

namespace {

// JsonCpp reads and writes UTF-8 and escapes other bytes wrongly, so the
// ANSI text of the engine is carried as UTF-8 (the same bytes for ASCII).
std::string AnsiToUtf8(const std::string& text)
{
    return WideToUtf8(FromAnsi(text));
}

std::string Utf8ToAnsi(const std::string& text)
{
    return ToAnsi(Utf8ToWide(text));
}

Json::Value TaskToJson(const DownloadTask& task)
{
    Json::Value item(Json::objectValue);
    item["url"] = AnsiToUtf8(task.url);
    item["utype"] = static_cast<Json::Int>(task.kind);
    CDownloadPublic* d = task.downloader;
    // The probe may be renaming the download meanwhile: its names are read
    // together under its own lock.
    CDownloadPublic::Names names;
    if (d) names = d->GetNames();
    item["downloadPath"] = AnsiToUtf8(d ? d->folder : std::string());
    item["copyPath"] = WideToUtf8(d ? d->copyPath : std::wstring());
    item["fileName"] = AnsiToUtf8(d ? names.fileName : task.name);
    item["version"] = WideToUtf8(d ? d->version : std::wstring());
    item["cfgFile"] = AnsiToUtf8(names.cfgFile);
    item["percent"] = static_cast<Json::UInt>(d ? d->percent.load() : 0);
    item["fileLength"] = static_cast<Json::UInt>(d ? d->contentLength.load() : 0);
    return item;
}

Json::Value CompletedToJson(const std::string& url, const CompletedDownload& done)
{
    Json::Value item(Json::objectValue);
    item["url"] = AnsiToUtf8(url);
    item["fileSize"] = static_cast<Json::UInt>(done.fileSize);
    item["downloadPath"] = AnsiToUtf8(done.downloadPath);
    item["copyPath"] = WideToUtf8(done.copyPath);
    item["listName"] = AnsiToUtf8(done.listName);
    item["version"] = WideToUtf8(done.version);
    return item;
}

// Member readers: false when the member has a type the writer never produces.
bool ReadString(const Json::Value& item, const char* name, std::string& out)
{
    const Json::Value& value = item[name];
    if (value.isNull()) {
        out.clear();
        return true;
    }
    if (!value.isString()) return false;
    out = Utf8ToAnsi(value.asString());
    return true;
}

bool ReadWide(const Json::Value& item, const char* name, std::wstring& out)
{
    const Json::Value& value = item[name];
    out.clear();
    if (value.isNull()) return true;
    if (!value.isString()) return false;
    out = Utf8ToWide(value.asString());
    return true;
}

bool ReadUnsigned(const Json::Value& item, const char* name, DWORD limit, DWORD& out)
{
    const Json::Value& value = item[name];
    out = 0;
    if (value.isNull()) return true;
    if (!value.isIntegral() || !value.isUInt() || value.asUInt() > limit) return false;
    out = value.asUInt();
    return true;
}

bool ReadTask(const Json::Value& item, DownloadRequest& request)
{
    DWORD kind = 0;
    bool ok = item.isObject() && ReadString(item, "url", request.url) && ReadUnsigned(item, "utype", 0xFFFF, kind) &&
        ReadString(item, "downloadPath", request.downloadPath) && ReadWide(item, "copyPath", request.copyPath) &&
        ReadString(item, "fileName", request.fileName) && ReadWide(item, "version", request.version) &&
        ReadString(item, "cfgFile", request.cfgFile) && ReadUnsigned(item, "percent", 100, request.percent) &&
        ReadUnsigned(item, "fileLength", 0xFFFFFFFF, request.fileLength);
    request.kind = static_cast<WORD>(kind);
    return ok && !request.url.empty();
}

bool ReadCompleted(const Json::Value& item, std::string& url, CompletedDownload& done)
{
    return item.isObject() && ReadString(item, "url", url) && !url.empty() &&
        ReadUnsigned(item, "fileSize", 0xFFFFFFFF, done.fileSize) &&
        ReadString(item, "downloadPath", done.downloadPath) && ReadWide(item, "copyPath", done.copyPath) &&
        ReadString(item, "listName", done.listName) && ReadWide(item, "version", done.version);
}

// An absent list is empty; a present one must be an array.
bool ListMember(const Json::Value& root, const char* name, const Json::Value*& list)
{
    list = &root[name];
    return list->isNull() || list->isArray();
}

} // namespace

std::string BuildDownloadListText(const DownloadTaskMap& tasks, const CompletedDownloadMap& finished)
{
    Json::Value root(Json::objectValue);
    root["downloadSize"] = static_cast<Json::UInt>(tasks.size());
    Json::Value& taskList = root["downloadlist"] = Json::Value(Json::arrayValue);
    for (const auto& entry : tasks) taskList.append(TaskToJson(entry.second));
    root["completeSize"] = static_cast<Json::UInt>(finished.size());
    Json::Value& completeList = root["completelist"] = Json::Value(Json::arrayValue);
    for (const auto& entry : finished) completeList.append(CompletedToJson(entry.first, entry.second));
    Json::StyledWriter writer;
    return writer.write(root);
}

namespace {

// JsonCpp throws where nesting passes its stack limit, and from accessors on
// values of unexpected types: a damaged list must load nothing, never end
// the updater.
bool ParseListRoot(const std::string& text, Json::Value& root)
{
    try {
        Json::Reader reader;
        return !text.empty() && reader.parse(text, root, true) && root.isObject();
    } catch (const std::exception&) {
        return false;
    }
}

bool ParseDownloadListItems(const std::string& text, std::vector<DownloadRequest>& tasks,
                            std::vector<std::pair<std::string, CompletedDownload>>& finished);

} // namespace

bool ParseDownloadListText(const std::string& text, std::vector<DownloadRequest>& tasks,
                           std::vector<std::pair<std::string, CompletedDownload>>& finished)
{
    tasks.clear();
    finished.clear();
    try {
        return ParseDownloadListItems(text, tasks, finished);
    } catch (const std::exception&) {
        tasks.clear();
        finished.clear();
        return false;
    }
}

namespace {

bool ParseDownloadListItems(const std::string& text, std::vector<DownloadRequest>& tasks,
                            std::vector<std::pair<std::string, CompletedDownload>>& finished)
{
    Json::Value root;
    if (!ParseListRoot(text, root)) return false;
    const Json::Value* taskList = nullptr;
    const Json::Value* completeList = nullptr;
    if (!ListMember(root, "downloadlist", taskList) || !ListMember(root, "completelist", completeList)) return false;

    std::vector<DownloadRequest> readTasks;
    for (const Json::Value& item : *taskList) {
        DownloadRequest request;
        if (!ReadTask(item, request)) return false;
        readTasks.push_back(request);
    }
    std::vector<std::pair<std::string, CompletedDownload>> readFinished;
    for (const Json::Value& item : *completeList) {
        std::pair<std::string, CompletedDownload> entry;
        if (!ReadCompleted(item, entry.first, entry.second)) return false;
        readFinished.push_back(entry);
    }
    tasks.swap(readTasks);
    finished.swap(readFinished);
    return true;
}

} // namespace

#pragma GCC diagnostic pop
