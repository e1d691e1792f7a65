#pragma once
#include <windows.h>

#include "PaintStepTable.h"

class CControlUI;

// Where a full paint's time goes: every visible control's paint steps run one by one
// into a DIB, timed and summed by control class and step. Run after a full paint, so
// each control's paint rectangle is its whole visible part.
class CPaintProfile
{
public:
    void Run(CControlUI* pRoot, HDC hDC, int nRounds);
    void Print() const;
    // One paint step of every visible control, untimed one by one.
    void RunStep(CControlUI* pRoot, HDC hDC, void (CControlUI::*pStep)(HDC));

private:
    void TimeControl(CControlUI* pControl, HDC hDC);
    CPaintStepTable m_table;
};
