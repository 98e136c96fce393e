#pragma once
// An icon source and an image list that only keep books: which calls came in which
// order, which icons are alive, and what the list holds.

#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/icon_source.h"
#include "platform/image_list.h"

namespace orvane::testing {

class FakeIconSource : public IIconSource {
public:
  struct File {
    int count = 1;       // icons in the file
    int largeSize = 32;  // 0: no large icon
    int smallSize = 16;  // 0: no small icon
    bool raises = false;
  };

  std::map<std::string, File> files;  // by the name extraction is asked for
  std::set<std::string> existing;     // what SearchPath finds, dir + name
  std::map<std::string, std::string> environment;
  bool nt = true;
  int associatedSize = 0;  // 0: no associated icon
  int privateSize = 0;     // 0: PrivateExtractIconsA absent
  int fileInfoSize = 0;
  std::vector<std::string> calls;
  std::set<IconHandle> alive;

  IconHandle Make(int size) {
    IconHandle h = next_++;
    sizes_[h] = size;
    alive.insert(h);
    return h;
  }

  int ExtractIcons(const std::string& file, int index, TIcon& large, TIcon& small) override {
    calls.push_back("extract " + file + "," + std::to_string(index));
    auto it = files.find(file);
    if (it == files.end()) return 0;
    if (it->second.raises) throw std::runtime_error("bad file");
    if (index == -1) return it->second.count;
    if (index >= it->second.count) return 0;
    if (it->second.largeSize) large = TIcon(*this, Make(it->second.largeSize));
    if (it->second.smallSize) small = TIcon(*this, Make(it->second.smallSize));
    return (large ? 1 : 0) + (small ? 1 : 0);
  }
  bool IconSize(IconHandle icon, int& width, int& height) override {
    auto it = sizes_.find(icon);
    if (it == sizes_.end()) return false;
    width = height = it->second;
    return true;
  }
  void DestroyIcon(IconHandle icon) override { alive.erase(icon); }
  bool IsNT() override { return nt; }
  std::string ExpandEnvironment(const std::string& text) override {
    std::string out = text;
    for (const auto& [name, value] : environment) {
      for (size_t at; (at = out.find("%" + name + "%")) != std::string::npos;)
        out.replace(at, name.size() + 2, value);
    }
    return out;
  }
  bool FindFile(const std::string& path, const std::string& fileName, std::string& found) override {
    calls.push_back("search [" + path + "] " + fileName);
    if (!existing.count(path + fileName)) return false;
    found = path + fileName;
    return true;
  }
  int SmallSizeMetric() override { return 16; }
  int IconMetric() override { return 32; }
  std::string MakeTempDocument(const std::string& extension) override {
    calls.push_back("temp " + extension);
    return "C:\\temp\\ov1.tmp" + extension;
  }
  void DeleteDocument(const std::string& file) override { calls.push_back("delete " + file); }
  TIcon AssociatedIcon(std::string& path, std::uint16_t& index) override {
    calls.push_back("associated " + path);
    if (!associatedSize) return TIcon();
    path = "C:\\app.exe";
    index = 2;
    return TIcon(*this, Make(associatedSize));
  }
  bool HasPrivateExtractIcons() override { return privateSize != 0; }
  TIcon PrivateExtractIcon(const std::string& file, int index, int width, int height,
                           int& count) override {
    calls.push_back("private " + file + "," + std::to_string(index) + " " + std::to_string(width) +
                    "x" + std::to_string(height));
    count = 1;
    return TIcon(*this, Make(privateSize));
  }
  TIcon FileInfoIcon(const std::string& path) override {
    calls.push_back("fileinfo " + path);
    return fileInfoSize ? TIcon(*this, Make(fileInfoSize)) : TIcon();
  }

private:
  IconHandle next_ = 100;
  std::map<IconHandle, int> sizes_;
};

class FakeImageList : public IImageList {
public:
  explicit FakeImageList(FakeIconSource& source, int size = 16) : source_(source), size_(size) {}

  std::vector<int> images;  // the size of each icon added, 0 for a blank
  bool hasHandle = true;
  bool blankFails = false;
  int recreated = 0;
  int reserved = 0;

  int Width() const override { return size_; }
  int Height() const override { return size_; }
  bool Masked() const override { return true; }
  int AllocBy() const override { return 1; }
  int Count() const override { return static_cast<int>(images.size()); }
  void Clear() override { images.clear(); }
  void Reserve(int count) override { reserved = count; }
  bool Recreate32() override {
    ++recreated;
    return hasHandle;
  }
  int AddIcon(IconHandle icon) override {
    int w = 0;
    int h = 0;
    if (!source_.IconSize(icon, w, h)) return -1;
    images.push_back(w);
    return Count() - 1;
  }
  int AddBlank() override {
    if (blankFails) return -1;
    images.push_back(0);
    return Count() - 1;
  }
  int AddCopy(int index) override {
    if (index < 0 || index >= Count()) return -1;
    images.push_back(images[static_cast<size_t>(index)]);
    ++copies;
    return Count() - 1;
  }
  int copies = 0;

private:
  FakeIconSource& source_;
  int size_;
};

}  // namespace orvane::testing
