// The check's manners toward each site: the validators of its last good
// answer sent back, a "304 Not Modified" taken as "as it was", and a site
// that answered 429 or 503 left alone for as long as it asked (or twice the
// last wait), across restarts, whoever starts the check.
#pragma once

#include <cstdint>
#include <string>

#include "engine/cycle_ports.h"
#include "engine/engine_context.h"
#include "engine/site_state.h"
#include "sites/site_file.h"

namespace ls {

// "MM/DD HH:MMまで確認を控えます。" in local time.
std::string msgWaitUntil(std::int64_t until);

class PoliteCheck {
 public:
  explicit PoliteCheck(const EngineContext& ctx);

  // The site still waits: `note` gets the text for the check's end.
  bool waiting(const Site& site, std::int64_t now, std::string& note);
  // The validators to send: those kept, while the site log they answer for
  // exists (without it a 304 would leave nothing to compare with).
  Validators validatorsFor(const Site& site);
  // A good answer (200 or 304): its validators kept, a 304 without them
  // keeping the old ones; any wait ends. A 304 puts the site log back as the
  // last check left it, so nothing is new and nothing is lost.
  // False when a 304's log could not be put back.
  bool answered(const Site& site, const FetchedPage& page);
  // A failed fetch: a 429 or 503 starts a wait, whose text is returned ("" otherwise).
  std::string failed(const Site& site, const FetchedPage& page, std::int64_t now, std::int64_t intervalSeconds);
  // Writes what changed, dropping the sites no longer in the site file.
  // False when the file could not be written.
  bool save(const std::string& siteFilePath);

 private:
  const EngineContext& ctx_;
  SiteStateStore store_;
};

}  // namespace ls
