// Whole-image effects over blue, green, red of 24- or 32-bit pixel maps: the seven morphs that
// animate between two images and the six inactive-window effects. Morphs between maps of
// different sizes do nothing; every computed channel is clamped to 0..255; rounding is to
// nearest with ties to even. Progress values are taken within 0..1.
#pragma once

#include "skin/draw/pixel_map.h"

namespace lumoa::skin {

void Morph(const PixelMap& self, const PixelMap& target, double x);
void GradientMorph(const PixelMap& self, const PixelMap& target, double x);
void LeftGradientMorph(const PixelMap& self, const PixelMap& target, double x);
void RightGradientMorph(const PixelMap& self, const PixelMap& target, double x);
void LeftSlideMorph(const PixelMap& self, const PixelMap& target, double x);
void RightSlideMorph(const PixelMap& self, const PixelMap& target, double x);
void PushMorph(const PixelMap& self, const PixelMap& target, double x);

void Brightness(const PixelMap& self, double x);
void Darkness(const PixelMap& self, double x);
void Grayscale(const PixelMap& self);
// Adds one value from -amount div 2 .. amount - 1 - amount div 2 to the three channels of
// each pixel; amount <= 0 does nothing.
void Noise(const PixelMap& self, int amount);
// Each channel becomes the truncated mean of the four diagonal neighbours at distance d, in
// place from the top row down; a neighbour outside the map is replaced by the pixel's own row
// or column on that axis.
void SplitBlur(const PixelMap& self, int distance);
void Invert(const PixelMap& self);

// Morph kinds (mkdefault .. mkpush) and inactive effects (iebrightness .. ieinvert) as the skin
// description numbers them.
void MorphByKind(int kind, const PixelMap& self, const PixelMap& target, double x);
void InactiveEffect(int kind, const PixelMap& self);

// Copies src into dest turned a quarter counter-clockwise, a quarter clockwise, or upside
// down; dest must already have the turned size (else nothing).
void RotateLeft(const PixelMap& src, const PixelMap& dest);
void RotateRight(const PixelMap& src, const PixelMap& dest);
void FlipUpsideDown(const PixelMap& src, const PixelMap& dest);

}  // namespace lumoa::skin
