// Status-bar texts of the fetcher (part 1).
#pragma once

#include <string>

namespace ls {

inline constexpr const char* kMsgFetchStart = "取得開始します。";
inline constexpr const char* kMsgRequestSent = "リクエスト送信中です。";
inline constexpr const char* kMsgReceiving = "受信中です。";
inline constexpr const char* kMsgReceived = "受信終了しました。";
// A "304 Not Modified": the page is as it was at the last check.
inline constexpr const char* kMsgNotModified = "更新はありません。(304)";
inline constexpr const char* kMsgSocketError = "ソケットエラー";
inline constexpr const char* kMsgConnectFailed = "リモートサーバへの接続に失敗しました。";
inline constexpr const char* kMsgSendFailed = "リクエスト送信エラー";
inline constexpr const char* kMsgReceiveFailed = "受信エラー";
inline constexpr const char* kMsgTimeout = "タイムアウトしました。";
inline constexpr const char* kMsgTlsFailed = "TLSの接続に失敗しました。";
inline constexpr const char* kMsgCertRejected = "証明書を確認できませんでした。";
inline constexpr const char* kMsgTooManyRedirects = "リダイレクトが多すぎます。";
inline constexpr const char* kMsgRedirectDowngrade = "HTTPSからHTTPへのリダイレクトは追いません。";
inline constexpr const char* kMsgBadRedirect = "リダイレクト先のURLが正しくありません。";
inline constexpr const char* kMsgProxyRefused = "プロキシサーバに拒否されました。";
inline constexpr const char* kMsgBadProxyName = "プロキシサーバの指定が正しくありません。";
// A final response that is no page (404, 500, 503, ...): nothing is scanned.
inline std::string msgHttpStatus(int status) { return "サーバがエラーを返しました。(" + std::to_string(status) + ")"; }
// A status line that says what the response is; 0 (none or unreadable) is read as a page.
inline bool isPageStatus(int status) { return status == 0 || (status >= 200 && status <= 299); }
// Follows the start and end texts when the system asks for an automatic
// proxy configuration, which the fetcher cannot run.
inline constexpr const char* kMsgProxyAutomaticNote = "（プロキシの自動設定は使えないため直接接続）";
// Message boxes.
inline constexpr const char* kMsgNoSocket = "Socketの作成に失敗しました。";
inline constexpr const char* kMsgWinsockFailed = "WinSockの初期化に失敗しました。";

}  // namespace ls
