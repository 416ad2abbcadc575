#include <algorithm>

#include "image/png/png_ancillary.h"
#include "image/png/png_chunk.h"
#include "image/png/png_header.h"
#include "image/png/png_idat.h"

namespace {

template <class T>
TksPngLayerClass Entry() {
  return {T::ClassChunkType(), [](TksPngImage* owner) -> std::unique_ptr<TksPngLayer> {
            return std::make_unique<T>(owner);
          }};
}

}  // namespace

const std::vector<TksPngLayerClass>& RegisteredPngLayerClasses() {
  static const std::vector<TksPngLayerClass> classes = {
      Entry<TksPngLayerIEND>(), Entry<TksPngLayerIHDR>(), Entry<TksPngLayerIDAT>(),
      Entry<TksPngLayerPLTE>(), Entry<TksPngLayergAMA>(), Entry<TksPngLayertRNS>(),
      Entry<TksPngLayerpHYs>(), Entry<TksPngLayertIME>(), Entry<TksPngLayertEXt>(),
      Entry<TksPngLayerzTXt>(),
  };
  return classes;
}

std::unique_ptr<TksPngLayer> CreatePngLayer(std::string_view ChunkType, TksPngImage* Owner) {
  const auto& classes = RegisteredPngLayerClasses();
  const auto it = std::find_if(classes.begin(), classes.end(),
                               [&](const TksPngLayerClass& c) { return c.ChunkType == ChunkType; });
  auto chunk = it != classes.end() ? it->Create(Owner) : std::make_unique<TksPngLayer>(Owner);
  chunk->SetChunkType(ChunkType);
  return chunk;
}
