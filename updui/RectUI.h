#pragma once
#include "uishared/RectUI.h"

namespace UpdUI {

// A Win32 RECT (same layout, passed to system calls as is) with the layout operations.
using CRectUI = UIShared::CRectUI;

} // namespace UpdUI
