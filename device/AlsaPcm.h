#pragma once
// The sound card behind line audio, through ALSA: capture of the lines,
// playback of generated bursts, and the list of capture devices. The only
// unit of the device folder that talks to the sound system.

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

#include "device/SampleSource.h"

// Opens PCM for capture at 8 kHz, 16 bits, channels interleaved; raises
// EDeviceError saying why when it cannot. Reads never wait: they answer
// what the card has captured so far.
std::unique_ptr<TSampleSource> OpenAlsaCapture(const QString& pcm, int channels);

// Plays mono 8 kHz samples on PCM and returns when they have been played;
// raises EDeviceError when it cannot.
void PlayAlsa(const QString& pcm, const std::vector<int16_t>& samples);

// "NAME  description" for each capture device ALSA knows.
QStringList AlsaCaptureDevices();
