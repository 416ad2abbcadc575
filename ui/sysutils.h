// Strings, exceptions and conversions shared by every layer above the platform.
#pragma once

#include <cstdint>
#include <exception>
#include <string>

#include "platform/winbase.h"

// The program's module: classes it registers belong to it, and are found through it.
inline HINSTANCE HInstance() { return GetModuleHandleW(nullptr); }

// Single-byte text in the ANSI code page (GBK, code page 936).
using AnsiString = std::string;
// UTF-16 text, as the wide platform calls take it.
using WideString = std::basic_string<WCHAR>;

// Root of every error the framework and the layers above it raise.
class Exception : public std::exception {
 public:
  explicit Exception(AnsiString message) : FMessage(std::move(message)) {}
  const AnsiString& Message() const noexcept { return FMessage; }
  void SetMessage(AnsiString message) { FMessage = std::move(message); }
  const char* what() const noexcept override { return FMessage.c_str(); }

 private:
  AnsiString FMessage;
};

#define LUMOA_EXCEPTION(name, base) \
  class name : public base {        \
   public:                          \
    using base::base;               \
  }

LUMOA_EXCEPTION(EConvertError, Exception);
LUMOA_EXCEPTION(EStreamError, Exception);
LUMOA_EXCEPTION(EReadError, EStreamError);
LUMOA_EXCEPTION(EWriteError, EStreamError);
LUMOA_EXCEPTION(EFOpenError, EStreamError);
LUMOA_EXCEPTION(EFCreateError, EStreamError);
LUMOA_EXCEPTION(EOutOfResources, Exception);
LUMOA_EXCEPTION(EInvalidCast, Exception);
LUMOA_EXCEPTION(EInvalidOperation, Exception);
LUMOA_EXCEPTION(EInvalidGraphic, Exception);
LUMOA_EXCEPTION(EListError, Exception);
LUMOA_EXCEPTION(EComponentError, Exception);
LUMOA_EXCEPTION(EInvalidArgument, Exception);

#undef LUMOA_EXCEPTION

// A failed system call; ErrorCode is the platform's last-error value (or errno).
class EOSError : public Exception {
 public:
  explicit EOSError(AnsiString message, uint32_t errorCode = 0)
      : Exception(std::move(message)), ErrorCode(errorCode) {}
  uint32_t ErrorCode;
};

// Integer conversions. StrToInt accepts leading blanks, an optional sign, decimal digits or
// hex after "$", "0x", "0X" or "x"; anything else (trailing text included) is an error.
// Decimal must fit in 32 bits signed; hex may use all 32 bits and wraps as the word does.
AnsiString IntToStr(int64_t value);
AnsiString IntToHex(uint64_t value, int digits);
int32_t StrToInt(const AnsiString& s);
int64_t StrToInt64(const AnsiString& s);
int32_t StrToIntDef(const AnsiString& s, int32_t def);
bool TryStrToInt(const AnsiString& s, int32_t& value);
bool TryStrToInt64(const AnsiString& s, int64_t& value);

// Removes characters up to and including the space (control characters) from the ends.
AnsiString Trim(const AnsiString& s);
AnsiString TrimLeft(const AnsiString& s);
AnsiString TrimRight(const AnsiString& s);

// Case functions change only ASCII letters. Double-byte characters of the ANSI code page
// are stepped over whole, so their trail bytes (which may look like ASCII letters) survive.
AnsiString UpperCase(const AnsiString& s);
AnsiString LowerCase(const AnsiString& s);
int CompareText(const AnsiString& a, const AnsiString& b);
bool SameText(const AnsiString& a, const AnsiString& b);

// True when byte c starts a double-byte character of the ANSI code page.
inline bool IsLeadByte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

// Code-page conversions between the ANSI code page and UTF-16 / UTF-8.
WideString AnsiToWide(const AnsiString& s);
AnsiString WideToAnsi(const WideString& s);
WideString Utf8ToWide(const std::string& s);
std::string WideToUtf8(const WideString& s);
AnsiString Utf8ToAnsi(const std::string& s);
std::string AnsiToUtf8(const AnsiString& s);
