#pragma once

namespace kelvo {

/// The scale numerator (over 10000) of a window of `baseWidth` x `baseHeight` pixels in an area
/// of `availableWidth` x `availableHeight`: the largest scale in per mille (from 100 on) at which
/// the window still fits in both directions, times 10 and `factor`, rounded half to even.
/// A base that fits at every scale up to 10000 per mille gets the scale of 10000 per mille.
int FindScale(int baseWidth, int baseHeight, int availableWidth, double factor,
              int availableHeight);

}  // namespace kelvo
