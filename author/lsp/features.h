#pragma once
// The request handlers over one analysed document. Each takes the request's parameters and
// gives its result as the protocol shapes it.
#include <nlohmann/json.hpp>

#include "author/lsp/document.h"

namespace tindel::author::lsp {

using nlohmann::json;

json diagnostics_json(const Document& document);
json definition(const Document& document, const json& params);
json references(const Document& document, const json& params);
json document_symbols(const Document& document);
json completion(const Document& document, const json& params);
json hover(const Document& document, const json& params);
json prepare_rename(const Document& document, const json& params);
json rename(const Document& document, const json& params);

}  // namespace tindel::author::lsp
