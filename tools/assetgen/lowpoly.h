// Re-renders a smooth drawing as a faceted mesh of small triangles.
#pragma once

#include "image.h"

namespace assetgen {

struct MeshStyle {
    uint64_t seed = 1;
    double rMin = 5.0;     // triangle spacing where the drawing has detail
    double rMax = 20.0;    // spacing in smooth areas
    double shade = 0.16;   // strength of the facet lighting
    double detailGain = 1.0;  // how fast spacing drops with local contrast
};

// `src2x` is the drawing at twice the output size (w*2 by h*2). Each triangle
// takes the average colour of the drawing under it, lit as a tilted facet.
Image lowPoly(const Image& src2x, int w, int h, const MeshStyle& style);

// Box-filters an image to half its size.
Image halve(const Image& src);

}  // namespace assetgen
