// Byte streams: the abstract stream, memory streams and file streams.
#pragma once

#include <cstdint>
#include <cstdio>
#include <vector>

#include "ui/sysutils.h"

enum TSeekOrigin { soBeginning, soCurrent, soEnd };

// Open modes of TFileStream (the share flags are accepted and ignored).
constexpr uint16_t fmOpenRead = 0x0000;
constexpr uint16_t fmOpenWrite = 0x0001;
constexpr uint16_t fmOpenReadWrite = 0x0002;
constexpr uint16_t fmShareCompat = 0x0000;
constexpr uint16_t fmShareExclusive = 0x0010;
constexpr uint16_t fmShareDenyWrite = 0x0020;
constexpr uint16_t fmShareDenyRead = 0x0030;
constexpr uint16_t fmShareDenyNone = 0x0040;
constexpr uint16_t fmCreate = 0xFF00;

class TStream {
 public:
  virtual ~TStream() = default;
  TStream() = default;
  TStream(const TStream&) = delete;
  TStream& operator=(const TStream&) = delete;

  // Transfer up to count bytes; the result is how many moved (0 at the end).
  virtual int64_t Read(void* buffer, int64_t count) = 0;
  virtual int64_t Write(const void* buffer, int64_t count) = 0;
  // Moves the position and returns it. A position before the start is an EStreamError;
  // a position past the end is allowed (reads return 0, writes extend).
  virtual int64_t Seek(int64_t offset, TSeekOrigin origin) = 0;

  // Exactly count bytes, or EReadError / EWriteError.
  void ReadBuffer(void* buffer, int64_t count);
  void WriteBuffer(const void* buffer, int64_t count);

  int64_t Position() { return Seek(0, soCurrent); }
  void SetPosition(int64_t pos) { Seek(pos, soBeginning); }
  virtual int64_t Size();
  virtual void SetSize(int64_t newSize);

  // Copies count bytes from source's position; count 0 copies all of source from its start.
  // Returns the bytes copied; a short source is an EReadError.
  int64_t CopyFrom(TStream& source, int64_t count);

  // Little-endian helpers for fixed-width fields.
  template <class T>
  T ReadValue() {
    T v{};
    ReadBuffer(&v, sizeof v);
    return v;
  }
  template <class T>
  void WriteValue(const T& v) {
    WriteBuffer(&v, sizeof v);
  }
};

// A stream over a block of memory it does not necessarily own.
class TCustomMemoryStream : public TStream {
 public:
  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  int64_t Size() override { return FSize; }

  void* Memory() const { return FMemory; }
  void SaveToStream(TStream& stream);
  void SaveToFile(const AnsiString& fileName);

 protected:
  void SetPointer(void* ptr, int64_t size);

  void* FMemory = nullptr;
  int64_t FSize = 0;
  int64_t FPosition = 0;
};

// A read-only stream over constant data (embedded resources); writing is refused.
class TConstMemoryStream : public TCustomMemoryStream {
 public:
  TConstMemoryStream(const void* data, int64_t size) {
    SetPointer(const_cast<void*>(data), size);
  }
  void SetSize(int64_t newSize) override;
};

// A growable stream in memory it owns. Growing keeps the bytes already written and zero-fills
// only what becomes part of the stream without being written (SetSize, writes past the end).
class TMemoryStream : public TCustomMemoryStream {
 public:
  TMemoryStream() = default;
  ~TMemoryStream() override;

  int64_t Write(const void* buffer, int64_t count) override;
  void SetSize(int64_t newSize) override;

  void Clear();
  void LoadFromStream(TStream& stream);
  void LoadFromFile(const AnsiString& fileName);

 private:
  void SetCapacity(int64_t newCapacity);

  int64_t FCapacity = 0;  // bytes allocated at FMemory (malloc'd)
};

// The contents as a string: what was written, or what it was created with.
class TStringStream : public TMemoryStream {
 public:
  explicit TStringStream(const AnsiString& s = AnsiString());
  AnsiString DataString() const;
  AnsiString ReadString(int64_t count);
  void WriteString(const AnsiString& s);
};

// A file on disk, through the C library so that it builds on every system. Names are paths in
// the file system's own encoding (the ANSI code page on Windows).
class TFileStream : public TStream {
 public:
  TFileStream(const AnsiString& fileName, uint16_t mode);
  ~TFileStream() override;

  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  void SetSize(int64_t newSize) override;

  const AnsiString& FileName() const { return FFileName; }

 private:
  // C streams need a flush or seek between a write and a following read, and the reverse.
  enum class LastOp { None, Read, Write };
  void Switch(LastOp next);

  AnsiString FFileName;
  std::FILE* FFile = nullptr;
  LastOp FLastOp = LastOp::None;
};
