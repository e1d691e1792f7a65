// Runs a console program with piped standard streams and collects its output.
#pragma once

#include <string>

struct TestProcessResult
{
    bool started = false;
    unsigned long exitCode = 0;
    std::string output; // standard output, bytes as written
};

TestProcessResult RunTestProcess(const std::wstring& commandLine, const std::string& input);
