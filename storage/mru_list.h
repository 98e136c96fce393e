#pragma once
// A recently used list of the main window: texts with an integer each, newest first, at
// most `Capacity` entries, texts compared without regard to case. Each list keeps a
// section of its own in the menu file: "Item_%d" the text and "User_%d" the integer
// (written only when not 0), numbered from 0.

#include <string>
#include <vector>

namespace orvane {

class TCustomIniFile;

struct TMruEntry {
  std::string Text;
  int Value = 0;
};

class TMruList {
public:
  explicit TMruList(int capacity) : capacity_(capacity) {}

  int Capacity() const { return capacity_; }
  const std::vector<TMruEntry>& Entries() const { return entries_; }
  int Count() const { return static_cast<int>(entries_.size()); }
  // Position of the entry with this text, or -1.
  int IndexOf(const std::string& text) const;

  // Puts the entry on top: one with the same text moves there and takes the value; the
  // oldest entries beyond the capacity go. False for a text the menu file cannot hold on
  // one line, or an empty one.
  bool Add(const std::string& text, int value);
  bool Remove(const std::string& text);
  void Clear() { entries_.clear(); }

  // The entries of `section` in the order of their numbers (gaps closed, any number of
  // leading zeros); an empty text, a text that came earlier in another case, and what is
  // beyond the capacity are left out.
  void LoadFromIni(TCustomIniFile& ini, const std::string& section);
  // Replaces `section` with the entries, numbered from 0.
  void SaveToIni(TCustomIniFile& ini, const std::string& section) const;

private:
  int capacity_;
  std::vector<TMruEntry> entries_;
};

// The section of a window's list: the window's own section, a backslash, then the
// window's class and the list's name ("Orvane\TfrmMain.mruIcons").
std::string MruSection(const std::string& formClass, const std::string& listName);

}  // namespace orvane
