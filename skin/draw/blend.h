// Row routines every alpha drawing of the skin engine goes through: the per-pixel blend (a
// multimedia-extension path and a plain path, chosen once by a processor probe), the transparent
// copy that skips the colour key, and the plain copy.
#pragma once

#include <cstdint>

namespace lumoa::skin {

// Blends `count` source pixels onto destination pixels. Alpha 0 leaves the destination, 255
// copies the source. Otherwise:
// - Mmx: every byte (alpha included) becomes (a * s + (256 - a) * d) div 256;
// - Plain: blue, green, red become (a * s + (255 - a) * d) div 256 and alpha becomes 255.
void BlendRowMmx(uint32_t* dst, const uint32_t* src, int count);
void BlendRowPlain(uint32_t* dst, const uint32_t* src, int count);
uint32_t BlendPixelMmx(uint32_t dst, uint32_t src);
uint32_t BlendPixelPlain(uint32_t dst, uint32_t src);

// Copies every source pixel whose colour is not the key colour, with alpha 255.
void TransparentCopyRow(uint32_t* dst, const uint32_t* src, int count);
// Copies pixels as they are.
void CopyRow(uint32_t* dst, const uint32_t* src, int count);

enum class BlendPath { Plain, Mmx };

// What the processor probe found: the multimedia path when the identification instruction
// reports family 5 or later with the MMX feature bit (bit 23 of the feature flags).
bool ProcessorHasMmx();
// The path BlendRow / BlendPixel use; set from the probe at start, switchable for tests.
BlendPath ActiveBlendPath();
void SetBlendPath(BlendPath path);

void BlendRow(uint32_t* dst, const uint32_t* src, int count);
uint32_t BlendPixel(uint32_t dst, uint32_t src);

}  // namespace lumoa::skin
