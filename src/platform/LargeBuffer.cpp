#include "platform/LargeBuffer.h"

#include <sys/mman.h>

#include <cstdint>
#include <cstring>
#include <new>
#include <utility>

namespace zel {

namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;

std::size_t roundUp(std::size_t n, std::size_t unit) {
    return (n + unit - 1) / unit * unit;
}

}  // namespace

LargeBuffer::LargeBuffer(std::size_t capacity) : capacity_(capacity) {
    if (capacity < kHugePage) {
        data_ = new char[capacity > 0 ? capacity : 1];
        return;
    }
    // Mapped one huge page longer, then trimmed to an aligned range, so that
    // every page of it can be a huge one.
    const std::size_t length = roundUp(capacity, kHugePage);
    void* raw = mmap(nullptr, length + kHugePage, PROT_READ | PROT_WRITE,
                     MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED) throw std::bad_alloc();
    auto* start = static_cast<char*>(raw);
    const std::uintptr_t address = reinterpret_cast<std::uintptr_t>(start);
    char* aligned = start + (roundUp(address, kHugePage) - address);
    if (aligned > start) munmap(start, static_cast<std::size_t>(aligned - start));
    const std::size_t tail =
        static_cast<std::size_t>(start + length + kHugePage - aligned) - length;
    if (tail > 0) munmap(aligned + length, tail);
    madvise(aligned, length, MADV_HUGEPAGE);  // advice only: small pages still work
    data_ = aligned;
    mapped_ = length;
}

LargeBuffer::~LargeBuffer() {
    release();
}

LargeBuffer::LargeBuffer(const LargeBuffer& other) : LargeBuffer(other.capacity_) {
    append(other.view());
}

LargeBuffer& LargeBuffer::operator=(const LargeBuffer& other) {
    if (this != &other) *this = LargeBuffer(other);
    return *this;
}

LargeBuffer::LargeBuffer(LargeBuffer&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)),
      size_(std::exchange(other.size_, 0)),
      capacity_(std::exchange(other.capacity_, 0)),
      mapped_(std::exchange(other.mapped_, 0)) {}

LargeBuffer& LargeBuffer::operator=(LargeBuffer&& other) noexcept {
    if (this != &other) {
        release();
        data_ = std::exchange(other.data_, nullptr);
        size_ = std::exchange(other.size_, 0);
        capacity_ = std::exchange(other.capacity_, 0);
        mapped_ = std::exchange(other.mapped_, 0);
    }
    return *this;
}

void LargeBuffer::release() {
    if (!data_) return;
    if (mapped_ > 0)
        munmap(data_, mapped_);
    else
        delete[] data_;
    data_ = nullptr;
}

}  // namespace zel
