// A database file deciphered line by line and indexed for the ids it will be asked about. The file
// is handed over whole or piece by piece as it is read; each line is copied into a buffer of its
// own, deciphered there and handed to the index at once, while it is in the cache. The index keeps
// what it may answer with. Only that buffer ever holds deciphered text here, and it is overwritten
// before it is released: the file's text itself stays hex.
#pragma once

#include <cstddef>
#include <memory>
#include <string_view>
#include <vector>

#include "registry/crypt_lib.h"
#include "registry/database_index.h"
#include "registry/line_splitter.h"

namespace tamux {

// Deciphers one line at a time in a buffer that is overwritten before it is released.
class LineCipher {
  public:
    explicit LineCipher(CryptLib& crypt) : crypt_(crypt) {}
    ~LineCipher();
    LineCipher(const LineCipher&) = delete;
    LineCipher& operator=(const LineCipher&) = delete;

    // The text of a line of hex, valid until the next call. Raises CryptError for a line that is
    // not hex.
    std::string_view decipher(std::string_view hex);

  private:
    CryptLib& crypt_;
    std::vector<char> buffer_;
};

class IndexedDatabase {
  public:
    IndexedDatabase(std::shared_ptr<const DatabaseIndex::IdSet> ids, CryptLib& crypt)
        : index_(std::move(ids)), cipher_(crypt) {}
    IndexedDatabase(const IndexedDatabase&) = delete;
    IndexedDatabase& operator=(const IndexedDatabase&) = delete;

    // The next piece of the file's text. Raises CryptError for a line that is not hex.
    void read(std::string_view piece) {
        readWanted(piece, [](std::size_t) { return true; });
    }

    // As read, but only the lines for which `wanted(n)` holds are deciphered and indexed (n
    // counts the lines from the first piece on); the others are only counted. A caller that
    // learned from a reading before which lines the index may keep deciphers no other again.
    template <typename Wanted>
    void readWanted(std::string_view piece, Wanted&& wanted) {
        splitter_.read(piece, [&](std::string_view line) { take(line, wanted); });
    }

    // After the last piece. A caller of readWanted hands the same `wanted` again.
    template <typename Wanted>
    void finish(Wanted&& wanted) {
        splitter_.finish([&](std::string_view line) { take(line, wanted); });
        index_.finish();
    }
    void finish() {
        finish([](std::size_t) { return true; });
    }

    const DatabaseIndex& index() const { return index_; }

  private:
    template <typename Wanted>
    void take(std::string_view hex, Wanted& wanted) {
        if (wanted(index_.lineCount())) {
            index_.addLine(cipher_.decipher(hex));
        } else {
            index_.skipLine();
        }
    }

    DatabaseIndex index_;
    LineCipher cipher_;
    LineSplitter splitter_;
};

// A database read whole (a class's file, of a few kilobytes).
std::unique_ptr<IndexedDatabase> indexText(std::string_view text,
                                           std::shared_ptr<const DatabaseIndex::IdSet> ids,
                                           CryptLib& crypt);

}  // namespace tamux
