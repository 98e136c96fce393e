#pragma once
// A list of strings, each with an optional object the list owns: the registry bug list
// and sorted extension lists. JoinText gives the entries as one line.

#include <memory>
#include <string>
#include <vector>

namespace orvane {

// Base of the objects a TAdvStringList entry can carry.
class TStringListObject {
public:
  virtual ~TStringListObject() = default;
};

class TAdvStringList {
public:
  TAdvStringList() = default;
  TAdvStringList(const TAdvStringList&) = delete;
  TAdvStringList& operator=(const TAdvStringList&) = delete;

  int Count() const { return static_cast<int>(entries_.size()); }
  // Raise an exception for an index outside 0..Count-1.
  const std::string& Strings(int index) const;
  TStringListObject* Objects(int index) const;

  // A sorted list inserts at the entry's place (ignoring case); an unsorted one appends.
  int Add(const std::string& text);
  int AddObject(const std::string& text, std::unique_ptr<TStringListObject> object);
  void Delete(int index);
  void Clear() { entries_.clear(); }
  // First entry equal ignoring case, or -1.
  int IndexOf(const std::string& text) const;

  bool Sorted() const { return sorted_; }
  // Switching to sorted sorts the entries ascending, ignoring case.
  void SetSorted(bool value);
  void Sort();

  const std::string& Separator() const { return separator_; }
  void SetSeparator(const std::string& value) { separator_ = value; }
  // All entries joined by Separator; "" for an empty list.
  std::string JoinText() const;

private:
  struct Entry {
    std::string text;
    std::unique_ptr<TStringListObject> object;
  };
  void CheckIndex(int index) const;

  std::vector<Entry> entries_;
  bool sorted_ = false;
  std::string separator_ = ";";
};

}  // namespace orvane
