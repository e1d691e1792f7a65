#pragma once
#include "uishared/PaintResultCacheUI.h"

namespace UpdUI {

using CPaintResultCacheUI = UIShared::CPaintResultCacheUI;

} // namespace UpdUI
