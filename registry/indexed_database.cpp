#include "registry/indexed_database.h"

#include <algorithm>
#include <cstring>

#include "registry/secure_wipe.h"

namespace tamux {

LineCipher::~LineCipher() {
    secureRelease(buffer_);
}

std::string_view LineCipher::decipher(std::string_view hex) {
    // An empty line: nothing to copy, and maybe no buffer yet.
    if (hex.empty()) return {};
    if (buffer_.size() < hex.size()) {
        // A vector's own growth would free a copy of earlier lines' text unwiped.
        const std::size_t size = std::max({hex.size(), 2 * buffer_.size(), std::size_t{256}});
        secureRelease(buffer_);
        buffer_.resize(size);
    }
    return {buffer_.data(), crypt_.decryptInto(hex.data(), hex.size(), buffer_.data())};
}

std::unique_ptr<IndexedDatabase> indexText(std::string_view text,
                                           std::shared_ptr<const DatabaseIndex::IdSet> ids,
                                           CryptLib& crypt) {
    auto database = std::make_unique<IndexedDatabase>(std::move(ids), crypt);
    database->read(text);
    database->finish();
    return database;
}

}  // namespace tamux
