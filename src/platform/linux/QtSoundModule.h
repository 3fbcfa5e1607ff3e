#pragma once

#include "Services.h"

namespace qb::platform {

// The name the sound module is found by, beside the program, and the function it exports:
// a new player, owned by the caller.
inline constexpr const char* kSoundModuleName = "qb_sound";
inline constexpr const char* kCreateSoundPlayer = "qb_create_sound_player";
using CreateSoundPlayer = SoundPlayer* (*)();

}  // namespace qb::platform
