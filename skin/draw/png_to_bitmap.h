// A PNG image as a 32-bit alpha bitmap of the skin engine.
#pragma once

class TksBitmap;
class TksPngImage;

namespace lumoa::skin {

// Sizes Bitmap to the image and copies every pixel's colour with its alpha: the alpha plane,
// or for palette images the tRNS alpha of the index, or 0 for the transparent colour of grey
// and RGB images with a colour key, else 255. Then the bitmap's AlphaBlend flag is recomputed.
// False (and the bitmap unchanged) for an empty or undecoded image.
bool PngToBitmap(TksBitmap& Bitmap, const TksPngImage& Png);

}  // namespace lumoa::skin
