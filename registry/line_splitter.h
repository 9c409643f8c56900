// Cuts a database file's text into lines as it comes in pieces. CR LF, LF or CR end a line, also
// where a piece ends between the CR and the LF. The text is hex: a line cut by the end of a piece
// is put together in a buffer of the splitter's own, every other one is handed over where it lies.
// While a line is handed over, lineStart says where it began in the text read so far.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace tamux {

class LineSplitter {
  public:
    // Hands every line the piece completes to `line`, as a view that lasts for that call.
    template <typename OnLine>
    void read(std::string_view piece, OnLine&& line) {
        const char* const base = piece.data();
        const char* at = base;
        const char* const end = at + piece.size();
        if (afterCr_ && at < end && *at == '\n') ++at;
        afterCr_ = false;
        // The next CR and the next LF, each kept while it lies ahead: every line end is searched
        // for once, and a text without CRs is not searched to its end for every line.
        const char* cr = next(at, end, '\r');
        const char* lf = next(at, end, '\n');
        while (at < end) {
            if (cr < at) cr = next(at, end, '\r');
            if (lf < at) lf = next(at, end, '\n');
            const char* const stop = cr < lf ? cr : lf;
            if (carry_.empty()) lineStart_ = read_ + static_cast<std::uint64_t>(at - base);
            if (stop == end) {
                carry_.append(at, end);  // the line goes on in the next piece
                break;
            }
            if (carry_.empty()) {
                line(std::string_view(at, static_cast<std::size_t>(stop - at)));
            } else {
                carry_.append(at, stop);
                line(std::string_view(carry_));
                carry_.clear();
            }
            at = stop + 1;
            if (*stop == '\r') {
                if (at == end)
                    afterCr_ = true;
                else if (*at == '\n')
                    ++at;
            }
        }
        read_ += piece.size();
    }

    // After the last piece: a last line without a line end is a line too (a final line end adds
    // no empty line).
    template <typename OnLine>
    void finish(OnLine&& line) {
        afterCr_ = false;
        if (carry_.empty()) return;
        line(std::string_view(carry_));
        carry_.clear();
    }

    // Where the line handed over begins, counted from the first piece's first character.
    std::uint64_t lineStart() const { return lineStart_; }

  private:
    // The first `c` from `at` on, or `end`.
    static const char* next(const char* at, const char* end, char c) {
        const void* found = std::memchr(at, c, static_cast<std::size_t>(end - at));
        return found == nullptr ? end : static_cast<const char*>(found);
    }

    std::string carry_;  // the hex of a line cut by the end of a piece
    std::uint64_t read_ = 0, lineStart_ = 0;
    bool afterCr_ = false;  // the last piece ended with a CR
};

}  // namespace tamux
