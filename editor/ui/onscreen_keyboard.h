// The on-screen keyboard: the code each key writes and the captions of the letter keys, both
// following the Caps Lock check box.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "editor/ui/control_cache.h"

namespace facetor {

inline constexpr int kLetterKeyCount = 53;  // ids 2057..2109

// The LCD code key `keyId` writes; std::nullopt for an id in 2024..2109 that is no key.
std::optional<std::uint8_t> keyCode(int keyId, bool capsLock);

// UTF-8 caption of a letter key (2057..2109); empty for any other id.
std::string letterKeyCaption(int keyId, bool capsLock);

// Captions of the 53 letter keys for the Caps Lock state.
void relabelKeys(ControlCache& controls, bool capsLock);

}  // namespace facetor
