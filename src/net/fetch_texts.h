// Status-bar texts of the fetcher (part 1).
#pragma once

namespace ls {

inline constexpr const char* kMsgFetchStart = "取得開始します。";
inline constexpr const char* kMsgRequestSent = "リクエスト送信中です。";
inline constexpr const char* kMsgReceiving = "受信中です。";
inline constexpr const char* kMsgReceived = "受信終了しました。";
inline constexpr const char* kMsgSocketError = "ソケットエラー";
inline constexpr const char* kMsgConnectFailed = "リモートサーバへの接続に失敗しました。";
inline constexpr const char* kMsgSendFailed = "リクエスト送信エラー";
inline constexpr const char* kMsgReceiveFailed = "受信エラー";
inline constexpr const char* kMsgTimeout = "タイムアウトしました。";
// Message boxes.
inline constexpr const char* kMsgNoSocket = "Socketの作成に失敗しました。";
inline constexpr const char* kMsgWinsockFailed = "WinSockの初期化に失敗しました。";

}  // namespace ls
