#pragma once
// A request that cannot be answered: thrown by a handler, sent back as a JSON-RPC error.
#include <stdexcept>
#include <string>

namespace tindel::author::lsp {

namespace error_code {
inline constexpr int parse_error = -32700;
inline constexpr int invalid_request = -32600;
inline constexpr int method_not_found = -32601;
inline constexpr int invalid_params = -32602;
inline constexpr int internal_error = -32603;
inline constexpr int server_not_initialized = -32002;
inline constexpr int request_failed = -32803;
}  // namespace error_code

struct RpcError : std::runtime_error {
  RpcError(int code, const std::string& message) : std::runtime_error(message), code(code) {}
  int code;
};

}  // namespace tindel::author::lsp
