#pragma once
#include "uishared/PaintCacheUI.h"

using CPaintCacheUI = UIShared::CPaintCacheUI;
