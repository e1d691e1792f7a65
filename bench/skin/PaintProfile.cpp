#include "PaintProfile.h"

#include "ControlUI.h"
#include "WindowManagerUI.h"

void CPaintProfile::Run(CControlUI* pRoot, HDC hDC, int nRounds)
{
    const std::vector<CControlUI*> controls = CPaintStepTable::Controls(pRoot, UIFIND_VISIBLE);
    for (int i = 0; i < nRounds; i++) {
        for (CControlUI* pControl : controls) TimeControl(pControl, hDC);
    }
    m_table.AddRounds(nRounds);
}

void CPaintProfile::RunStep(CControlUI* pRoot, HDC hDC, void (CControlUI::*pStep)(HDC))
{
    for (CControlUI* pControl : CPaintStepTable::Controls(pRoot, UIFIND_VISIBLE)) (pControl->*pStep)(hDC);
    GdiFlush();
}

void CPaintProfile::TimeControl(CControlUI* pControl, HDC hDC)
{
    m_table.Time(pControl, "bkcolor", [&] { pControl->PaintBkColor(hDC); });
    m_table.Time(pControl, "bkimage", [&] { pControl->PaintBkImage(hDC); });
    m_table.Time(pControl, "statusimage", [&] { pControl->PaintStatusImage(hDC); });
    m_table.Time(pControl, "text", [&] { pControl->PaintText(hDC); });
    m_table.Time(pControl, "foreimage", [&] { pControl->PaintForeImage(hDC); });
    m_table.Time(pControl, "border", [&] { pControl->PaintBorder(hDC); });
}

void CPaintProfile::Print() const
{
    m_table.Print("paint steps one by one");
}
