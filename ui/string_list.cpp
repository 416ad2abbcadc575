#include "ui/string_list.h"

#include <algorithm>

#include "ui/streams.h"

namespace {

[[noreturn]] void ListIndexError(int Index) {
  throw EListError("List index out of bounds (" + IntToStr(Index) + ")");
}

bool IsDelimiterByte(unsigned char c) { return c >= 1 && c <= ' '; }

}  // namespace

// ---- TStrings ----

void TStrings::CheckIndex(int Index, int Limit) const {
  if (Index < 0 || Index >= Limit) ListIndexError(Index);
}

void TStrings::Put(int Index, const AnsiString& S) {
  TObject* obj = GetObject(Index);
  Delete(Index);
  InsertObject(Index, S, obj);
}

int TStrings::Add(const AnsiString& S) {
  const int index = Count();
  Insert(index, S);
  return index;
}

int TStrings::AddObject(const AnsiString& S, TObject* AObject) {
  const int index = Add(S);
  PutObject(index, AObject);
  return index;
}

void TStrings::InsertObject(int Index, const AnsiString& S, TObject* AObject) {
  Insert(Index, S);
  PutObject(Index, AObject);
}

void TStrings::AddStrings(const TStrings& Strings) {
  BeginUpdate();
  try {
    for (int i = 0; i < Strings.Count(); ++i) AddObject(Strings.Get(i), Strings.GetObject(i));
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TStrings::Move(int CurIndex, int NewIndex) {
  if (CurIndex == NewIndex) return;
  CheckIndex(NewIndex, Count());
  BeginUpdate();
  const AnsiString s = Get(CurIndex);
  TObject* obj = GetObject(CurIndex);
  Delete(CurIndex);
  InsertObject(NewIndex, s, obj);
  EndUpdate();
}

void TStrings::Exchange(int Index1, int Index2) {
  CheckIndex(Index1, Count());
  CheckIndex(Index2, Count());
  BeginUpdate();
  const AnsiString s1 = Get(Index1);
  TObject* o1 = GetObject(Index1);
  Put(Index1, Get(Index2));
  PutObject(Index1, GetObject(Index2));
  Put(Index2, s1);
  PutObject(Index2, o1);
  EndUpdate();
}

int TStrings::CompareStrings(const AnsiString& S1, const AnsiString& S2) const {
  return CompareText(S1, S2);
}

int TStrings::IndexOf(const AnsiString& S) const {
  for (int i = 0; i < Count(); ++i) {
    if (CompareStrings(Get(i), S) == 0) return i;
  }
  return -1;
}

int TStrings::IndexOfObject(TObject* AObject) const {
  for (int i = 0; i < Count(); ++i) {
    if (GetObject(i) == AObject) return i;
  }
  return -1;
}

AnsiString TStrings::Names(int Index) const {
  const AnsiString s = Get(Index);
  const size_t eq = s.find('=');
  return eq == AnsiString::npos ? AnsiString() : s.substr(0, eq);
}

int TStrings::IndexOfName(const AnsiString& Name) const {
  for (int i = 0; i < Count(); ++i) {
    const AnsiString s = Get(i);
    const size_t eq = s.find('=');
    if (eq != AnsiString::npos && CompareStrings(s.substr(0, eq), Name) == 0) return i;
  }
  return -1;
}

AnsiString TStrings::ValueFromIndex(int Index) const {
  const AnsiString s = Get(Index);
  const size_t eq = s.find('=');
  return eq == AnsiString::npos ? AnsiString() : s.substr(eq + 1);
}

AnsiString TStrings::Values(const AnsiString& Name) const {
  const int i = IndexOfName(Name);
  return i < 0 ? AnsiString() : ValueFromIndex(i);
}

void TStrings::SetValue(const AnsiString& Name, const AnsiString& Value) {
  int i = IndexOfName(Name);
  if (Value.empty()) {
    if (i >= 0) Delete(i);
    return;
  }
  if (i < 0) {
    Add(Name + "=" + Value);
    return;
  }
  Put(i, Name + "=" + Value);
}

AnsiString TStrings::Text() const {
  AnsiString r;
  for (int i = 0; i < Count(); ++i) {
    r += Get(i);
    r += "\r\n";
  }
  return r;
}

void TStrings::SetText(const AnsiString& Text) {
  BeginUpdate();
  try {
    Clear();
    size_t p = 0;
    const size_t n = Text.size();
    while (p < n) {
      const size_t start = p;
      while (p < n && Text[p] != '\r' && Text[p] != '\n') ++p;
      Add(Text.substr(start, p - start));
      if (p < n && Text[p] == '\r') ++p;
      if (p < n && Text[p] == '\n') ++p;
    }
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

AnsiString TStrings::CommaText() const {
  if (Count() == 1 && Get(0).empty()) return "\"\"";
  AnsiString r;
  for (int i = 0; i < Count(); ++i) {
    AnsiString s = Get(i);
    const bool quote = std::any_of(s.begin(), s.end(), [](char ch) {
      const unsigned char c = static_cast<unsigned char>(ch);
      return c <= ' ' || c == '"' || c == ',';
    });
    if (quote) {
      AnsiString q = "\"";
      for (char c : s) {
        q += c;
        if (c == '"') q += '"';
      }
      q += '"';
      s = q;
    }
    if (i > 0) r += ',';
    r += s;
  }
  return r;
}

void TStrings::SetCommaText(const AnsiString& Text) {
  BeginUpdate();
  try {
    Clear();
    size_t p = 0;
    const size_t n = Text.size();
    auto skipBlanks = [&] {
      while (p < n && IsDelimiterByte(static_cast<unsigned char>(Text[p]))) ++p;
    };
    skipBlanks();
    while (p < n) {
      AnsiString s;
      if (Text[p] == '"') {
        ++p;
        while (p < n) {
          if (Text[p] == '"') {
            if (p + 1 < n && Text[p + 1] == '"') {
              s += '"';
              p += 2;
              continue;
            }
            ++p;
            break;
          }
          s += Text[p++];
        }
      } else {
        const size_t start = p;
        while (p < n && static_cast<unsigned char>(Text[p]) > ' ' && Text[p] != ',') ++p;
        s = Text.substr(start, p - start);
      }
      Add(s);
      skipBlanks();
      if (p < n && Text[p] == ',') {
        if (p + 1 == n) Add(AnsiString());
        ++p;
        skipBlanks();
      }
    }
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TStrings::LoadFromStream(TStream& Stream) {
  const int64_t size = Stream.Size() - Stream.Position();
  AnsiString s(static_cast<size_t>(size > 0 ? size : 0), '\0');
  Stream.ReadBuffer(s.data(), static_cast<int64_t>(s.size()));
  SetText(s);
}

void TStrings::SaveToStream(TStream& Stream) const {
  const AnsiString s = Text();
  Stream.WriteBuffer(s.data(), static_cast<int64_t>(s.size()));
}

void TStrings::LoadFromFile(const AnsiString& FileName) {
  TFileStream f(FileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(f);
}

void TStrings::SaveToFile(const AnsiString& FileName) const {
  TFileStream f(FileName, fmCreate);
  SaveToStream(f);
}

void TStrings::BeginUpdate() {
  if (FUpdateCount++ == 0) SetUpdateState(true);
}

void TStrings::EndUpdate() {
  if (FUpdateCount == 0) return;
  if (--FUpdateCount == 0) SetUpdateState(false);
}

void TStrings::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TStrings*>(Source);
  if (!src) {
    TPersistent::Assign(Source);
    return;
  }
  if (src == this) return;
  BeginUpdate();
  try {
    Clear();
    AddStrings(*src);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

bool TStrings::Equals(const TStrings& Other) const {
  if (Count() != Other.Count()) return false;
  for (int i = 0; i < Count(); ++i) {
    if (Get(i) != Other.Get(i)) return false;
  }
  return true;
}

// ---- TStringList ----

TStringList::~TStringList() {
  OnChange = nullptr;
  OnChanging = nullptr;
}

AnsiString TStringList::Get(int Index) const {
  CheckIndex(Index, Count());
  return FList[static_cast<size_t>(Index)].S;
}

void TStringList::Put(int Index, const AnsiString& S) {
  if (FSorted) throw EListError("Operation not allowed on sorted list");
  CheckIndex(Index, Count());
  Changing();
  FList[static_cast<size_t>(Index)].S = S;
  Changed();
}

TObject* TStringList::GetObject(int Index) const {
  CheckIndex(Index, Count());
  return FList[static_cast<size_t>(Index)].Object;
}

void TStringList::PutObject(int Index, TObject* AObject) {
  CheckIndex(Index, Count());
  Changing();
  FList[static_cast<size_t>(Index)].Object = AObject;
  Changed();
}

int TStringList::Add(const AnsiString& S) {
  int index = Count();
  if (FSorted && Find(S, index)) {
    if (FDuplicates == dupIgnore) return index;
    if (FDuplicates == dupError) throw EListError("String list does not allow duplicates");
  }
  InsertItem(index, S, nullptr);
  return index;
}

void TStringList::Insert(int Index, const AnsiString& S) {
  if (FSorted) throw EListError("Operation not allowed on sorted list");
  CheckIndex(Index, Count() + 1);
  InsertItem(Index, S, nullptr);
}

void TStringList::InsertItem(int Index, const AnsiString& S, TObject* AObject) {
  Changing();
  FList.insert(FList.begin() + Index, Item{S, AObject});
  Changed();
}

void TStringList::Delete(int Index) {
  CheckIndex(Index, Count());
  Changing();
  FList.erase(FList.begin() + Index);
  Changed();
}

void TStringList::Clear() {
  if (FList.empty()) return;
  Changing();
  FList.clear();
  Changed();
}

int TStringList::CompareStrings(const AnsiString& S1, const AnsiString& S2) const {
  if (FCaseSensitive) return S1 < S2 ? -1 : (S1 == S2 ? 0 : 1);
  return CompareText(S1, S2);
}

int TStringList::IndexOf(const AnsiString& S) const {
  if (!FSorted) return TStrings::IndexOf(S);
  int index = 0;
  return Find(S, index) ? index : -1;
}

bool TStringList::Find(const AnsiString& S, int& Index) const {
  // Lower bound, so with duplicates accepted the first equal string is reported.
  int lo = 0;
  int hi = Count();
  while (lo < hi) {
    const int mid = lo + (hi - lo) / 2;
    if (CompareStrings(FList[static_cast<size_t>(mid)].S, S) < 0) {
      lo = mid + 1;
    } else {
      hi = mid;
    }
  }
  Index = lo;
  return lo < Count() && CompareStrings(FList[static_cast<size_t>(lo)].S, S) == 0;
}

void TStringList::Sort() {
  if (FList.size() < 2) return;
  Changing();
  std::stable_sort(FList.begin(), FList.end(), [this](const Item& a, const Item& b) {
    return CompareStrings(a.S, b.S) < 0;
  });
  Changed();
}

void TStringList::CustomSort(const std::function<int(TStringList&, int, int)>& Compare) {
  if (FSorted || FList.size() < 2) return;
  Changing();
  // Insertion sort through the index-based comparer; lists here are short.
  for (int i = 1; i < Count(); ++i) {
    for (int j = i; j > 0 && Compare(*this, j - 1, j) > 0; --j) {
      std::swap(FList[static_cast<size_t>(j - 1)], FList[static_cast<size_t>(j)]);
    }
  }
  Changed();
}

void TStringList::SetSorted(bool Value) {
  if (FSorted == Value) return;
  if (Value) Sort();
  FSorted = Value;
}

void TStringList::SetCaseSensitive(bool Value) {
  if (FCaseSensitive == Value) return;
  FCaseSensitive = Value;
  if (FSorted) Sort();
}

void TStringList::SetUpdateState(bool Updating) {
  if (Updating) {
    if (OnChanging) OnChanging(this);
    return;
  }
  if (OnChange) OnChange(this);
}

void TStringList::Changing() {
  if (UpdateCount() == 0 && OnChanging) OnChanging(this);
}

void TStringList::Changed() {
  if (UpdateCount() == 0 && OnChange) OnChange(this);
}
