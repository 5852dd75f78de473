#include "mail/LineChannel.h"

#include <algorithm>
#include <cstring>

namespace zel {

IoResult LineChannel::startTls(const std::string&) {
    return IoResult::failure("This connection cannot use TLS");
}

void LineChannel::dropBuffer() {
    buffer_.clear();
    start_ = 0;
    skipLineFeed_ = false;
}

IoResult LineChannel::readLine(std::string& line) {
    line.clear();
    std::size_t scanned = start_;
    for (;;) {
        if (skipLineFeed_ && start_ < buffer_.size()) {
            if (buffer_[start_] == '\n') ++start_;
            skipLineFeed_ = false;
            scanned = std::max(scanned, start_);
        }
        const std::size_t end = buffer_.find_first_of("\r\n", scanned);
        if (end != std::string::npos) {
            line.assign(buffer_, start_, end - start_);
            start_ = end + 1;
            if (buffer_[end] == '\r') {
                if (start_ < buffer_.size()) {
                    if (buffer_[start_] == '\n') ++start_;
                } else {
                    skipLineFeed_ = true;
                }
            }
            return IoResult::success();
        }
        scanned = buffer_.size();
        if (scanned - start_ > maxLineLength) {
            close();
            return IoResult::failure("The server sent a line longer than " +
                                     std::to_string(maxLineLength) + " bytes");
        }
        // Keep the unread rest at the front, so the buffer never grows with
        // what has been read already.
        if (start_ > 0) {
            buffer_.erase(0, start_);
            scanned -= start_;
            start_ = 0;
        }
        if (!isOpen()) return IoResult::failure("Not Connected");
        const std::size_t before = buffer_.size();
        const std::size_t want = std::max<std::size_t>(64 * 1024, before / 2);
        buffer_.resize(before + want);
        std::size_t got = 0;
        IoResult status = receive(buffer_.data() + before, want, got);
        buffer_.resize(before + got);
        if (!status) {
            close();
            return status;
        }
        if (got == 0) {
            close();
            return IoResult::failure(buffer_.size() > start_
                                         ? "The server closed the connection inside a line"
                                         : "The server closed the connection");
        }
    }
}

IoResult MemoryChannel::write(std::string_view bytes) {
    if (!open_) return IoResult::failure("Not Connected");
    output.append(bytes);
    return IoResult::success();
}

IoResult MemoryChannel::receive(char* buffer, std::size_t size, std::size_t& got) {
    got = std::min({size, chunk, input.size() - read_});
    std::memcpy(buffer, input.data() + read_, got);
    read_ += got;
    return IoResult::success();
}

}  // namespace zel
