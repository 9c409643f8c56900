// A database of megabytes (other.txt) deciphered on two threads before the ids it is indexed for
// are known, as the start-up reads the device table meanwhile. The file is cut into chunks at line
// ends; one thread takes them from the front, the other from the back once it is free, until none
// is left. Of each line only what tells whether an index may keep it is held: its key and whether
// it is a vendor line. Once the ids are known, the file is read again in two halves, and only the
// lines an index for them may keep are deciphered again and indexed: the two indexes answer in
// turn as one index of the whole file would. The halves are cut where the work of that second
// reading is shared about evenly.
//
// The keys are deciphered text: they are overwritten once the indexes are made, or when the digest
// is destroyed unused.
#pragma once

#include <cstdint>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/parallel.h"
#include "registry/crypt_lib.h"
#include "registry/database_index.h"
#include "registry/indexed_database.h"

namespace tamux {

class DatabaseDigest : public platform::SharedWork {
  public:
    // Files from this size on are worth two threads; up to the last, their chunks' keys fit the
    // digest's offsets.
    static constexpr std::uint64_t kFrom = std::uint64_t{1} << 20;
    static constexpr std::uint64_t kUpTo = std::uint64_t{1} << 29;

    // The file at `path`, of `size` bytes as fileSize gave it, not read yet.
    DatabaseDigest(platform::Files& files, std::string path, std::uint64_t size);
    ~DatabaseDigest() override;
    DatabaseDigest(const DatabaseDigest&) = delete;
    DatabaseDigest& operator=(const DatabaseDigest&) = delete;

    // Digest the chunks no thread took yet, from the first on and from the last on, each with a
    // cipher of its own, until none is left. Two threads may run them at once, or one after the
    // other. A line that is not hex or a read that fails is kept for `index` to raise.
    void workFromFront() override;
    void workFromBack() override;
    // Leaves the chunks no thread took yet undeciphered: the digest is then of no use, and the
    // threads find no more work in it.
    void abandon() { untaken_.reset(0); }

    // Once every chunk was digested: the indexes of the file's two halves for `ids`, made side by
    // side with `parallel`. Raises "Cannot open file" when a chunk could not be read to its end
    // (or the file changed before it was read again), else the error of the first line that is
    // not hex, as one reading of the whole file would. The keys are overwritten either way.
    std::vector<std::unique_ptr<IndexedDatabase>> index(
        const std::shared_ptr<const DatabaseIndex::IdSet>& ids, CryptLib& crypt,
        platform::Parallel* parallel);

  private:
    struct Chunk;

    // Hands every chunk no thread took yet to `work`, from the front or from the back.
    template <typename Work>
    void takeChunks(bool fromFront, Work&& work);
    void digest(Chunk& chunk, std::size_t number, CryptLib& crypt);
    // Marks the lines an index for `ids` may keep, and the vendor lines it may need; wipes the
    // keys.
    void sift(Chunk& chunk, const DatabaseIndex::IdSet& ids);
    // The index of chunks [first, last), their marked lines read again and deciphered.
    std::unique_ptr<IndexedDatabase> indexChunks(
        std::size_t first, std::size_t last, const std::shared_ptr<const DatabaseIndex::IdSet>& ids,
        CryptLib& crypt);
    void wipeKeys();

    platform::Files& files_;
    std::string path_;
    std::uint64_t size_;
    std::vector<Chunk> chunks_;
    platform::Pieces untaken_;  // chunks
    CryptLib frontCrypt_, backCrypt_;
};

}  // namespace tamux
