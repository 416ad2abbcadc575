// A package's picture as a bitmap that drawing reads in place: pictures of 24 and 32 bits as
// stored, indexed ones converted to 24 bits once.
#pragma once

#include <memory>
#include <span>

#include "ui/bitmap.h"

// image is a whole stored BMP file image that the package reader has checked; an empty span
// gives an empty bitmap. The pixels are what loading the image into a TBitmap and converting
// an indexed one to pf24bit gives, decoded straight into the final bitmap for the layouts a
// package holds (others go through the bitmap's own reader).
std::unique_ptr<TBitmap> MakeSkinBitmap(std::span<const uint8_t> image);
