// A file's bytes kept between reads, read again only when the file may have
// changed: its size or write time differ from the kept copy's, or its write
// time was so close to the moment it was read that a later write could share
// it. Write times can be as coarse as two seconds (a second under the C
// runtime's stat), so a copy taken within that margin of its write time is
// compared byte for byte at every refresh until the margin has passed; a hand
// edit of the same size within the same second is still seen.
#pragma once

#include <cstdint>
#include <string>

namespace ls {

class FileSnapshot {
 public:
  // Brings the copy up to date with the file at `path` (another path drops
  // the copy first). Returns true when the bytes differ from the copy held
  // before, or when the file appeared or vanished.
  bool refresh(const std::string& path);

  // After refresh: whether the file could be read, and its bytes.
  bool readable() const { return readable_; }
  const std::string& bytes() const { return bytes_; }

  // The next refresh reads the file whatever its stamp says (after the
  // program's own writes).
  void forget() { known_ = false; }

 private:
  std::string path_;
  std::string bytes_;
  bool known_ = false;     // bytes_ was read at the stamp below
  bool readable_ = false;
  bool settled_ = false;   // the write time lay beyond the margin when read
  std::uint64_t size_ = 0;
  std::int64_t writeTime_ = 0;
};

}  // namespace ls
