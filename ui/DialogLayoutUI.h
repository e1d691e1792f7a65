#pragma once
#include "ContainerUI.h"
#include "ValArrayUI.h"

// Stretch modes of a dialog layout's child (the markup's "stretch" words).
enum : UINT {
    UISTRETCH_NEWGROUP = 0x01,
    UISTRETCH_NEWLINE = 0x02,
    UISTRETCH_MOVE_X = 0x04,
    UISTRETCH_MOVE_Y = 0x08,
    UISTRETCH_MOVE_XY = 0x0C,
    UISTRETCH_SIZE_X = 0x10,
    UISTRETCH_SIZE_Y = 0x20,
    UISTRETCH_SIZE_XY = 0x30,
};

// Keeps its children at their fixed coordinates, as a dialog template would, and
// hands the room beyond their bounding box to children that move or grow by their
// stretch modes. Sized children of one group share the extra room evenly.
class CDialogLayoutUI : public CContainerUI
{
public:
    CDialogLayoutUI();
    ~CDialogLayoutUI() override;

    LPCWSTR GetControlClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;
    void SetPos(RECT rc) override;
    SIZE EstimateSize(SIZE szAvailable) override;

    void SetStretchMode(CControlUI* pControl, UINT uMode);
    UINT GetStretchMode(CControlUI* pControl) const;

private:
    struct TStretchModeUI
    {
        CControlUI* pControl;
        UINT uMode;
        RECT rcItem;
    };

    RECT RecalcArea();
    TStretchModeUI* GetRecord(int iIndex) const;
    const TStretchModeUI* FindRecord(CControlUI* pControl) const;
    int CountSizedInGroup(int iFirst) const;
    void PlaceChild(const TStretchModeUI& rec, POINT ptOrigin, SIZE szPerChild, SIZE& szMoved);

    CValArrayUI m_aModes;
};
