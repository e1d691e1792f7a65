#pragma once
#include "uishared/RectUI.h"

// A Win32 RECT with the few operations the layout code needs.
using CRectUI = UIShared::CRectUI;
