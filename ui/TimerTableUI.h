#pragma once
#include "uishared/TimerTableUI.h"

class CControlUI;

using TTimerRecUI = UIShared::TTimerRecT<CControlUI>;
using CTimerTableUI = UIShared::CTimerTableT<CControlUI>;
