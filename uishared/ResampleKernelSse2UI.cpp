// The resampler for processors with SSE2: built on 32-bit x86 only, with SSE2 maths
// (see uishared/CMakeLists.txt).
#include "ResampleKernelUI.inl"

namespace UIShared {
namespace ResampleKernelSse2 {

void Resample(const TResampleBlockUI& block)
{
    ResampleBlock(block);
}

} // namespace ResampleKernelSse2
} // namespace UIShared
