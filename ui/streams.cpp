#include "ui/streams.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <limits>
#include <new>
#include <stdexcept>

void TStream::ReadBuffer(void* buffer, int64_t count) {
  if (count < 0) throw EReadError("Stream read error: negative count");
  if (count != 0 && Read(buffer, count) != count) throw EReadError("Stream read error");
}

void TStream::WriteBuffer(const void* buffer, int64_t count) {
  if (count < 0) throw EWriteError("Stream write error: negative count");
  if (count != 0 && Write(buffer, count) != count) throw EWriteError("Stream write error");
}

int64_t TStream::Size() {
  const int64_t pos = Seek(0, soCurrent);
  const int64_t size = Seek(0, soEnd);
  Seek(pos, soBeginning);
  return size;
}

void TStream::SetSize(int64_t /*newSize*/) {
  throw EStreamError("This stream cannot change its size");
}

int64_t TStream::CopyFrom(TStream& source, int64_t count) {
  if (count < 0) throw EReadError("Stream read error: negative count");
  if (count == 0) {
    source.SetPosition(0);
    count = source.Size();
  }
  constexpr int64_t kChunk = 61440;
  std::vector<uint8_t> buf(static_cast<size_t>(std::min(count, kChunk)));
  const int64_t total = count;
  while (count > 0) {
    const int64_t n = std::min(count, kChunk);
    source.ReadBuffer(buf.data(), n);
    WriteBuffer(buf.data(), n);
    count -= n;
  }
  return total;
}

// ---- TCustomMemoryStream ----

void TCustomMemoryStream::SetPointer(void* ptr, int64_t size) {
  FMemory = ptr;
  FSize = size;
}

int64_t TCustomMemoryStream::Read(void* buffer, int64_t count) {
  if (count <= 0 || FPosition >= FSize) return 0;
  const int64_t n = std::min(count, FSize - FPosition);
  std::memcpy(buffer, static_cast<const uint8_t*>(FMemory) + FPosition, static_cast<size_t>(n));
  FPosition += n;
  return n;
}

int64_t TCustomMemoryStream::Write(const void* /*buffer*/, int64_t /*count*/) { return 0; }

int64_t TCustomMemoryStream::Seek(int64_t offset, TSeekOrigin origin) {
  int64_t base = 0;
  switch (origin) {
    case soBeginning: base = 0; break;
    case soCurrent: base = FPosition; break;
    case soEnd: base = FSize; break;
  }
  const int64_t pos = base + offset;
  if (pos < 0) throw EStreamError("Stream seek before the start");
  FPosition = pos;
  return FPosition;
}

void TCustomMemoryStream::SaveToStream(TStream& stream) {
  if (FSize != 0) stream.WriteBuffer(FMemory, FSize);
}

void TCustomMemoryStream::SaveToFile(const AnsiString& fileName) {
  TFileStream f(fileName, fmCreate);
  SaveToStream(f);
}

void TConstMemoryStream::SetSize(int64_t /*newSize*/) {
  throw EStreamError("A read-only memory stream cannot change its size");
}

// ---- TMemoryStream ----

TMemoryStream::~TMemoryStream() { std::free(FMemory); }

void TMemoryStream::SetCapacity(int64_t newCapacity) {
  if (newCapacity < 0) throw EStreamError("Negative stream size");
  if (newCapacity == FCapacity) return;
  if (static_cast<uint64_t>(newCapacity) > std::numeric_limits<size_t>::max() / 2) {
    throw EOutOfResources("Out of memory while expanding memory stream");
  }
  if (newCapacity == 0) {
    std::free(FMemory);
    FMemory = nullptr;
    FCapacity = 0;
    return;
  }
  // realloc moves large blocks by remapping their pages, not by copying them.
  void* grown = std::realloc(FMemory, static_cast<size_t>(newCapacity));
  if (grown == nullptr) throw EOutOfResources("Out of memory while expanding memory stream");
  FMemory = grown;
  FCapacity = newCapacity;
}

void TMemoryStream::SetSize(int64_t newSize) {
  if (newSize < 0) throw EStreamError("Negative stream size");
  SetCapacity(newSize);
  if (newSize > FSize) {
    std::memset(static_cast<uint8_t*>(FMemory) + FSize, 0, static_cast<size_t>(newSize - FSize));
  }
  FSize = newSize;
  if (FPosition > newSize) FPosition = newSize;
}

int64_t TMemoryStream::Write(const void* buffer, int64_t count) {
  if (count <= 0) return 0;
  const int64_t end = FPosition + count;
  if (end > FCapacity) {
    // Grow geometrically so a run of small writes stays linear.
    SetCapacity(std::max<int64_t>(end, FCapacity * 3 / 2));
  }
  auto* data = static_cast<uint8_t*>(FMemory);
  if (FPosition > FSize) {  // writing past the end fills the gap with zeros
    std::memset(data + FSize, 0, static_cast<size_t>(FPosition - FSize));
  }
  std::memcpy(data + FPosition, buffer, static_cast<size_t>(count));
  FPosition = end;
  if (end > FSize) FSize = end;
  return count;
}

