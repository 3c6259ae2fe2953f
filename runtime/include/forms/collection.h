#pragma once
// A keyed collection: 1-based positions, optional string keys compared without case.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "forms/error.h"

namespace forms {

std::string lowerCase(std::string_view text);
bool equalsNoCase(std::string_view a, std::string_view b);

template <class T>
class Collection {
 public:
  std::size_t count() const { return m_items.size(); }
  bool empty() const { return m_items.empty(); }

  // Error 457 when the key is already there; the collection is then unchanged.
  void add(T item, const std::string& key = {}) {
    if (!key.empty() && find(key)) throw Error(err::DuplicateKey);
    m_items.push_back({std::move(item), key, lowerCase(key)});
  }

  // Error 9 when the position is out of range.
  T& item(std::size_t position) {
    if (position < 1 || position > m_items.size()) throw Error(err::SubscriptOutOfRange);
    return m_items[position - 1].item;
  }
  // Error 5 when the key is missing.
  T& item(const std::string& key) {
    if (auto i = find(key)) return m_items[*i].item;
    throw Error(err::InvalidCall);
  }
  bool contains(const std::string& key) const { return find(key).has_value(); }

  void remove(std::size_t position) {
    if (position < 1 || position > m_items.size()) throw Error(err::SubscriptOutOfRange);
    m_items.erase(m_items.begin() + static_cast<std::ptrdiff_t>(position - 1));
  }
  void remove(const std::string& key) {
    auto i = find(key);
    if (!i) throw Error(err::InvalidCall);
    m_items.erase(m_items.begin() + static_cast<std::ptrdiff_t>(*i));
  }

  // Iteration over the items in collection order.
  template <class F>
  void forEach(F&& f) {
    for (auto& e : m_items) f(e.item);
  }

 private:
  struct Entry {
    T item;
    std::string key;
    std::string folded;
  };
  std::optional<std::size_t> find(const std::string& key) const {
    if (key.empty()) return std::nullopt;
    const std::string folded = lowerCase(key);
    for (std::size_t i = 0; i < m_items.size(); ++i)
      if (m_items[i].folded == folded) return i;
    return std::nullopt;
  }
  std::vector<Entry> m_items;
};

}  // namespace forms
