// The replaceable interface texts of skinned controls and forms, "KEY=text" per line.
#pragma once

#include <memory>

#include "platform/windef.h"
#include "ui/string_list.h"

class TksResourceStrData : public TComponent {
 public:
  explicit TksResourceStrData(TComponent* AOwner);
  ~TksResourceStrData() override;

  TStrings* ResStrings() const { return FResStrings.get(); }
  // Copies the lines of Value into the owned list.
  void SetResStrings(TStrings* Value);

  // Font character set that consumers give to the fonts they draw these texts with.
  BYTE CharSet = 1;  // DEFAULT_CHARSET

  // The text after the first "=" of the first line whose key matches without regard to
  // letter case; empty when no line has that key.
  AnsiString GetResStr(const AnsiString& Key) const;

  // The built-in lines, in stored order.
  static const std::vector<AnsiString>& DefaultStrings();

 private:
  std::unique_ptr<TStringList> FResStrings;
};
