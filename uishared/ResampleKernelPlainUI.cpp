// The resampler for any processor: the build's own flags.
#include "ResampleKernelUI.inl"

// GCC's mark of float maths done on the x87 unit.
#if defined(__i386__) && !defined(__SSE2_MATH__)
#define RESAMPLE_ON_X87
#include <float.h>
#endif

namespace UIShared {
namespace ResampleKernelPlain {

namespace {

#ifdef RESAMPLE_ON_X87
// The x87 unit keeps sums and products wider than a float between steps, so now and then
// a byte rounds the other way than with SSE2, which rounds every step to a float. With
// the unit's precision set to a float's for the call, both give the same bytes, whichever
// precision the calling thread had.
class CFloatPrecision
{
public:
    CFloatPrecision() : m_uOld(_control87(0, 0)) { _control87(_PC_24, _MCW_PC); }
    ~CFloatPrecision() { _control87(m_uOld, _MCW_PC); }

private:
    unsigned int m_uOld;
};
#endif

} // namespace

void Resample(const TResampleBlockUI& block)
{
#ifdef RESAMPLE_ON_X87
    const CFloatPrecision precision;
#endif
    ResampleBlock(block);
}

} // namespace ResampleKernelPlain
} // namespace UIShared
