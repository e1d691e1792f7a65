#include "UpdSkinBenchProfile.h"

#include <algorithm>
#include <cstdio>
#include <typeinfo>
#include <utility>
#include <vector>

#include "BenchSamples.h"
#include "ControlUI.h"
#include "WindowManagerUI.h"

using UpdUI::CControlUI;

namespace {

CControlUI* CALLBACK CollectControl(CControlUI* pControl, LPVOID pData)
{
    static_cast<std::vector<CControlUI*>*>(pData)->push_back(pControl);
    return nullptr;
}

template <typename Step> double TimeStep(Step step)
{
    const double start = CBenchSamples::Now();
    step();
    GdiFlush();
    return CBenchSamples::Now() - start;
}

} // namespace

void CUpdSkinBenchProfile::Run(CControlUI* pRoot, HDC hDC, int nRounds)
{
    std::vector<CControlUI*> controls;
    pRoot->FindControl(CollectControl, &controls, UpdUI::UIFIND_VISIBLE);
    for (int i = 0; i < nRounds; i++) {
        for (CControlUI* pControl : controls) TimeControl(pControl, hDC);
    }
    m_nRounds += nRounds;
}

void CUpdSkinBenchProfile::TimeControl(CControlUI* pControl, HDC hDC)
{
    std::string name = typeid(*pControl).name();
    Add(name + " bkcolor", TimeStep([&] { pControl->PaintBkColor(hDC); }));
    Add(name + " bkimage", TimeStep([&] { pControl->PaintBkImage(hDC); }));
    Add(name + " statusimage", TimeStep([&] { pControl->PaintStatusImage(hDC); }));
    Add(name + " text", TimeStep([&] { pControl->PaintText(hDC); }));
    Add(name + " border", TimeStep([&] { pControl->PaintBorder(hDC); }));
}

void CUpdSkinBenchProfile::Add(const std::string& key, double seconds)
{
    m_seconds[key] += seconds;
}

void CUpdSkinBenchProfile::Print() const
{
    std::vector<std::pair<double, std::string>> rows;
    double total = 0.0;
    for (const auto& entry : m_seconds) {
        rows.emplace_back(entry.second, entry.first);
        total += entry.second;
    }
    std::sort(rows.rbegin(), rows.rend());
    const double rounds = m_nRounds > 0 ? m_nRounds : 1;
    printf("updater library paint steps one by one: %.2f ms per paint in all\n", total * 1000.0 / rounds);
    for (const auto& row : rows) {
        if (row.first * 1000.0 / rounds < 0.01) continue;
        printf("  %-40s %7.3f ms %5.1f%%\n", row.second.c_str(), row.first * 1000.0 / rounds,
               total > 0.0 ? row.first * 100.0 / total : 0.0);
    }
}
