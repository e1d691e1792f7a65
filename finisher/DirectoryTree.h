// Deleting the updater's temporary run folder.
#pragma once

#include <string>

// Deletes everything in folder (which ends with a backslash) and then the
// folder itself. Folders whose names begin with "." are kept, and so is every
// folder above something that cannot be deleted. Linked folders (junctions,
// symbolic links) are removed as links; what they point to is never touched.
// Nothing is reported.
void DeleteDirectoryTree(const std::wstring& folder);
