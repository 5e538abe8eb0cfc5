#include "shell/fetch/cert_check_win.h"

#include <cstring>

namespace ls {

namespace {

// The chain under the system's TLS server policy, with the host's name
// checked when `host` is given; the policy's error code (0: it checks out).
DWORD policyError(PCCERT_CHAIN_CONTEXT chain, const wchar_t* host) {
  SSL_EXTRA_CERT_CHAIN_POLICY_PARA ssl{};
  ssl.cbSize = sizeof ssl;
  ssl.dwAuthType = AUTHTYPE_SERVER;
  ssl.pwszServerName = const_cast<wchar_t*>(host);
  CERT_CHAIN_POLICY_PARA policy{};
  policy.cbSize = sizeof policy;
  policy.pvExtraPolicyPara = &ssl;
  CERT_CHAIN_POLICY_STATUS status{};
  status.cbSize = sizeof status;
  if (!CertVerifyCertificateChainPolicy(CERT_CHAIN_POLICY_SSL, chain, &policy, &status)) return ~DWORD(0);
  return status.dwError;
}

// "192.0.2.1" as its four bytes; false for anything that is not a dotted quad.
bool ipv4Bytes(const std::wstring& host, BYTE out[4]) {
  int part = 0;
  unsigned value = 0;
  int digits = 0;
  for (wchar_t c : host + L".") {
    if (c >= L'0' && c <= L'9') {
      value = value * 10 + static_cast<unsigned>(c - L'0');
      if (++digits > 3 || value > 255) return false;
    } else if (c == L'.' && digits > 0 && part < 4) {
      out[part++] = static_cast<BYTE>(value);
      value = 0;
      digits = 0;
    } else {
      return false;
    }
  }
  return part == 4;
}

// The certificate names the address among its subject alternative names.
bool holdsAddress(PCCERT_CONTEXT certificate, const BYTE address[4]) {
  PCERT_EXTENSION extension = CertFindExtension(szOID_SUBJECT_ALT_NAME2, certificate->pCertInfo->cExtension,
                                                certificate->pCertInfo->rgExtension);
  if (!extension) return false;
  CERT_ALT_NAME_INFO* names = nullptr;
  DWORD size = 0;
  if (!CryptDecodeObjectEx(X509_ASN_ENCODING, X509_ALTERNATE_NAME, extension->Value.pbData, extension->Value.cbData,
                           CRYPT_DECODE_ALLOC_FLAG, nullptr, &names, &size))
    return false;
  bool found = false;
  for (DWORD i = 0; i < names->cAltEntry && !found; ++i) {
    const CERT_ALT_NAME_ENTRY& entry = names->rgAltEntry[i];
    found = entry.dwAltNameChoice == CERT_ALT_NAME_IP_ADDRESS && entry.IPAddress.cbData == 4 &&
            std::memcmp(entry.IPAddress.pbData, address, 4) == 0;
  }
  LocalFree(names);
  return found;
}

// Faults of the chain that make it worthless whatever a policy says. Wine's
// SSL policy passes a partial chain (a leaf from an unknown authority sent
// alone, or one whose intermediate the server left out), so the bits are
// read here on every system.
constexpr DWORD kChainFaults = CERT_TRUST_IS_PARTIAL_CHAIN | CERT_TRUST_IS_UNTRUSTED_ROOT |
                               CERT_TRUST_IS_NOT_TIME_VALID | CERT_TRUST_IS_NOT_SIGNATURE_VALID |
                               CERT_TRUST_IS_NOT_VALID_FOR_USAGE | CERT_TRUST_IS_CYCLIC | CERT_TRUST_IS_REVOKED |
                               CERT_TRUST_IS_EXPLICIT_DISTRUST | CERT_TRUST_INVALID_BASIC_CONSTRAINTS |
                               CERT_TRUST_INVALID_EXTENSION | CERT_TRUST_INVALID_POLICY_CONSTRAINTS |
                               CERT_TRUST_INVALID_NAME_CONSTRAINTS;

}  // namespace

bool serverCertificateTrusted(PCCERT_CONTEXT certificate, const std::wstring& host) {
  LPSTR usages[] = {const_cast<LPSTR>(szOID_PKIX_KP_SERVER_AUTH)};
  CERT_CHAIN_PARA chainPara{};
  chainPara.cbSize = sizeof chainPara;
  chainPara.RequestedUsage.dwType = USAGE_MATCH_TYPE_OR;
  chainPara.RequestedUsage.Usage.cUsageIdentifier = 1;
  chainPara.RequestedUsage.Usage.rgpszUsageIdentifier = usages;
  PCCERT_CHAIN_CONTEXT chain = nullptr;
  if (!CertGetCertificateChain(nullptr, certificate, nullptr, certificate->hCertStore, &chainPara, 0, nullptr,
                               &chain))
    return false;
  if (chain->TrustStatus.dwErrorStatus & kChainFaults) {
    CertFreeCertificateChain(chain);
    return false;
  }
  DWORD error = policyError(chain, host.c_str());
  // Not every system's policy compares an address with the certificate's
  // addresses (Wine's compares names only): the chain is checked without the
  // name, and the address by the program.
  BYTE address[4];
  if (error == static_cast<DWORD>(CERT_E_CN_NO_MATCH) && ipv4Bytes(host, address) &&
      policyError(chain, nullptr) == 0 && holdsAddress(certificate, address))
    error = 0;
  CertFreeCertificateChain(chain);
  return error == 0;
}

}  // namespace ls
