#include "music/rtmidi_output.h"

#include <string>
#include <vector>

#include "music/short_message.h"

namespace pestrolik {
namespace {

// The platform's own MIDI system: JACK needs a running server (and its library
// complains on the terminal without one); the dummy API sounds nothing.
RtMidi::Api systemApi(const std::vector<RtMidi::Api>& compiled) {
    for (RtMidi::Api api : compiled)
        if (api != RtMidi::UNIX_JACK && api != RtMidi::RTMIDI_DUMMY) return api;
    return RtMidi::UNSPECIFIED;
}

bool isLoopback(const std::string& portName) {
    return portName.rfind("Midi Through", 0) == 0;
}

}  // namespace

RtMidiOutput::RtMidiOutput() : RtMidiOutput(makeRtMidiPorts()) {}

RtMidiOutput::RtMidiOutput(std::unique_ptr<MidiPorts> ports) : ports_(std::move(ports)) {}

RtMidiOutput::~RtMidiOutput() {
    close();
}

bool RtMidiOutput::open() {
    if (open_) return true;
    if (!ports_->connect(systemApi(ports_->compiledApis()))) return false;
    const unsigned count = ports_->portCount();
    for (unsigned number = 0; number < count; ++number) {
        if (!isLoopback(ports_->portName(number)) && ports_->openPort(number)) {
            open_ = true;
            return true;
        }
    }
    ports_->disconnect();
    return false;
}

void RtMidiOutput::send(uint32_t packedMessage) {
    if (!open_) return;
    const ShortMessage message = decodeShortMessage(packedMessage);
    if (message.length == 0) return;
    const unsigned char bytes[3] = {message.status, message.data1, message.data2};
    ports_->sendMessage(std::span(bytes, static_cast<size_t>(message.length)));
}

void RtMidiOutput::close() {
    if (!open_) return;
    for (uint8_t channel = 0; channel < 16; ++channel) {
        send(packShortMessage(midi::kControlChange | channel, midi::kAllNotesOff, 0));
        send(packShortMessage(midi::kControlChange | channel, midi::kAllSoundOff, 0));
    }
    ports_->disconnect();
    open_ = false;
}

}  // namespace pestrolik
