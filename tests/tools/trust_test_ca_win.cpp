// trust_test_ca.exe <certificate.der>
// Adds a certificate to the current user's trusted roots. Run under Wine in
// the prefix of the tests or the demo, never on a real system: it lets that
// prefix trust pages signed by the project's own test authority.
#include <windows.h>
#include <wincrypt.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: trust_test_ca.exe <certificate.der>\n");
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  std::string der((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (der.empty()) {
    std::fprintf(stderr, "trust_test_ca: cannot read the certificate\n");
    return 1;
  }
  HCERTSTORE root = CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, CERT_SYSTEM_STORE_CURRENT_USER, L"Root");
  BOOL added = root && CertAddEncodedCertificateToStore(root, X509_ASN_ENCODING,
                                                        reinterpret_cast<const BYTE*>(der.data()),
                                                        static_cast<DWORD>(der.size()), CERT_STORE_ADD_USE_EXISTING,
                                                        nullptr);
  if (root) CertCloseStore(root, 0);
  if (!added) {
    std::fprintf(stderr, "trust_test_ca: the certificate was not added (error %lu)\n", GetLastError());
    return 1;
  }
  return 0;
}
