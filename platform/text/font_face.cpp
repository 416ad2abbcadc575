#include "platform/text/font_face.h"

#include <fcntl.h>
#include <fontconfig/fontconfig.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <map>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>

#include "platform/backend/backend.h"
#include "platform/text/font_match_cache.h"

namespace lumoa::platform {

FT_Library FreeTypeLibrary() {
  static FT_Library library = [] {
    FT_Library l = nullptr;
    return FT_Init_FreeType(&l) == 0 ? l : nullptr;
  }();
  return library;
}

namespace {

// Fontconfig's initialisation: idle, under way (on the start-up thread or the caller's), done.
// Heap-held and never freed, so that a start-up thread still running at exit finds it alive.
struct FontconfigInit {
  std::mutex mutex;
  std::condition_variable done;
  bool started = false;
  bool finished = false;
  bool ok = false;
  std::atomic<bool> ready{false};

  void Finish(bool result) {
    {
      std::lock_guard lock(mutex);
      ok = result;
      finished = true;
    }
    ready.store(result, std::memory_order_release);
    done.notify_all();
  }
};

FontconfigInit& Init() {
  static FontconfigInit* init = new FontconfigInit;
  return *init;
}

}  // namespace

void PrepareFontconfig() {
  // Answers kept from an earlier run with the same fonts and configuration: fontconfig is
  // started only when a question is new.
  if (FontMatches().Loaded()) return;
  FontconfigInit& init = Init();
  {
    std::lock_guard lock(init.mutex);
    if (init.started) return;
    init.started = true;
  }
  try {
    std::thread([] { Init().Finish(FcInit() == FcTrue); }).detach();
  } catch (const std::system_error&) {
    Init().Finish(FcInit() == FcTrue);  // no thread to be had: initialise here
  }
}

namespace {
// A desktop program draws text soon after its display opens: fontconfig starts meanwhile.
[[maybe_unused]] const bool kPreparedOnOpening = (OnDesktopOpening(PrepareFontconfig), true);
}  // namespace

bool FontconfigReady() {
  FontconfigInit& init = Init();
  if (init.ready.load(std::memory_order_acquire)) return true;
  std::unique_lock lock(init.mutex);
  if (!init.started) {
    init.started = true;
    lock.unlock();
    init.Finish(FcInit() == FcTrue);
    return init.ok;
  }
  init.done.wait(lock, [&] { return init.finished; });
  return init.ok;
}

namespace {

// A font file read through FreeType's stream interface, through a few cached blocks: glyph
// loads jump between the index, metrics and outline tables (and the auto-hinter's analysis of
// a large face between many glyphs), so one block of read-ahead was re-read for nearly every
// small read; a handful of blocks aligned to their size keep each table's current block.
class FileStream {
 public:
  static constexpr unsigned long kBlock = 8192;
  static constexpr int kBlocks = 8;

  // Null when the file cannot be opened or is empty.
  static FileStream* Open(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return nullptr;
    struct stat st{};
    if (fstat(fd, &st) != 0 || st.st_size <= 0) {
      ::close(fd);
      return nullptr;
    }
    auto* s = new FileStream;
    s->fd_ = fd;
    std::memset(&s->rec_, 0, sizeof s->rec_);
    s->rec_.size = static_cast<unsigned long>(st.st_size);
    s->rec_.descriptor.pointer = s;
    s->rec_.read = &FileStream::Read;
    s->rec_.close = &FileStream::Close;
    return s;
  }

  FT_Stream rec() { return &rec_; }

 private:
  struct Block {
    unsigned long start = 0;
    unsigned long length = 0;  // 0: empty
    unsigned long used = 0;    // the read counter when last used
    unsigned char bytes[kBlock];
  };

  static unsigned long Read(FT_Stream stream, unsigned long offset, unsigned char* buffer,
                            unsigned long count) {
    auto* s = static_cast<FileStream*>(stream->descriptor.pointer);
    if (count == 0) return offset > stream->size ? 1 : 0;  // a seek: non-zero is an error
    if (offset >= stream->size) return 0;
    count = std::min(count, stream->size - offset);
    if (count >= kBlock) return s->ReadAt(offset, buffer, count);
    unsigned long done = 0;
    while (done < count) {  // at most two blocks: count is below a block's size
      const Block* b = s->BlockAt(offset + done);
      const unsigned long from = offset + done - b->start;
      if (from >= b->length) break;  // a short read at the end of the file
      const unsigned long n = std::min(count - done, b->length - from);
      std::memcpy(buffer + done, b->bytes + from, n);
      done += n;
    }
    return done;
  }

  // The cached block holding offset, read in place of the least recently used one if absent.
  const Block* BlockAt(unsigned long offset) {
    const unsigned long start = offset - offset % kBlock;
    ++reads_;
    Block* victim = &blocks_[0];
    for (Block& b : blocks_) {
      if (b.length != 0 && b.start == start) {
        b.used = reads_;
        return &b;
      }
      if (b.length == 0 || b.used < victim->used) victim = &b;
    }
    victim->start = start;
    victim->length = ReadAt(start, victim->bytes, std::min(kBlock, rec_.size - start));
    victim->used = reads_;
    return victim;
  }

  static void Close(FT_Stream stream) {
    delete static_cast<FileStream*>(stream->descriptor.pointer);
  }

  unsigned long ReadAt(unsigned long offset, unsigned char* buffer, unsigned long count) const {
    unsigned long done = 0;
    while (done < count) {
      const ssize_t n = ::pread(fd_, buffer + done, count - done, static_cast<off_t>(offset + done));
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) break;
      done += static_cast<unsigned long>(n);
    }
    return done;
  }

  FileStream() = default;
  ~FileStream() { ::close(fd_); }

  FT_StreamRec rec_;
  int fd_ = -1;
  unsigned long reads_ = 0;
  Block blocks_[kBlocks];
};

}  // namespace

SharedFace* OpenSharedFace(const std::string& file, int index) {
  // Never freed: instances of any lifetime hold sizes of these faces.
  static auto* faces = new std::map<std::pair<std::string, int>, std::unique_ptr<SharedFace>>;
  auto [it, added] = faces->try_emplace({file, index});
  if (!added) return it->second.get();
  if (!FreeTypeLibrary()) return nullptr;
  FileStream* stream = FileStream::Open(file);
  if (!stream) return nullptr;
  FT_Open_Args args{};
  args.flags = FT_OPEN_STREAM;
  args.stream = stream->rec();
  FT_Face face = nullptr;
  // On failure FreeType closes the stream, which frees it.
  if (FT_Open_Face(FreeTypeLibrary(), &args, index, &face) != 0) return nullptr;
  auto shared = std::make_unique<SharedFace>();
  shared->face = face;
  shared->file = file;
  shared->index = index;
  it->second = std::move(shared);
  return it->second.get();
}

}  // namespace lumoa::platform
