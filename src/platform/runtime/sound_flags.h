// The flags of the sound call, plain values that the headless flight model
// passes on to whichever sound output its caller provides.
#pragma once

namespace zarv {

// sndPlaySoundA flags.
inline constexpr unsigned SND_SYNC = 0x0;       // wait until the sound ends
inline constexpr unsigned SND_ASYNC = 0x1;      // return at once
inline constexpr unsigned SND_NODEFAULT = 0x2;  // accepted; there is never a default sound
inline constexpr unsigned SND_MEMORY = 0x4;     // the argument is a wave image, not a file name
inline constexpr unsigned SND_LOOP = 0x8;       // repeat until replaced (only with SND_ASYNC)

}  // namespace zarv
