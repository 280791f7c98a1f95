#pragma once
// The tone generator.

#include <cstdint>
#include <functional>

namespace Sound {

// Plays a sine tone and returns when it has finished; without a sound
// device it waits the same time in silence. Answers false, at once, for a
// frequency outside 37 to 32767 Hz.
bool Beep(uint32_t frequency, uint32_t ms);

// Replaces the tone (tests record tones instead of playing them); an
// empty function restores the real one.
using TBeepHook = std::function<void(uint32_t frequency, uint32_t ms)>;
void SetBeepHook(TBeepHook hook);

}  // namespace Sound
