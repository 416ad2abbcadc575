#include "ui/streams.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>

TEST(MemoryStream, PositionsReadsPastEndAndGaps) {
  TMemoryStream s;
  s.WriteBuffer("abcdef", 6);
  EXPECT_EQ(s.Position(), 6);
  EXPECT_EQ(s.Size(), 6);
  s.SetPosition(4);
  char buf[8] = {};
  EXPECT_EQ(s.Read(buf, 8), 2);
  EXPECT_EQ(std::string(buf, 2), "ef");
  EXPECT_EQ(s.Read(buf, 8), 0);
  s.SetPosition(2);
  EXPECT_THROW(s.ReadBuffer(buf, 5), EReadError);
  EXPECT_THROW(s.Seek(-1, soBeginning), EStreamError);
  EXPECT_EQ(s.Seek(-2, soEnd), 4);
  // Writing beyond the end leaves zeros in between.
  s.SetPosition(8);
  s.WriteBuffer("Z", 1);
  ASSERT_EQ(s.Size(), 9);
  const auto* m = static_cast<const char*>(s.Memory());
  EXPECT_EQ(m[6], 0);
  EXPECT_EQ(m[7], 0);
  EXPECT_EQ(m[8], 'Z');
  s.SetSize(3);
  EXPECT_EQ(s.Position(), 3);
  EXPECT_EQ(std::string(static_cast<const char*>(s.Memory()), 3), "abc");
  s.Clear();
  EXPECT_EQ(s.Size(), 0);
}

TEST(MemoryStream, CopyFromAndLoadFromStream) {
  TStringStream src("0123456789");
  TMemoryStream dst;
  src.SetPosition(3);
  EXPECT_EQ(dst.CopyFrom(src, 4), 4);
  EXPECT_EQ(src.Position(), 7);
  EXPECT_EQ(dst.CopyFrom(src, 0), 10);  // 0 means the whole source
  EXPECT_EQ(std::string(static_cast<const char*>(dst.Memory()), 14), "34560123456789");
  src.SetPosition(8);
  EXPECT_THROW(dst.CopyFrom(src, 5), EReadError);

  TMemoryStream loaded;
  loaded.LoadFromStream(dst);
  EXPECT_EQ(loaded.Position(), 0);
  EXPECT_EQ(loaded.Size(), dst.Size());
  EXPECT_EQ(loaded.ReadValue<uint32_t>(), 0x36353433u);
}

TEST(ConstMemoryStream, ReadsButRefusesWrites) {
  static const uint8_t data[] = {1, 2, 3};
  TConstMemoryStream s(data, sizeof data);
  EXPECT_EQ(s.ReadValue<uint8_t>(), 1);
  EXPECT_THROW(s.WriteBuffer("x", 1), EWriteError);
  EXPECT_THROW(s.SetSize(10), EStreamError);
  EXPECT_EQ(data[1], 2);
}

TEST(FileStream, RoundTripAndOpenFailure) {
  char path[] = "/tmp/lumoa_stream_XXXXXX";
  const int fd = mkstemp(path);
  ASSERT_GE(fd, 0);
  close(fd);
  {
    TMemoryStream m;
    m.WriteBuffer("hello file", 10);
    m.SaveToFile(path);
  }
  TMemoryStream back;
  back.LoadFromFile(path);
  EXPECT_EQ(std::string(static_cast<const char*>(back.Memory()), 10), "hello file");
  {
    TFileStream f(path, fmOpenReadWrite);
    EXPECT_EQ(f.Size(), 10);
    f.SetSize(5);
    EXPECT_EQ(f.Size(), 5);
  }
  unlink(path);
  EXPECT_THROW(TFileStream("/nonexistent/dir/x.bin", fmOpenRead), EFOpenError);
  // A failed load leaves the stream as it was.
  EXPECT_THROW(back.LoadFromFile("/nonexistent/dir/x.bin"), EFOpenError);
  EXPECT_EQ(back.Size(), 10);
}
