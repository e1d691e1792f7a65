#pragma once
#include "uishared/TimerTableUI.h"

namespace UpdUI {

class CControlUI;

using TTimerRecUI = UIShared::TTimerRecT<CControlUI>;
using CTimerTableUI = UIShared::CTimerTableT<CControlUI>;

} // namespace UpdUI
