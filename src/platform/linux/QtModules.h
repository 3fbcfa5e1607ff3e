#pragma once

namespace qb::platform {

class SoundPlayer;
class SpeechEngine;

// The modules loaded from beside the program after start-up (QtServices.cpp): each is found
// by its name and exports one function, which makes a new object owned by the caller.

// The sound player (QtSoundModule.cpp).
inline constexpr const char* kSoundModuleName = "qb_sound";
inline constexpr const char* kCreateSoundPlayer = "qb_create_sound_player";
using CreateSoundPlayer = SoundPlayer* (*)();

// The speech engine (QtSpeechModule.cpp).
inline constexpr const char* kSpeechModuleName = "qb_speech";
inline constexpr const char* kCreateSpeechEngine = "qb_create_speech_engine";
using CreateSpeechEngine = SpeechEngine* (*)();

}  // namespace qb::platform
