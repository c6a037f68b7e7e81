#pragma once
// RtMidi as RtMidiOutput uses it: the back-ends the library offers, and one client
// of the MIDI system with at most one open output port. A thin layer, so a test can
// stand in for the system's MIDI.

#include <memory>
#include <span>
#include <string>
#include <vector>

#include <RtMidi.h>

namespace pestrolik {

class MidiPorts {
public:
    virtual ~MidiPorts() = default;
    // The back-ends the library was built with, in its order of preference.
    virtual std::vector<RtMidi::Api> compiledApis() = 0;
    // Becomes a client of the MIDI system behind `api`; false when that system is missing.
    virtual bool connect(RtMidi::Api api) = 0;
    // The client's view of the output ports, while connected.
    virtual unsigned portCount() = 0;
    virtual std::string portName(unsigned number) = 0;
    // True when the port opened.
    virtual bool openPort(unsigned number) = 0;
    virtual void sendMessage(std::span<const unsigned char> bytes) = 0;
    // Closes the open port, if any, and ends the client.
    virtual void disconnect() = 0;
};

// RtMidi itself. Its errors are swallowed and it prints nothing on the terminal.
std::unique_ptr<MidiPorts> makeRtMidiPorts();

}  // namespace pestrolik
