#pragma once
#include <windows.h>

#include <map>
#include <string>
#include <typeinfo>
#include <vector>

#include "BenchSamples.h"

// Where a full paint's time goes, for either UI library: paint steps of controls timed
// one by one and summed by control class and step over the rounds run.
class CPaintStepTable
{
public:
    // Every control of the tree FindControl visits with the flags, the root first.
    template <typename TControl> static std::vector<TControl*> Controls(TControl* pRoot, UINT uFlags)
    {
        std::vector<TControl*> controls;
        pRoot->FindControl(Collect<TControl>, &controls, uFlags);
        return controls;
    }

    // Runs one paint step of the control, timed up to the end of its drawing.
    template <typename TControl, typename TStep> void Time(TControl* pControl, const char* pstrStep, TStep step)
    {
        const double start = CBenchSamples::Now();
        step();
        GdiFlush();
        Add(std::string(typeid(*pControl).name()) + " " + pstrStep, CBenchSamples::Now() - start);
    }

    void AddRounds(int nRounds);
    // The rows, costliest first, per round, under a title line with their sum.
    void Print(const char* pstrTitle) const;

private:
    template <typename TControl> static TControl* CALLBACK Collect(TControl* pControl, LPVOID pData)
    {
        static_cast<std::vector<TControl*>*>(pData)->push_back(pControl);
        return nullptr;
    }
    void Add(const std::string& key, double seconds);

    std::map<std::string, double> m_seconds;
    int m_nRounds = 0;
};
