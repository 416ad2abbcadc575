#include "skin/draw/blend.h"

#include <cstring>

#include "skin/draw/pixel_map.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__i386__) || defined(__x86_64__)
#include <cpuid.h>
#endif

namespace lumoa::skin {

uint32_t BlendPixelMmx(uint32_t d, uint32_t s) {
  const uint32_t a = s >> 24;
  if (a == 0) return d;
  if (a == 255) return s;
  uint32_t out = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    const uint32_t sc = (s >> shift) & 0xFF;
    const uint32_t dc = (d >> shift) & 0xFF;
    out |= ((a * sc + (256 - a) * dc) >> 8) << shift;
  }
  return out;
}

uint32_t BlendPixelPlain(uint32_t d, uint32_t s) {
  const uint32_t a = s >> 24;
  if (a == 0) return d;
  if (a == 255) return s;
  const uint32_t na = 255 - a;
  const uint32_t rb = ((a * (s & 0xFF00FF) + na * (d & 0xFF00FF)) >> 8) & 0xFF00FF;
  const uint32_t g = ((a * (s & 0xFF00) + na * (d & 0xFF00)) >> 8) & 0xFF00;
  return kAlphaMask | rb | g;
}

void BlendRowPlain(uint32_t* dst, const uint32_t* src, int count) {
  for (int i = 0; i < count; ++i) dst[i] = BlendPixelPlain(dst[i], src[i]);
}

#if defined(__SSE2__)
// Two pixels in 16-bit lanes: d * 256 + (s - d) * a, modulo 2^16, is exactly a * s + (256 - a)
// * d because that value never exceeds 65280; the shift then gives the byte. Taking alpha 255
// as 256 makes the same expression copy the source, and alpha 0 leaves the destination, so no
// per-pixel selection is needed.
static inline __m128i BlendHalf(__m128i s8, __m128i d8, __m128i zero, __m128i full) {
  const __m128i s = _mm_unpacklo_epi8(s8, zero);
  const __m128i d = _mm_unpacklo_epi8(d8, zero);
  __m128i a = _mm_shufflelo_epi16(s, 0xFF);
  a = _mm_shufflehi_epi16(a, 0xFF);
  a = _mm_sub_epi16(a, _mm_cmpeq_epi16(a, full));
  const __m128i r = _mm_add_epi16(_mm_slli_epi16(d, 8), _mm_mullo_epi16(_mm_sub_epi16(s, d), a));
  return _mm_srli_epi16(r, 8);
}

void BlendRowMmx(uint32_t* dst, const uint32_t* src, int count) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i full16 = _mm_set1_epi16(255);
  const __m128i alphaBits = _mm_set1_epi32(static_cast<int>(kAlphaMask));
  int i = 0;
  for (; i + 4 <= count; i += 4) {
    const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
    const __m128i alpha = _mm_and_si128(s, alphaBits);
    if (_mm_movemask_epi8(_mm_cmpeq_epi32(alpha, alphaBits)) == 0xFFFF) {
      _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i), s);
      continue;
    }
    if (_mm_movemask_epi8(_mm_cmpeq_epi32(alpha, zero)) == 0xFFFF) continue;
    const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dst + i));
    const __m128i lo = BlendHalf(s, d, zero, full16);
    const __m128i hi = BlendHalf(_mm_unpackhi_epi64(s, s), _mm_unpackhi_epi64(d, d), zero, full16);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i), _mm_packus_epi16(lo, hi));
  }
  for (; i < count; ++i) dst[i] = BlendPixelMmx(dst[i], src[i]);
}
#else
void BlendRowMmx(uint32_t* dst, const uint32_t* src, int count) {
  for (int i = 0; i < count; ++i) dst[i] = BlendPixelMmx(dst[i], src[i]);
}
#endif

void TransparentCopyRow(uint32_t* dst, const uint32_t* src, int count) {
  int i = 0;
#if defined(__SSE2__)
  const __m128i colour = _mm_set1_epi32(static_cast<int>(kColorMask));
  const __m128i key = _mm_set1_epi32(static_cast<int>(kKeyColor));
  const __m128i alpha = _mm_set1_epi32(static_cast<int>(kAlphaMask));
  for (; i + 4 <= count; i += 4) {
    const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
    const __m128i keyed = _mm_cmpeq_epi32(_mm_and_si128(s, colour), key);
    const __m128i opaque = _mm_or_si128(s, alpha);
    const int bits = _mm_movemask_epi8(keyed);
    if (bits == 0xFFFF) continue;
    if (bits == 0) {
      _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i), opaque);
      continue;
    }
    const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dst + i));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i),
                     _mm_or_si128(_mm_and_si128(keyed, d), _mm_andnot_si128(keyed, opaque)));
  }
#endif
  for (; i < count; ++i) {
    const uint32_t s = src[i];
    if ((s & kColorMask) != kKeyColor) dst[i] = s | kAlphaMask;
  }
}

void CopyRow(uint32_t* dst, const uint32_t* src, int count) {
  if (count > 0) std::memmove(dst, src, static_cast<size_t>(count) * 4);
}

bool ProcessorHasMmx() {
#if defined(__i386__) || defined(__x86_64__)
  unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
  if (!__get_cpuid(1, &eax, &ebx, &ecx, &edx)) return false;
  unsigned family = (eax >> 8) & 0xF;
  if (family == 0xF) family += (eax >> 20) & 0xFF;
  return family >= 5 && (edx & (1u << 23)) != 0;
#else
  return false;
#endif
}

namespace {
BlendPath g_path = ProcessorHasMmx() ? BlendPath::Mmx : BlendPath::Plain;
}

BlendPath ActiveBlendPath() { return g_path; }
void SetBlendPath(BlendPath path) { g_path = path; }

void BlendRow(uint32_t* dst, const uint32_t* src, int count) {
  if (g_path == BlendPath::Mmx)
    BlendRowMmx(dst, src, count);
  else
    BlendRowPlain(dst, src, count);
}

uint32_t BlendPixel(uint32_t dst, uint32_t src) {
  return g_path == BlendPath::Mmx ? BlendPixelMmx(dst, src) : BlendPixelPlain(dst, src);
}

}  // namespace lumoa::skin
