// Compressed files cannot be unpacked by this build yet: every request is refused, so the archive
// reader reports such files as failed rather than writing anything.
#include "rar/unpack.h"

namespace {

class PendingUnpacker final : public Unpacker {
 public:
  UnpackResult Unpack(int, int64_t, bool) override { return UNPACK_BAD_VERSION; }
};

}  // namespace

std::unique_ptr<Unpacker> CreateUnpacker(RarUnpackIO*) { return std::make_unique<PendingUnpacker>(); }
