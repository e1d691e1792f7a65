#pragma once
#include "uishared/PaintResultCacheUI.h"

using CPaintResultCacheUI = UIShared::CPaintResultCacheUI;
