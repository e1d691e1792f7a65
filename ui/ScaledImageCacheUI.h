#pragma once
#include "uishared/ScaledImageCacheUI.h"

using CScaledImageCacheUI = UIShared::CScaledImageCacheUI;
