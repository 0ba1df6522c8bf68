#pragma once
#include <vector>

// A growable array of values; the program appends at the end and walks it by index.
template <class TYPE, class ARG_TYPE = const TYPE&> class CArray {
  public:
    int GetSize() const { return static_cast<int>(m_items.size()); }
    int Add(ARG_TYPE item) {
        m_items.push_back(item);
        return GetSize() - 1;
    }
    TYPE& GetAt(int i) { return m_items[i]; }
    const TYPE& GetAt(int i) const { return m_items[i]; }
    TYPE& operator[](int i) { return m_items[i]; }
    const TYPE& operator[](int i) const { return m_items[i]; }
    void RemoveAll() { m_items.clear(); }

  private:
    std::vector<TYPE> m_items;
};
