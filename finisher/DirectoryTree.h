// Deleting the updater's temporary run folder.
#pragma once

#include <functional>
#include <string>

// Deletes everything in folder (which ends with a backslash) and then the
// folder itself. Folders whose names begin with "." are kept, and so is every
// folder above something that cannot be deleted. Linked folders (junctions,
// symbolic links) are removed as links; what they point to is never touched.
// Nothing is reported.
void DeleteDirectoryTree(const std::wstring& folder);

// The same, asking stillSafe() right before each deletion in the folder and
// before the folder itself is removed; a false answer stops at once.
// releaseFolder() is called before the folder itself is removed, for a caller
// that holds it open.
void DeleteDirectoryTree(const std::wstring& folder, const std::function<bool()>& stillSafe,
                         const std::function<void()>& releaseFolder);
