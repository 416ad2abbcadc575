// Lists of strings: the abstract TStrings and the TStringList that stores them.
#pragma once

#include <vector>

#include "ui/classes.h"

class TStream;

enum TDuplicates { dupIgnore, dupAccept, dupError };

class TStrings : public TPersistent {
 public:
  virtual int Count() const = 0;
  virtual AnsiString Get(int Index) const = 0;
  virtual void Put(int Index, const AnsiString& S);
  virtual TObject* GetObject(int /*Index*/) const { return nullptr; }
  virtual void PutObject(int /*Index*/, TObject* /*AObject*/) {}
  virtual void Insert(int Index, const AnsiString& S) = 0;
  virtual void Delete(int Index) = 0;
  virtual void Clear() = 0;

  AnsiString operator[](int Index) const { return Get(Index); }
  AnsiString Strings(int Index) const { return Get(Index); }

  virtual int Add(const AnsiString& S);
  int AddObject(const AnsiString& S, TObject* AObject);
  void InsertObject(int Index, const AnsiString& S, TObject* AObject);
  void AddStrings(const TStrings& Strings);
  void Append(const AnsiString& S) { Add(S); }
  void Move(int CurIndex, int NewIndex);
  void Exchange(int Index1, int Index2);
  // Case-insensitive unless a subclass says otherwise.
  virtual int IndexOf(const AnsiString& S) const;
  int IndexOfObject(TObject* AObject) const;

  // "name=value" lines.
  AnsiString Names(int Index) const;
  int IndexOfName(const AnsiString& Name) const;
  AnsiString Values(const AnsiString& Name) const;
  // Sets the value of the first line with that name; an empty value deletes the line.
  void SetValue(const AnsiString& Name, const AnsiString& Value);
  AnsiString ValueFromIndex(int Index) const;

  // Lines each ended by CR LF; reading splits at CR LF, CR or LF.
  AnsiString Text() const;
  virtual void SetText(const AnsiString& Text);
  // Comma separated, items quoted with '"' when they hold blanks, commas or quotes.
  AnsiString CommaText() const;
  void SetCommaText(const AnsiString& Text);

  // Reads from the stream's position to its end; writes Text.
  void LoadFromStream(TStream& Stream);
  void SaveToStream(TStream& Stream) const;
  void LoadFromFile(const AnsiString& FileName);
  void SaveToFile(const AnsiString& FileName) const;

  void BeginUpdate();
  void EndUpdate();
  int UpdateCount() const { return FUpdateCount; }

  void Assign(TPersistent* Source) override;
  bool Equals(const TStrings& Other) const;

 protected:
  virtual void SetUpdateState(bool /*Updating*/) {}
  virtual int CompareStrings(const AnsiString& S1, const AnsiString& S2) const;
  void CheckIndex(int Index, int Limit) const;

 private:
  int FUpdateCount = 0;
};

class TStringList : public TStrings {
 public:
  TStringList() = default;
  ~TStringList() override;

  int Count() const override { return static_cast<int>(FList.size()); }
  AnsiString Get(int Index) const override;
  void Put(int Index, const AnsiString& S) override;
  TObject* GetObject(int Index) const override;
  void PutObject(int Index, TObject* AObject) override;
  // Adding to a sorted list places the string in order and applies Duplicates.
  int Add(const AnsiString& S) override;
  // Inserting by position into a sorted list is an EListError.
  void Insert(int Index, const AnsiString& S) override;
  void Delete(int Index) override;
  void Clear() override;
  int IndexOf(const AnsiString& S) const override;

  // Binary search of a sorted list: true when found; Index is where S is or would go.
  bool Find(const AnsiString& S, int& Index) const;
  void Sort();
  void CustomSort(const std::function<int(TStringList&, int, int)>& Compare);

  bool Sorted() const { return FSorted; }
  void SetSorted(bool Value);
  TDuplicates Duplicates() const { return FDuplicates; }
  void SetDuplicates(TDuplicates Value) { FDuplicates = Value; }
  bool CaseSensitive() const { return FCaseSensitive; }
  void SetCaseSensitive(bool Value);

  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;

 protected:
  void SetUpdateState(bool Updating) override;
  int CompareStrings(const AnsiString& S1, const AnsiString& S2) const override;
  virtual void Changed();
  virtual void Changing();

 private:
  struct Item {
    AnsiString S;
    TObject* Object = nullptr;
  };
  void InsertItem(int Index, const AnsiString& S, TObject* AObject);

  std::vector<Item> FList;
  bool FSorted = false;
  bool FCaseSensitive = false;
  TDuplicates FDuplicates = dupIgnore;
};
