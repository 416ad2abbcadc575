// One description of a record's keys serves both directions: reading a section into the
// fields and writing the fields back, so the order and the defaults can never disagree.
#pragma once

#include "skin/data/ini_file.h"

class TksRecordFiler {
 public:
  virtual ~TksRecordFiler() = default;
  virtual bool Loading() const = 0;

  virtual void Integer(const char* key, int32_t& value, int32_t def) = 0;
  virtual void Color(const char* key, COLORREF& value, COLORREF def) = 0;
  virtual void Boolean(const char* key, bool& value) = 0;
  virtual void Point(const char* key, POINT& value) = 0;
  virtual void Rect(const char* key, RECT& value) = 0;
  virtual void String(const char* key, AnsiString& value, const char* def) = 0;
  virtual void FontStyle(const char* key, TksFontStyles& value) = 0;
  virtual void StretchType(const char* key, TksStretchType& value) = 0;
  virtual void EffectKind(const char* key, TksEffectKind& value) = 0;
  virtual void MorphKind(const char* key, TksMorphKind& value) = 0;
  virtual void Alignment(const char* key, TksAlignment& value) = 0;
  // "cmclose" .. "cmrollup"; any other text is minimise-to-tray.
  virtual void Command(const char* key, TksStdCommand& value) = 0;
};

// Numbers, points and rectangles read are held to +-kMaxSkinNumber.
class TksIniReader final : public TksRecordFiler {
 public:
  TksIniReader(const TksIniFile& ini, AnsiString section)
      : FIni(ini), FSection(std::move(section)) {}
  bool Loading() const override { return true; }

  void Integer(const char* key, int32_t& value, int32_t def) override;
  void Color(const char* key, COLORREF& value, COLORREF def) override;
  void Boolean(const char* key, bool& value) override;
  void Point(const char* key, POINT& value) override;
  void Rect(const char* key, RECT& value) override;
  void String(const char* key, AnsiString& value, const char* def) override;
  void FontStyle(const char* key, TksFontStyles& value) override;
  void StretchType(const char* key, TksStretchType& value) override;
  void EffectKind(const char* key, TksEffectKind& value) override;
  void MorphKind(const char* key, TksMorphKind& value) override;
  void Alignment(const char* key, TksAlignment& value) override;
  void Command(const char* key, TksStdCommand& value) override;

 private:
  const TksIniFile& FIni;
  AnsiString FSection;
};

class TksIniWriter final : public TksRecordFiler {
 public:
  TksIniWriter(TksIniFile& ini, AnsiString section) : FIni(ini), FSection(std::move(section)) {}
  bool Loading() const override { return false; }

  void Integer(const char* key, int32_t& value, int32_t def) override;
  void Color(const char* key, COLORREF& value, COLORREF def) override;
  void Boolean(const char* key, bool& value) override;
  void Point(const char* key, POINT& value) override;
  void Rect(const char* key, RECT& value) override;
  void String(const char* key, AnsiString& value, const char* def) override;
  void FontStyle(const char* key, TksFontStyles& value) override;
  void StretchType(const char* key, TksStretchType& value) override;
  void EffectKind(const char* key, TksEffectKind& value) override;
  void MorphKind(const char* key, TksMorphKind& value) override;
  void Alignment(const char* key, TksAlignment& value) override;
  void Command(const char* key, TksStdCommand& value) override;

 private:
  TksIniFile& FIni;
  AnsiString FSection;
};

const char* StdCommandName(TksStdCommand value);
