#pragma once
#include <windows.h>

#include "PaintStepTable.h"

namespace UpdUI {
class CControlUI;
}

// Where the updater library's full paint goes: every visible control's paint steps run
// one by one into a DIB, timed and summed by control class and step. Run after a full
// paint, so each control's paint rectangle is its whole visible part.
class CUpdSkinBenchProfile
{
public:
    void Run(UpdUI::CControlUI* pRoot, HDC hDC, int nRounds);
    void Print() const;

private:
    void TimeControl(UpdUI::CControlUI* pControl, HDC hDC);
    CPaintStepTable m_table;
};
