#include "music/rtmidi_output.h"

#include <RtMidi.h>

#include <string>
#include <vector>

#include "music/quiet_sound_libraries.h"
#include "music/short_message.h"

namespace pestrolik {
namespace {

void ignoreRtMidiError(RtMidiError::Type, const std::string&, void*) {}

// The platform's own MIDI system: JACK needs a running server (and its library
// complains on the terminal without one); the dummy API sounds nothing.
RtMidi::Api systemApi() {
    std::vector<RtMidi::Api> apis;
    RtMidi::getCompiledApi(apis);
    for (RtMidi::Api api : apis)
        if (api != RtMidi::UNIX_JACK && api != RtMidi::RTMIDI_DUMMY) return api;
    return RtMidi::UNSPECIFIED;
}

bool isLoopback(const std::string& portName) {
    return portName.rfind("Midi Through", 0) == 0;
}

}  // namespace

RtMidiOutput::RtMidiOutput() = default;

RtMidiOutput::~RtMidiOutput() {
    close();
}

bool RtMidiOutput::open() {
    if (port_) return true;
    quietSoundLibraries();
    QuietStandardError quiet;  // RtMidi prints before it throws
    try {
        auto port = std::make_unique<RtMidiOut>(systemApi(), "Pestrolik");
        port->setErrorCallback(ignoreRtMidiError);
        const unsigned count = port->getPortCount();
        for (unsigned number = 0; number < count; ++number) {
            if (isLoopback(port->getPortName(number))) continue;
            port->openPort(number, "Pestrolik");
            if (port->isPortOpen()) {
                port_ = std::move(port);
                return true;
            }
        }
    } catch (const RtMidiError&) {
        // no MIDI system; the caller falls back
    }
    return false;
}

void RtMidiOutput::send(uint32_t packedMessage) {
    if (!port_) return;
    const ShortMessage message = decodeShortMessage(packedMessage);
    if (message.length == 0) return;
    const unsigned char bytes[3] = {message.status, message.data1, message.data2};
    QuietStandardError quiet;
    try {
        port_->sendMessage(bytes, static_cast<size_t>(message.length));
    } catch (const RtMidiError&) {
    }
}

void RtMidiOutput::close() {
    if (!port_) return;
    for (uint8_t channel = 0; channel < 16; ++channel) {
        send(packShortMessage(midi::kControlChange | channel, midi::kAllNotesOff, 0));
        send(packShortMessage(midi::kControlChange | channel, midi::kAllSoundOff, 0));
    }
    QuietStandardError quiet;
    try {
        port_->closePort();
    } catch (const RtMidiError&) {
    }
    port_.reset();
}

}  // namespace pestrolik
