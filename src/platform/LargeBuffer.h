#pragma once
// A fixed-capacity store of bytes for large append-only lists. The memory is
// mapped from the system directly, aligned and advised for huge pages: a
// search listing half a million lines writes tens of megabytes into fresh
// memory, and with small pages most of that time went to page faults.

#include <cstddef>
#include <cstring>
#include <string_view>

namespace zel {

class LargeBuffer {
  public:
    explicit LargeBuffer(std::size_t capacity);
    ~LargeBuffer();
    LargeBuffer(LargeBuffer&& other) noexcept;
    LargeBuffer& operator=(LargeBuffer&& other) noexcept;
    LargeBuffer(const LargeBuffer& other);
    LargeBuffer& operator=(const LargeBuffer& other);

    std::size_t size() const { return size_; }
    std::size_t capacity() const { return capacity_; }
    std::size_t room() const { return capacity_ - size_; }
    std::string_view view() const { return {data_, size_}; }
    // The caller checked room() first.
    void append(std::string_view bytes) {
        std::memcpy(data_ + size_, bytes.data(), bytes.size());
        size_ += bytes.size();
    }

  private:
    void release();

    char* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
    std::size_t mapped_ = 0;  // 0: from the heap
};

}  // namespace zel
