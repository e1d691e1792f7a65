// Helper of the list save test: saves two different download lists by turns,
// for ever, and signals the named event after each save, so that the test can
// kill it while a save is under way.
//   updater_list_save_child <folder> <event name>
#include "DownloadManager.h"

#include <windows.h>

#include <string>

namespace {

void AddTasks(CDownloadManager& manager, const std::string& folder, char prefix, int count)
{
    for (int i = 0; i < count; ++i) {
        DownloadRequest request;
        request.downloadPath = folder;
        request.url = "http://127.0.0.1/" + std::string(1, prefix) + std::to_string(i) + ".bin";
        request.fileName = std::string(1, prefix) + std::to_string(i) + ".bin";
        request.version = L"1.0.0." + std::to_wstring(i);
        manager.AddFileDownload(request);
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) return 2;
    std::string folder = std::string(argv[1]) + "\\";
    SetCurrentDirectoryA(folder.c_str());
    HANDLE saved = OpenEventA(EVENT_MODIFY_STATE, FALSE, argv[2]);
    if (!saved) return 3;
    CDownloadManager first, second;
    AddTasks(first, folder, 'a', 3000);
    AddTasks(second, folder, 'b', 2000);
    for (unsigned turn = 0;; ++turn) {
        (turn % 2 ? second : first).SaveDownloadList();
        SetEvent(saved);
    }
}
