#pragma once
#include "uishared/NineGridUI.h"

namespace UpdUI {

using CNineGridUI = UIShared::CNineGridUI;
using TGridCellUI = UIShared::TGridCellUI;

} // namespace UpdUI
