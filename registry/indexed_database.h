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
        splitter_.read(piece, [this](std::string_view hex) { addLine(hex); });
    }

    // After the last piece.
    void finish() {
        splitter_.finish([this](std::string_view hex) { addLine(hex); });
        index_.finish();
    }

    // For a caller that cut the lines itself and learned from a reading before which lines the
    // index may keep: the next line, deciphered and indexed, or passed over without deciphering.
    void addLine(std::string_view hex) { index_.addLine(cipher_.decipher(hex)); }
    void skipLine() { index_.skipLine(); }
    void reserve(std::size_t lines, std::size_t bytes) { index_.reserve(lines, bytes); }

    const DatabaseIndex& index() const { return index_; }

  private:
    DatabaseIndex index_;
    LineCipher cipher_;
    LineSplitter splitter_;
};

// A database read whole (a class's file, of a few kilobytes).
std::unique_ptr<IndexedDatabase> indexText(std::string_view text,
                                           std::shared_ptr<const DatabaseIndex::IdSet> ids,
                                           CryptLib& crypt);

}  // namespace tamux
