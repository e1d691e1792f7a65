#pragma once
// Umbrella header of the updater's UI library: the core headers, in dependency order.
#include <windows.h>

#include "RectUI.h"
#include "SizeUI.h"
#include "StringUI.h"
#include "PtrArrayUI.h"
#include "StringMapUI.h"
#include "KeyStateUI.h"
#include "WindowWnd.h"
#include "WindowManagerUI.h"
#include "EventSourceUI.h"
#include "ControlUI.h"
#include "ContainerUI.h"
#include "ScrollBarUI.h"
