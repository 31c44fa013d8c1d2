// The sockets library's error codes the socket layer names, and their texts.
#pragma once

#include <string>

namespace net {

constexpr int kWsaInterrupted = 10004;
constexpr int kWsaInvalidArgument = 10022;
constexpr int kWsaWouldBlock = 10035;
constexpr int kWsaNotSocket = 10038;
constexpr int kWsaConnectionAborted = 10053;
constexpr int kWsaConnectionReset = 10054;
constexpr int kWsaNotConnected = 10057;
constexpr int kWsaTimedOut = 10060;
constexpr int kWsaNotInitialised = 10093;

// "Not a WinSock error" for a code the table does not know.
const char* SocketErrorText(int code);

// "Error <code> in function <function>" CR LF <text>: what the socket reports for a failed call.
std::string SocketErrorMessage(int code, const std::string& function);

}  // namespace net
