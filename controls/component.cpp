#include "controls/component.h"

#include <cctype>

namespace orvane {
namespace {

bool SameName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  }
  return true;
}

std::vector<std::string> SplitPath(const std::string& path) {
  std::vector<std::string> segments;
  std::string current;
  int depth = 0;
  for (char c : path) {
    if (c == '(') ++depth;
    if (c == ')') --depth;
    if (c == '.' && depth == 0) {
      segments.push_back(current);
      current.clear();
    } else {
      current += c;
    }
  }
  segments.push_back(current);
  return segments;
}

}  // namespace

std::optional<std::string> TPersistent::GetProperty(const std::string&) const {
  return std::nullopt;
}

bool TPersistent::SetProperty(const std::string&, const std::string&) { return false; }

TPersistent* TPersistent::SubObject(const std::string&, int) { return nullptr; }

TComponent::TComponent(TComponent* owner, std::string name)
    : owner_(owner), name_(std::move(name)) {
  if (owner_ && !name_.empty() && owner_->FindComponent(name_)) {
    throw EComponentError("A component named " + name_ + " already exists");
  }
}

TComponent::~TComponent() { DestroyComponents(); }

void TComponent::DestroyComponents() {
  while (!components_.empty()) components_.pop_back();
}

TComponent* TComponent::FindComponent(const std::string& name) const {
  for (const auto& component : components_) {
    if (SameName(component->name_, name)) return component.get();
    if (TComponent* found = component->FindComponent(name)) return found;
  }
  return nullptr;
}

TPersistent* TComponent::Resolve(const std::string& path, std::string& property) {
  std::vector<std::string> segments = SplitPath(path);
  property = segments.back();
  segments.pop_back();
  TPersistent* target = this;
  for (size_t i = 0; i < segments.size() && target; ++i) {
    auto [name, index] = SplitIndexedName(segments[i]);
    TPersistent* next = target->SubObject(name, index);
    // A component owned (at any depth) by the one reached so far; from the root first.
    if (!next && i == 0 && index < 0) next = FindComponent(name);
    if (!next && index < 0) {
      if (auto* owner = dynamic_cast<TComponent*>(target)) next = owner->FindComponent(name);
    }
    target = next;
  }
  return target;
}

std::optional<std::string> TComponent::GetPropertyPath(const std::string& path) {
  std::string property;
  TPersistent* target = Resolve(path, property);
  return target ? target->GetProperty(property) : std::nullopt;
}

void TComponent::SetPropertyPath(const std::string& path, const std::string& value) {
  std::string property;
  TPersistent* target = Resolve(path, property);
  if (!target || !target->SetProperty(property, value)) {
    throw EComponentError("Property " + path + " not found in " + name_);
  }
}

std::pair<std::string, int> SplitIndexedName(const std::string& segment) {
  const auto open = segment.find('(');
  if (open == std::string::npos || segment.back() != ')') return {segment, -1};
  const std::string digits = segment.substr(open + 1, segment.size() - open - 2);
  if (digits.empty() || digits.size() > 9) return {segment, -1};
  int index = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return {segment, -1};
    index = index * 10 + (c - '0');
  }
  return {segment.substr(0, open), index};
}

std::string GetShortHint(const std::string& hint) {
  const auto bar = hint.find('|');
  return bar == std::string::npos ? hint : hint.substr(0, bar);
}

std::string GetLongHint(const std::string& hint) {
  const auto bar = hint.find('|');
  return bar == std::string::npos ? hint : hint.substr(bar + 1);
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::string current;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      lines.push_back(current);
      current.clear();
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      current += c;
    }
  }
  if (!current.empty()) lines.push_back(current);
  return lines;
}

std::string JoinLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const auto& line : lines) text += line + "\r\n";
  return text;
}

}  // namespace orvane
