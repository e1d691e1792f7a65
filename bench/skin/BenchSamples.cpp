#include "BenchSamples.h"

#include <windows.h>

#include <algorithm>

double CBenchSamples::Now()
{
    static const double frequency = []() {
        LARGE_INTEGER value;
        QueryPerformanceFrequency(&value);
        return static_cast<double>(value.QuadPart);
    }();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / frequency;
}

void CBenchSamples::Add(double seconds)
{
    m_samples.push_back(seconds);
}

double CBenchSamples::Median() const
{
    if (m_samples.empty()) return 0.0;
    std::vector<double> sorted(m_samples);
    std::sort(sorted.begin(), sorted.end());
    const size_t n = sorted.size();
    return n % 2 ? sorted[n / 2] : (sorted[n / 2 - 1] + sorted[n / 2]) / 2.0;
}

double CBenchSamples::Min() const
{
    return m_samples.empty() ? 0.0 : *std::min_element(m_samples.begin(), m_samples.end());
}

int CBenchSamples::Count() const
{
    return static_cast<int>(m_samples.size());
}
