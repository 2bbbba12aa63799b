// The sound back end, in a module of its own ("taskwick-sound.so" beside the executable) that
// the program loads on the first alarm, so start-up never pays for loading it.
#pragma once

#include <QString>
#include <functional>

class TSoundOutput
{
public:
    virtual ~TSoundOutput() = default;
    // Whether the system offers a device to play on.
    virtual bool HasDevice() = 0;
    // Plays the WAV file once; `done` is called when it has ended, with true when it failed.
    virtual void Play(const QString& file, std::function<void(bool failed)> done) = 0;
    virtual void Stop() = 0;
};

// The module's one entry point.
extern "C" using TCreateSoundOutput = TSoundOutput* (*)();
inline constexpr char SoundModuleName[] = "taskwick-sound";
inline constexpr char SoundModuleEntry[] = "taskwick_create_sound_output";