void TMemoryStream::Clear() {
  SetCapacity(0);
  FSize = 0;
  FPosition = 0;
}

void TMemoryStream::LoadFromStream(TStream& stream) {
  stream.SetPosition(0);
  const int64_t n = stream.Size();
  if (n < 0 || static_cast<uint64_t>(n) > std::numeric_limits<size_t>::max() / 2) {
    throw EOutOfResources("Out of memory while loading memory stream");
  }
  // Replace only once the whole source was read, so a failure leaves this stream intact.
  void* data = n != 0 ? std::malloc(static_cast<size_t>(n)) : nullptr;
  if (n != 0 && data == nullptr) throw EOutOfResources("Out of memory while loading memory stream");
  try {
    if (n != 0) stream.ReadBuffer(data, n);
  } catch (...) {
    std::free(data);
    throw;
  }
  std::free(FMemory);
  FMemory = data;
  FCapacity = n;
  FSize = n;
  FPosition = 0;
}

void TMemoryStream::LoadFromFile(const AnsiString& fileName) {
  TFileStream f(fileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(f);
}

// ---- TStringStream ----

TStringStream::TStringStream(const AnsiString& s) {
  WriteString(s);
  SetPosition(0);
}

AnsiString TStringStream::DataString() const {
  return AnsiString(static_cast<const char*>(FMemory), static_cast<size_t>(FSize));
}

AnsiString TStringStream::ReadString(int64_t count) {
  if (count < 0) count = 0;
  const int64_t avail = FPosition < FSize ? FSize - FPosition : 0;
  AnsiString r(static_cast<size_t>(std::min(count, avail)), '\0');
  Read(r.data(), static_cast<int64_t>(r.size()));
  return r;
}

void TStringStream::WriteString(const AnsiString& s) {
  Write(s.data(), static_cast<int64_t>(s.size()));
}

// ---- TFileStream ----

TFileStream::TFileStream(const AnsiString& fileName, uint16_t mode) : FFileName(fileName) {
  const bool create = mode == fmCreate || (mode & 0xFF00) == fmCreate;
  // The sharing bits have no C equivalent; another opener is never locked out.
  const char* how = create ? "w+b" : (mode & 0x3) == fmOpenRead ? "rb" : "r+b";
  FFile = std::fopen(fileName.c_str(), how);
  if (!FFile) {
    const int err = errno;
    const AnsiString what = create ? "Cannot create file \"" : "Cannot open file \"";
    throw EFOpenError(what + fileName + "\". " + std::strerror(err));
  }
}

TFileStream::~TFileStream() {
  if (FFile) std::fclose(FFile);
}

void TFileStream::Switch(LastOp next) {
  if (FLastOp == LastOp::Write && next == LastOp::Read) std::fflush(FFile);
  if (FLastOp == LastOp::Read && next == LastOp::Write) std::fseek(FFile, 0, SEEK_CUR);
  FLastOp = next;
}

int64_t TFileStream::Read(void* buffer, int64_t count) {
  if (count <= 0) return 0;
  Switch(LastOp::Read);
  return static_cast<int64_t>(std::fread(buffer, 1, static_cast<size_t>(count), FFile));
}

int64_t TFileStream::Write(const void* buffer, int64_t count) {
  if (count <= 0) return 0;
  Switch(LastOp::Write);
  return static_cast<int64_t>(std::fwrite(buffer, 1, static_cast<size_t>(count), FFile));
}

int64_t TFileStream::Seek(int64_t offset, TSeekOrigin origin) {
  const int whence = origin == soBeginning ? SEEK_SET : origin == soCurrent ? SEEK_CUR : SEEK_END;
  // A C long is 32 bits on Windows: offsets past it are errors, not wrapped positions.
  if (offset > std::numeric_limits<long>::max() || offset < std::numeric_limits<long>::min() ||
      std::fseek(FFile, static_cast<long>(offset), whence) != 0) {
    throw EStreamError("Stream seek error on \"" + FFileName + "\"");
  }
  FLastOp = LastOp::None;
  const long r = std::ftell(FFile);
  if (r < 0) throw EStreamError("Stream seek error on \"" + FFileName + "\"");
  return r;
}

void TFileStream::SetSize(int64_t newSize) {
  const int64_t position = Position();
  std::error_code error;
  if (newSize >= 0 && std::fflush(FFile) == 0) {
    std::filesystem::resize_file(FFileName, static_cast<std::uintmax_t>(newSize), error);
  }
  if (newSize < 0 || error) {
    throw EStreamError("Cannot change the size of \"" + FFileName + "\"");
  }
  SetPosition(std::min(position, newSize));
}
