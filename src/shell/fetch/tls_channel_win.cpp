#include "shell/fetch/tls_channel_win.h"

#include <cstring>

#include "shell/fetch/cert_check_win.h"
#include "win/wide_win.h"

namespace ls {

namespace {

constexpr DWORD kContextFlags = ISC_REQ_SEQUENCE_DETECT | ISC_REQ_REPLAY_DETECT | ISC_REQ_CONFIDENTIALITY |
                                ISC_REQ_ALLOCATE_MEMORY | ISC_REQ_STREAM | ISC_REQ_EXTENDED_ERROR |
                                ISC_REQ_MANUAL_CRED_VALIDATION;

// Credentials flags: the program checks the certificate itself (the same
// way on every system), and never offers a client certificate.
constexpr DWORD kCredFlags = SCH_CRED_MANUAL_CRED_VALIDATION | SCH_CRED_NO_DEFAULT_CREDS | SCH_USE_STRONG_CRYPTO;

// The content type of a TLS 1.2 alert record (TLS 1.3 hides it).
constexpr unsigned char kAlertRecord = 21;

void appendToken(const SecBuffer& buffer, std::string& out) {
  if (buffer.pvBuffer && buffer.cbBuffer > 0) out.append(static_cast<const char*>(buffer.pvBuffer), buffer.cbBuffer);
  if (buffer.pvBuffer) FreeContextBuffer(buffer.pvBuffer);
}

}  // namespace

bool TlsChannel::acquireCredentials() {
  TimeStamp expiry;
  // Newer systems take TLS 1.3 only through SCH_CREDENTIALS; older ones
  // know only SCHANNEL_CRED. Whatever the system offers from TLS 1.2 up.
  TLS_PARAMETERS parameters{};
  parameters.grbitDisabledProtocols = SP_PROT_SSL2_CLIENT | SP_PROT_SSL3_CLIENT | SP_PROT_TLS1_0_CLIENT |
                                      SP_PROT_TLS1_1_CLIENT;
  SCH_CREDENTIALS modern{};
  modern.dwVersion = SCH_CREDENTIALS_VERSION;
  modern.dwFlags = kCredFlags;
  modern.cTlsParameters = 1;
  modern.pTlsParameters = &parameters;
  wchar_t package[] = UNISP_NAME_W;
  if (AcquireCredentialsHandleW(nullptr, package, SECPKG_CRED_OUTBOUND, nullptr, &modern, nullptr, nullptr,
                                &credentials_, &expiry) == SEC_E_OK)
    return haveCredentials_ = true;
  for (DWORD protocols : {DWORD(SP_PROT_TLS1_2_CLIENT | SP_PROT_TLS1_3_CLIENT), DWORD(SP_PROT_TLS1_2_CLIENT)}) {
    SCHANNEL_CRED classic{};
    classic.dwVersion = SCHANNEL_CRED_VERSION;
    classic.dwFlags = kCredFlags;
    classic.grbitEnabledProtocols = protocols;
    if (AcquireCredentialsHandleW(nullptr, package, SECPKG_CRED_OUTBOUND, nullptr, &classic, nullptr, nullptr,
                                  &credentials_, &expiry) == SEC_E_OK)
      return haveCredentials_ = true;
  }
  return false;
}

TlsChannel::Step TlsChannel::begin(const std::string& host, std::string& out) {
  reset();
  host_ = toWide(host);
  if (!acquireCredentials()) return Step::kFailed;
  return step(nullptr, out);
}

TlsChannel::Step TlsChannel::handshake(std::string& in, std::string& out) {
  for (;;) {
    if (in.empty()) return Step::kMore;
    std::size_t before = in.size();
    Step result = step(&in, out);
    // A message that held more than one handshake record goes on at once.
    if (result != Step::kMore || in.size() == before || in.empty()) return result;
  }
}

TlsChannel::Step TlsChannel::step(std::string* in, std::string& out) {
  SecBuffer inBuffers[2] = {};
  SecBufferDesc inDesc{SECBUFFER_VERSION, 2, inBuffers};
  if (in) {
    inBuffers[0].BufferType = SECBUFFER_TOKEN;
    inBuffers[0].pvBuffer = in->data();
    inBuffers[0].cbBuffer = static_cast<unsigned long>(in->size());
    inBuffers[1].BufferType = SECBUFFER_EMPTY;
  }
  SecBuffer outBuffers[2] = {};
  outBuffers[0].BufferType = SECBUFFER_TOKEN;
  outBuffers[1].BufferType = SECBUFFER_ALERT;
  SecBufferDesc outDesc{SECBUFFER_VERSION, 2, outBuffers};
  unsigned long attributes = 0;
  TimeStamp expiry;
  SECURITY_STATUS status = InitializeSecurityContextW(
      &credentials_, haveContext_ ? &context_ : nullptr, const_cast<wchar_t*>(host_.c_str()), kContextFlags, 0, 0,
      in ? &inDesc : nullptr, 0, &context_, &outDesc, &attributes, &expiry);
  if (!haveContext_ && (status == SEC_E_OK || status == SEC_I_CONTINUE_NEEDED || status == SEC_E_INCOMPLETE_MESSAGE))
    haveContext_ = true;
  // Whatever the package wrote goes out, an alert on failure included.
  appendToken(outBuffers[0], out);
  appendToken(outBuffers[1], out);
  if (status == SEC_E_INCOMPLETE_MESSAGE) return Step::kMore;
  if (in) {
    if (inBuffers[1].BufferType == SECBUFFER_EXTRA && inBuffers[1].cbBuffer > 0 &&
        inBuffers[1].cbBuffer <= in->size()) {
      in->erase(0, in->size() - inBuffers[1].cbBuffer);
    } else {
      in->clear();
    }
  }
  switch (status) {
    case SEC_I_CONTINUE_NEEDED:
    case SEC_I_INCOMPLETE_CREDENTIALS:  // a client certificate asked for: go on without one
      return Step::kMore;
    case SEC_E_OK:
      if (QueryContextAttributesW(&context_, SECPKG_ATTR_STREAM_SIZES, &sizes_) != SEC_E_OK) return Step::kFailed;
      if (!modernProtocol()) return Step::kFailed;
      return checkCertificate() ? Step::kDone : Step::kCertRejected;
    default:
      return Step::kFailed;
  }
}

bool TlsChannel::modernProtocol() const {
  // Some packages (Wine's) offer TLS 1.0 and 1.1 whatever the credentials
  // disable; a session below TLS 1.2 is refused here.
  SecPkgContext_ConnectionInfo info{};
  if (QueryContextAttributesW(const_cast<CtxtHandle*>(&context_), SECPKG_ATTR_CONNECTION_INFO, &info) != SEC_E_OK)
    return false;
  return (info.dwProtocol & (SP_PROT_TLS1_2 | SP_PROT_TLS1_3)) != 0;
}

bool TlsChannel::checkCertificate() {
  PCCERT_CONTEXT certificate = nullptr;
  if (QueryContextAttributesW(&context_, SECPKG_ATTR_REMOTE_CERT_CONTEXT, &certificate) != SEC_E_OK || !certificate)
    return false;
  bool trusted = serverCertificateTrusted(certificate, host_);
  CertFreeCertificateContext(certificate);
  return trusted;
}

bool TlsChannel::encrypt(std::string_view plain, std::string& out) {
  if (!haveContext_ || sizes_.cbMaximumMessage == 0) return false;
  std::string record;
  while (!plain.empty()) {
    std::size_t part = plain.size() < sizes_.cbMaximumMessage ? plain.size() : sizes_.cbMaximumMessage;
    record.assign(sizes_.cbHeader + part + sizes_.cbTrailer, '\0');
    std::memcpy(&record[sizes_.cbHeader], plain.data(), part);
    SecBuffer buffers[4] = {};
    buffers[0] = {sizes_.cbHeader, SECBUFFER_STREAM_HEADER, &record[0]};
    buffers[1] = {static_cast<unsigned long>(part), SECBUFFER_DATA, &record[sizes_.cbHeader]};
    buffers[2] = {sizes_.cbTrailer, SECBUFFER_STREAM_TRAILER, &record[sizes_.cbHeader + part]};
    buffers[3] = {0, SECBUFFER_EMPTY, nullptr};
    SecBufferDesc desc{SECBUFFER_VERSION, 4, buffers};
    if (EncryptMessage(&context_, 0, &desc, 0) != SEC_E_OK) return false;
    out.append(record.data(), buffers[0].cbBuffer + buffers[1].cbBuffer + buffers[2].cbBuffer);
    plain.remove_prefix(part);
  }
  return true;
}

TlsChannel::Read TlsChannel::decrypt(std::string& in, std::string& plain, std::string& out) {
  while (!in.empty()) {
    SecBuffer buffers[4] = {};
    buffers[0] = {static_cast<unsigned long>(in.size()), SECBUFFER_DATA, in.data()};
    buffers[1].BufferType = buffers[2].BufferType = buffers[3].BufferType = SECBUFFER_EMPTY;
    SecBufferDesc desc{SECBUFFER_VERSION, 4, buffers};
    // The record's type, before the decryption overwrites it in place.
    const bool alert = static_cast<unsigned char>(in[0]) == kAlertRecord;
    SECURITY_STATUS status = DecryptMessage(&context_, &desc, 0, nullptr);
    if (status == SEC_E_INCOMPLETE_MESSAGE) return Read::kMore;
    if (status != SEC_E_OK && status != SEC_I_RENEGOTIATE && status != SEC_I_CONTEXT_EXPIRED) return Read::kFailed;
    std::size_t extra = 0;
    for (const SecBuffer& b : buffers) {
      if (b.BufferType == SECBUFFER_DATA && b.pvBuffer && b.cbBuffer > 0)
        plain.append(static_cast<const char*>(b.pvBuffer), b.cbBuffer);
      if (b.BufferType == SECBUFFER_EXTRA) extra = b.cbBuffer;
    }
    if (extra > in.size()) return Read::kFailed;
    in.erase(0, in.size() - extra);
    // Some packages (Wine's) answer a close_notify with an empty record
    // instead of SEC_I_CONTEXT_EXPIRED.
    if (status == SEC_I_CONTEXT_EXPIRED || (status == SEC_E_OK && alert)) return Read::kClosed;
    if (status == SEC_I_RENEGOTIATE) {
      // A post-handshake message (a TLS 1.3 session ticket or key update):
      // the package takes it through the handshake call.
      Step s = handshake(in, out);
      if (s == Step::kFailed || s == Step::kCertRejected) return Read::kFailed;
    }
  }
  return Read::kMore;
}

std::string TlsChannel::protocolName() const {
  SecPkgContext_ConnectionInfo info{};
  if (!haveContext_ ||
      QueryContextAttributesW(const_cast<CtxtHandle*>(&context_), SECPKG_ATTR_CONNECTION_INFO, &info) != SEC_E_OK)
    return "";
  if (info.dwProtocol & SP_PROT_TLS1_3) return "TLS 1.3";
  if (info.dwProtocol & SP_PROT_TLS1_2) return "TLS 1.2";
  if (info.dwProtocol & SP_PROT_TLS1_1) return "TLS 1.1";
  if (info.dwProtocol & SP_PROT_TLS1_0) return "TLS 1.0";
  return "other";
}

void TlsChannel::reset() {
  if (haveContext_) DeleteSecurityContext(&context_);
  if (haveCredentials_) FreeCredentialsHandle(&credentials_);
  haveContext_ = haveCredentials_ = false;
  sizes_ = {};
}

}  // namespace ls
