#include "ColorScheme.h"

namespace {

const CColorScheme kColorSchemes[] = {
    { 0xFF1685C3, 0xFF017ABE }, { 0xFF404040, 0xFF1A1A1A }, { 0xFF2CA726, 0xFF118F2B },
    { 0xFFAE0000, 0xFFC80000 }, { 0xFFC900FB, 0xFFB21FC7 }, { 0xFF996666, 0xFF964C41 },
};
const WPARAM kColorSchemeCount = sizeof(kColorSchemes) / sizeof(kColorSchemes[0]);

} // namespace

const CColorScheme* CColorScheme::At(WPARAM index)
{
    return index < kColorSchemeCount ? &kColorSchemes[index] : nullptr;
}
