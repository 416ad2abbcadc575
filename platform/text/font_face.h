// FreeType and fontconfig behind the realized fonts: the library, fontconfig's readiness, the
// one face per font file and index that every size of it shares, and the face matches already
// made. Faces read their file through a small buffered stream instead of mapping it whole, so
// a large fallback file (a Chinese face is several megabytes) costs only the tables FreeType
// keeps and the glyphs it reads.
#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H

#include <memory>
#include <string>

namespace lumoa::platform {

FT_Library FreeTypeLibrary();  // null when FreeType cannot start

// True once fontconfig is initialised (waiting for the start-up initialisation when it is under
// way); false when it cannot be.
bool FontconfigReady();
// Starts fontconfig's initialisation on a thread of its own, so that reading its configuration
// overlaps the rest of start-up; the first font that needs it waits for it. Not when answers
// kept from an earlier run are at hand (then the first new question starts it). Idempotent.
void PrepareFontconfig();

// A font file's face, opened once and shared (never closed: it lives as long as the process).
struct SharedFace {
  FT_Face face = nullptr;
  std::string file;
  int index = 0;
};
// The face of file at index, or null when FreeType cannot open it. A face that failed to open
// is not tried again.
SharedFace* OpenSharedFace(const std::string& file, int index);

}  // namespace lumoa::platform
