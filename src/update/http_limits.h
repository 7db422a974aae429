#pragma once
#include <cstddef>
#include <cstdint>

// Every bound of the HTTP client in one place. A reply is hostile input: each size a
// server announces is checked against these before anything is allocated or awaited,
// and every wait is bounded both per step and for the whole navigation.

// Defaults of a navigation.
constexpr std::uint16_t kHttpDefaultPort = 80;
constexpr std::uint32_t kHttpDefaultTimeoutMs = 10000;  // the longest wait for one send or one receive
constexpr std::uint32_t kHttpConnectTimeoutMs = 10000;
// A server that drips a byte just inside the per-receive time-out could otherwise
// hold the caller (the settings dialog's thread) for as long as it likes.
constexpr std::uint32_t kHttpNavigationDeadlineMs = 30000;
constexpr std::size_t kHttpReceiveBlockSize = 2048;

// URL text: the escaped form must fit a buffer of 2,083 characters with its terminator.
constexpr std::size_t kUrlMaxEscapedLength = 2082;
constexpr std::size_t kUrlMaxHostLength = 256;
constexpr std::size_t kUrlMaxUserNameLength = 128;
constexpr std::size_t kUrlMaxPasswordLength = 128;
constexpr std::size_t kUrlMaxPathLength = 2048;
constexpr std::size_t kUrlMaxExtraInfoLength = 2048;  // query and fragment

// Reply head.
constexpr std::size_t kHttpMaxLineLength = 8192;  // status, header, chunk-size and trailer lines
constexpr std::size_t kHttpMaxHeaderNameLength = 1023;
constexpr std::size_t kHttpMaxHeaderValueLength = 1023;
constexpr int kHttpMaxHeaderCount = 100;     // header and trailer lines of one reply
constexpr int kHttpMaxInterimResponses = 8;  // "100 Continue" heads before the real one

// Reply body. The update check reads one line; anything near this is an attack.
constexpr std::size_t kHttpMaxBodyLength = 16u * 1024u * 1024u;
constexpr std::size_t kHttpMaxChunkExtensionLength = 2;  // characters between a chunk size and its CR

// Redirects followed in one navigation; the next one fails it.
constexpr int kHttpMaxRedirects = 10;
