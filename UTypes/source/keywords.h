#pragma once
// The keywords of the quest language.
#include <string_view>

#include "UTypes/state/token_kind.h"

namespace tindel {

// The kind of a lower-cased word when it is a keyword, otherwise TokenKind::Ident.
TokenKind keyword_kind(std::string_view word);

}  // namespace tindel
