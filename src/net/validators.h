// A page's validators as its server last sent them, sent back verbatim at
// the next request so that an unchanged page costs a "304 Not Modified".
#pragma once

#include <string>

namespace ls {

struct Validators {
  std::string etag;          // ETag -> If-None-Match
  std::string lastModified;  // Last-Modified -> If-Modified-Since
  bool empty() const { return etag.empty() && lastModified.empty(); }
  bool operator==(const Validators& o) const { return etag == o.etag && lastModified == o.lastModified; }
};

}  // namespace ls
