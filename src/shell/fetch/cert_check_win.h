// The server certificate check of a TLS session: its chain must end in a
// root the system trusts, be valid now and for server authentication, and
// name the host that was asked for.
#pragma once

#include <windows.h>
#include <wincrypt.h>

#include <string>

namespace ls {

// True when `certificate` (with the intermediate certificates of its store)
// checks out for `host` under the system's TLS server policy.
bool serverCertificateTrusted(PCCERT_CONTEXT certificate, const std::wstring& host);

}  // namespace ls
