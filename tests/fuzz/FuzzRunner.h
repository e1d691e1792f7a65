// Feeds the inputs of one folder, one after another, to one reader of outside input
// and watches each: a processor fault (including a stack overflow), an exception that
// escapes the reader, damaged heaps afterwards, or an input that takes longer than the
// time limit is a failure. The failing input is copied to the failure folder with a note
// of what happened, and the process ends at once.
#pragma once
#include <windows.h>

#include <cstddef>
#include <string>

namespace Fuzz {

struct Target
{
    const wchar_t* name;
    // Once per process on the thread that runs the inputs; the resource folder holds what
    // the driver copied there (packed skins). Null when there is nothing to prepare.
    void (*prepare)(const std::wstring& resourceFolder);
    void (*run)(const BYTE* data, size_t size);
};

// Called by a target when its reader broke a rule the target can check (a plainly wrong
// result rather than a crash): reported as a failure of the current input.
void ReportWrongResult(const char* what);

// fuzz_x.exe TARGET INPUT_FOLDER FAILURE_FOLDER [LIMIT_MS [FIRST_INDEX [RESOURCE_FOLDER]]]
// Exit code 0: every input passed; 2: a failure (printed as a line starting "FAIL");
// 1: bad arguments.
int Main(int argc, wchar_t** argv, const Target* targets, size_t count);

template <size_t N> int Main(int argc, wchar_t** argv, const Target (&targets)[N])
{
    return Main(argc, argv, targets, N);
}

} // namespace Fuzz
