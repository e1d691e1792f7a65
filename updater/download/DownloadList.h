// The plain text of "updatefile.list" before enciphering: a JSON object with
// the queued tasks ("downloadlist") and the finished downloads ("completelist").
#pragma once

#include "DownloadManager.h"

#include <utility>
#include <vector>

std::string BuildDownloadListText(const DownloadTaskMap& tasks, const CompletedDownloadMap& finished);

// All or nothing: a document with a member of the wrong type, a negative or
// oversized number, or a broken structure yields false and nothing.
bool ParseDownloadListText(const std::string& text, std::vector<DownloadRequest>& tasks,
                           std::vector<std::pair<std::string, CompletedDownload>>& finished);
