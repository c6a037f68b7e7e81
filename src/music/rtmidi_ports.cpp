#include "music/midi_ports.h"

#include "music/quiet_sound_libraries.h"

namespace pestrolik {
namespace {

void ignoreRtMidiError(RtMidiError::Type, const std::string&, void*) {}

// Every call is wrapped: RtMidi prints before it throws, and a failure is silent here.
class RtMidiPorts : public MidiPorts {
public:
    ~RtMidiPorts() override { disconnect(); }

    std::vector<RtMidi::Api> compiledApis() override {
        std::vector<RtMidi::Api> apis;
        RtMidi::getCompiledApi(apis);
        return apis;
    }
    bool connect(RtMidi::Api api) override {
        quietSoundLibraries();
        QuietStandardError quiet;
        try {
            client_ = std::make_unique<RtMidiOut>(api, "Pestrolik");
            client_->setErrorCallback(ignoreRtMidiError);
            return true;
        } catch (const RtMidiError&) {
            return false;  // no MIDI system; the caller falls back
        }
    }
    unsigned portCount() override {
        QuietStandardError quiet;
        try {
            return client_->getPortCount();
        } catch (const RtMidiError&) {
            return 0;
        }
    }
    std::string portName(unsigned number) override {
        QuietStandardError quiet;
        try {
            return client_->getPortName(number);
        } catch (const RtMidiError&) {
            return {};
        }
    }
    bool openPort(unsigned number) override {
        QuietStandardError quiet;
        try {
            client_->openPort(number, "Pestrolik");
            return client_->isPortOpen();
        } catch (const RtMidiError&) {
            return false;
        }
    }
    void sendMessage(std::span<const unsigned char> bytes) override {
        QuietStandardError quiet;
        try {
            client_->sendMessage(bytes.data(), bytes.size());
        } catch (const RtMidiError&) {
        }
    }
    void disconnect() override {
        if (!client_) return;
        QuietStandardError quiet;
        try {
            client_->closePort();
        } catch (const RtMidiError&) {
        }
        client_.reset();
    }

private:
    std::unique_ptr<RtMidiOut> client_;  // null while not connected
};

}  // namespace

std::unique_ptr<MidiPorts> makeRtMidiPorts() {
    return std::make_unique<RtMidiPorts>();
}

}  // namespace pestrolik
