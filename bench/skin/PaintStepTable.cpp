#include "PaintStepTable.h"

#include <algorithm>
#include <cstdio>
#include <utility>

void CPaintStepTable::AddRounds(int nRounds)
{
    m_nRounds += nRounds;
}

void CPaintStepTable::Add(const std::string& key, double seconds)
{
    m_seconds[key] += seconds;
}

void CPaintStepTable::Print(const char* pstrTitle) const
{
    std::vector<std::pair<double, std::string>> rows;
    double total = 0.0;
    for (const auto& entry : m_seconds) {
        rows.emplace_back(entry.second, entry.first);
        total += entry.second;
    }
    std::sort(rows.rbegin(), rows.rend());
    const double rounds = m_nRounds > 0 ? m_nRounds : 1;
    printf("%s: %.2f ms per paint in all\n", pstrTitle, total * 1000.0 / rounds);
    for (const auto& row : rows) {
        if (row.first * 1000.0 / rounds < 0.01) continue;
        printf("  %-40s %7.3f ms %5.1f%%\n", row.second.c_str(), row.first * 1000.0 / rounds,
               total > 0.0 ? row.first * 100.0 / total : 0.0);
    }
}
