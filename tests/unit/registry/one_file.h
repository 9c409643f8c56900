// other.txt held in memory for the database tests, read in pieces of a chosen size, with a read
// that fails from a chosen offset on, and a text that may change after some reads. Only read, so
// two readers may use it at once.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "platform/files.h"

namespace tamux::test {

// other.txt, read in pieces of `pieceBytes` (0: as the default reader cuts them); with
// `failAt`, the read of the piece at that offset fails.
class OneFile : public platform::Files {
  public:
    OneFile(std::string text, std::size_t pieceBytes, std::optional<std::size_t> failAt = {})
        : text_(std::move(text)), pieceBytes_(pieceBytes), failAt_(failAt) {}
    bool fileExists(std::string_view path) override { return path == kPath; }
    std::optional<std::string> readFile(std::string_view path) override {
        if (path != kPath || failAt_) return std::nullopt;
        return text_;
    }
    bool readFileFrom(std::string_view path, std::uint64_t from,
                      const std::function<bool(std::string_view)>& take) override {
        if (pieceBytes_ == 0 || path != kPath) return Files::readFileFrom(path, from, take);
        const std::string& text = reads_++ < changeAfter_ ? text_ : changed_;
        for (std::size_t at = from; at < text.size(); at += pieceBytes_) {
            if (failAt_ && at >= *failAt_) return false;
            if (!take(std::string_view(text).substr(at, pieceBytes_))) break;
        }
        return true;
    }
    // From read `reads` on (counting from 0), the file holds `text`.
    void changeAfterReads(int reads, std::string text) {
        changeAfter_ = reads;
        changed_ = std::move(text);
    }
    std::optional<std::uint64_t> fileSize(std::string_view path) override {
        if (path != kPath) return std::nullopt;
        return text_.size();
    }
    void writeFile(std::string_view, std::string_view) override {}
    std::optional<std::uint64_t> lastWriteTime(std::string_view) override { return {}; }

    static constexpr std::string_view kPath = "..\\SHARED\\DATABASES\\other.txt";

  private:
    std::string text_;
    std::size_t pieceBytes_;
    std::optional<std::size_t> failAt_;
    std::atomic<int> reads_{0};
    int changeAfter_ = 1 << 30;
    std::string changed_;
};

// The CR LF line ends of `text` (its last line has one too) replaced by `lineEnd`.
inline std::string withLineEnds(const std::string& text, const std::string& lineEnd) {
    std::string result;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = text.find("\r\n", at);
        result.append(text, at, end - at).append(lineEnd);
        at = end + 2;
    }
    return result;
}

}  // namespace tamux::test
