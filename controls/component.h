#pragma once
// Components: named objects in an ownership tree whose string properties (Caption,
// Hint, list lines ...) can be read and set by a path such as "btnOK.Caption" or
// "lvBugs.Columns(0).Caption", which is how language files translate a window.

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/exception.h"

namespace orvane {

// A component name is used twice in one owner, or a property path names nothing.
class EComponentError : public Exception {
public:
  using Exception::Exception;
};

// An object with string properties; nested objects ("Columns(0)", "Items(3)") are
// reached through SubObject.
class TPersistent {
public:
  virtual ~TPersistent() = default;
  virtual std::optional<std::string> GetProperty(const std::string& name) const;
  // False when the object has no such property.
  virtual bool SetProperty(const std::string& name, const std::string& value);
  // `index` is -1 when the path segment has no "(n)".
  virtual TPersistent* SubObject(const std::string& name, int index);
};

class TComponent : public TPersistent {
public:
  TComponent(TComponent* owner, std::string name);
  ~TComponent() override;
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  TComponent* Owner() const { return owner_; }
  const std::string& Name() const { return name_; }

  // Creates a component owned by this one; the owner frees it.
  template <class T, class... Args>
  T& Create(Args&&... args) {
    auto component = std::make_unique<T>(this, std::forward<Args>(args)...);
    T& result = *component;
    components_.push_back(std::move(component));
    return result;
  }

  int ComponentCount() const { return static_cast<int>(components_.size()); }
  TComponent* Components(int index) const { return components_.at(index).get(); }
  // Depth first through the owned tree, names compared ignoring case; nullptr if none.
  TComponent* FindComponent(const std::string& name) const;

  // "Caption" is a property of this component, "btnOK.Caption" one of a component in its
  // tree, "lvBugs.Columns(0).Caption" one of a nested object.
  std::optional<std::string> GetPropertyPath(const std::string& path);
  // Raises EComponentError when the path names no property.
  void SetPropertyPath(const std::string& path, const std::string& value);

protected:
  // Frees the owned components, last created first; derived classes call it while they
  // are still whole.
  void DestroyComponents();

private:
  TPersistent* Resolve(const std::string& path, std::string& property);

  TComponent* owner_;
  std::string name_;
  std::vector<std::unique_ptr<TComponent>> components_;
};

// Splits "Name(3)" into "Name" and 3; -1 without an index.
std::pair<std::string, int> SplitIndexedName(const std::string& segment);

// The parts of a hint "short|long": the short part is shown as a tooltip, the long part
// (the whole hint when it has no bar) explains the control on F1.
std::string GetShortHint(const std::string& hint);
std::string GetLongHint(const std::string& hint);

// A text split at CR LF, LF or CR; a final line break adds no empty line.
std::vector<std::string> SplitLines(const std::string& text);
std::string JoinLines(const std::vector<std::string>& lines);

}  // namespace orvane
