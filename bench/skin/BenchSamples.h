#pragma once
#include <vector>

// Timings of repeated runs of one step, in seconds. The median is what the benchmark
// reports: one slow run (a page fault, the X server) must not move the figure.
class CBenchSamples
{
public:
    static double Now();

    void Add(double seconds);
    double Median() const;
    double Min() const;
    int Count() const;

private:
    std::vector<double> m_samples;
};
