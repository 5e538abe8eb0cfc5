// A TLS client session over the system's own security package (SChannel
// through SSPI). It never touches a socket: the fetcher hands it the bytes
// that arrived and sends the bytes it produces, so the handshake and every
// record advance on the same socket notifications as plain HTTP.
#pragma once

#define SECURITY_WIN32
// SCH_CREDENTIALS, the only way to TLS 1.3 on newer systems.
#define SCHANNEL_USE_BLACKLISTS
#include <windows.h>
#include <subauth.h>
#include <security.h>
#include <schannel.h>

#include <string>
#include <string_view>

namespace ls {

class TlsChannel {
 public:
  TlsChannel() = default;
  TlsChannel(const TlsChannel&) = delete;
  TlsChannel& operator=(const TlsChannel&) = delete;
  ~TlsChannel() { reset(); }

  enum class Step {
    kMore,          // send `out` and wait for more bytes
    kDone,          // the session is up and the server's certificate checked
    kFailed,        // the handshake failed or the server sent an alert
    kCertRejected,  // the certificate chain or its name did not check out
  };

  // Starts a handshake with `host` (also sent as the server name); appends
  // the first message to `out`.
  Step begin(const std::string& host, std::string& out);
  // Consumes the handshake messages at the front of `in` (bytes of records
  // after the handshake stay in `in`) and appends the replies to `out`.
  Step handshake(std::string& in, std::string& out);

  // Appends the records that carry `plain` to `out`.
  bool encrypt(std::string_view plain, std::string& out);

  enum class Read {
    kMore,    // every whole record was decrypted; wait for more bytes
    kClosed,  // the server ended the session (close_notify)
    kFailed,  // an alert or a record that does not decrypt
  };
  // Decrypts every whole record at the front of `in` into `plain`; a
  // post-handshake message's reply, if any, is appended to `out`.
  Read decrypt(std::string& in, std::string& plain, std::string& out);

  // "TLS 1.3", "TLS 1.2", ... of the session, for logs and tests.
  std::string protocolName() const;

  // Frees the session; the channel can begin again.
  void reset();

 private:
  bool acquireCredentials();
  Step step(std::string* in, std::string& out);
  bool checkCertificate();
  // TLS 1.2 or newer was negotiated.
  bool modernProtocol() const;

  CredHandle credentials_{};
  CtxtHandle context_{};
  bool haveCredentials_ = false;
  bool haveContext_ = false;
  std::wstring host_;
  SecPkgContext_StreamSizes sizes_{};
};

}  // namespace ls
