#pragma once
#include "uishared/ScaledImageCacheUI.h"

namespace UpdUI {

using CScaledImageCacheUI = UIShared::CScaledImageCacheUI;

} // namespace UpdUI
