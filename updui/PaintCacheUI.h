#pragma once
#include "uishared/PaintCacheUI.h"

namespace UpdUI {

using CPaintCacheUI = UIShared::CPaintCacheUI;

} // namespace UpdUI
