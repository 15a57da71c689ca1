// Sound output in the manner of the Windows multimedia calls the program was
// designed around: one voice, wave files or in-memory wave images, and a
// stereo output volume. Without an audio device everything stays silent and
// no call fails loudly.
#pragma once

#include <cstdint>
#include <string>

#include "platform/runtime/sound_flags.h"

namespace zarv {

// waveOut* results and the wave-mapper device id.
inline constexpr unsigned MMSYSERR_NOERROR = 0;
inline constexpr unsigned MMSYSERR_BADDEVICEID = 2;
inline constexpr unsigned MMSYSERR_INVALPARAM = 11;
inline constexpr int WAVE_MAPPER = -1;

// Plays a wave file. The name may be a Windows-style path: backslashes become
// slashes, and a name that starts with a backslash or is relative is taken
// below the program folder ("\PData\wind.wav"). Every call first stops the
// sound that is playing; a null or empty name just stops it. Returns 1 when
// the sound started (or a stop was asked for), 0 when it could not be played
// (missing file, bad data, no audio device).
// With SND_MEMORY the pointer is taken as a NUL-terminated image, which in
// practice only serves to stop the sound: pass real images as std::string.
int sndPlaySoundA(const char* fileNameOrNull, unsigned flags);

// With SND_MEMORY plays a wave image held in memory (the bytes of a .wav
// file); an empty image stops any sound. Without SND_MEMORY the string is a
// file name as above.
int sndPlaySoundA(const std::string& waveImageOrFileName, unsigned flags);

// Output volume applied by our own mixer: left level in the low 16 bits,
// right in the high 16 bits, 0..65535 each; starts at 0xFFFFFFFF (full).
// Device -1 (the wave mapper) and 0 both name the one output.
unsigned waveOutGetVolume(int device, uint32_t* volume);
unsigned waveOutSetVolume(int device, uint32_t volume);

// Stops the sound, closes the audio device and puts the volume back to full.
// The next call opens the device again (and re-reads SDL_AUDIODRIVER).
void ShutdownSound();

}  // namespace zarv
