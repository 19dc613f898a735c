// String lists: the abstract TStrings and the stored, optionally sorted TStringList.
#pragma once

#include <functional>
#include <vector>

#include "framework/rtl/System.h"

class TStream;

// Lines with an optional object each; "name=value" lines serve as a dictionary.
class TStrings : public TObject {
public:
    String ClassName() const override { return L"TStrings"; }

    virtual int Count() const = 0;
    virtual String Get(int index) const = 0;
    virtual void Put(int index, const String& text);
    virtual TObject* GetObject(int index) const;
    virtual void PutObject(int index, TObject* object);

    String Strings(int index) const { return Get(index); }
    void SetStrings(int index, const String& text) { Put(index, text); }
    String operator[](int index) const { return Get(index); }
    TObject* Objects(int index) const { return GetObject(index); }
    void SetObjects(int index, TObject* object) { PutObject(index, object); }

    virtual int Add(const String& text);
    virtual int AddObject(const String& text, TObject* object);
    virtual void Insert(int index, const String& text) = 0;
    virtual void InsertObject(int index, const String& text, TObject* object);
    virtual void Delete(int index) = 0;
    virtual void Clear() = 0;
    virtual void Exchange(int index1, int index2);
    virtual void Move(int curIndex, int newIndex);

    virtual int IndexOf(const String& text) const;  // case-insensitive unless a subclass says otherwise
    int IndexOfName(const String& name) const;
    int IndexOfObject(TObject* object) const;

    String Names(int index) const;  // the part before '=', empty when the line has none
    String Values(const String& name) const;
    void SetValues(const String& name, const String& value);  // an empty value deletes the line
    String ValueFromIndex(int index) const;
    void SetValueFromIndex(int index, const String& value);

    // Each line followed by CR LF; setting splits at CR, LF or CR LF.
    virtual String Text() const;
    virtual void SetText(const String& text);
    // Delimiter-separated lines, quoted with QuoteChar where they hold spaces, quotes or delimiters.
    String DelimitedText() const;
    void SetDelimitedText(const String& text);
    // DelimitedText with ',' and '"' whatever Delimiter and QuoteChar are.
    String CommaText() const;
    void SetCommaText(const String& text);
    wchar_t Delimiter() const { return delimiter_; }
    void SetDelimiter(wchar_t delimiter) { delimiter_ = delimiter; }
    wchar_t QuoteChar() const { return quoteChar_; }
    void SetQuoteChar(wchar_t quoteChar) { quoteChar_ = quoteChar; }

    virtual void Assign(const TStrings& source);  // strings and objects
    void AddStrings(const TStrings& source);
    bool Equals(const TStrings& other) const;  // same strings, compared exactly

    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return updateCount_; }

    // Text as bytes in the ANSI code page.
    void LoadFromStream(TStream& stream);
    void SaveToStream(TStream& stream) const;
    void LoadFromFile(const String& fileName);
    void SaveToFile(const String& fileName) const;

protected:
    // Hooks for subclasses and owners: before and after each change made outside an update.
    virtual void Changing() {}
    virtual void Changed() {}
    // Called when the update count leaves or returns to zero.
    virtual void SetUpdateState(bool updating);
    virtual int CompareStrings(const String& s1, const String& s2) const;

private:
    String DelimitedTextWith(wchar_t delimiter, wchar_t quoteChar) const;
    void SetDelimitedTextWith(const String& text, wchar_t delimiter, wchar_t quoteChar);

    int updateCount_ = 0;
    wchar_t delimiter_ = L',';
    wchar_t quoteChar_ = L'"';
};

enum TDuplicates { dupIgnore, dupAccept, dupError };

class TStringList;
using TStringListSortCompare = std::function<int(TStringList& list, int index1, int index2)>;
using TStringListNotify = std::function<void(TObject* sender)>;

// Stored strings. Index errors raise EStringListError "List index out of bounds (%d)".
class TStringList : public TStrings {
public:
    TStringList() = default;
    explicit TStringList(bool ownsObjects) : ownsObjects_(ownsObjects) {}
    ~TStringList() override;
    String ClassName() const override { return L"TStringList"; }

    int Count() const override { return static_cast<int>(items_.size()); }
    String Get(int index) const override;
    void Put(int index, const String& text) override;
    TObject* GetObject(int index) const override;
    void PutObject(int index, TObject* object) override;

    int Add(const String& text) override;
    int AddObject(const String& text, TObject* object) override;
    void Insert(int index, const String& text) override;
    void InsertObject(int index, const String& text, TObject* object) override;
    void Delete(int index) override;
    void Clear() override;
    void Exchange(int index1, int index2) override;
    int IndexOf(const String& text) const override;

    // Binary search of a sorted list: true when found; index is the match or the insertion point.
    bool Find(const String& text, int& index) const;
    virtual void Sort();
    virtual void CustomSort(const TStringListSortCompare& compare);

    bool Sorted() const { return sorted_; }
    void SetSorted(bool sorted);
    TDuplicates Duplicates() const { return duplicates_; }
    void SetDuplicates(TDuplicates duplicates) { duplicates_ = duplicates; }
    bool CaseSensitive() const { return caseSensitive_; }
    void SetCaseSensitive(bool caseSensitive);
    // While true, deleting or clearing lines (and destroying the list) frees their objects.
    bool OwnsObjects() const { return ownsObjects_; }
    void SetOwnsObjects(bool owns) { ownsObjects_ = owns; }

    TStringListNotify OnChange;
    TStringListNotify OnChanging;

protected:
    void Changing() override;
    void Changed() override;
    int CompareStrings(const String& s1, const String& s2) const override;

private:
    struct Item {
        String text;
        TObject* object;
    };
    void CheckIndex(int index) const;
    void InsertItem(int index, const String& text, TObject* object);

    std::vector<Item> items_;
    bool sorted_ = false;
    TDuplicates duplicates_ = dupIgnore;
    bool caseSensitive_ = false;
    bool ownsObjects_ = false;
};
