#pragma once
#include <string>

// Deletes a folder with everything in it, asking nothing; a folder that is not
// there is fine.
void RemoveTree(const std::wstring& path);
