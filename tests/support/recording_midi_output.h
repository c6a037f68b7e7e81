#pragma once
// A MIDI output that remembers what it was asked to do, in order.

#include <cstdint>
#include <vector>

#include "music/midi_output.h"

namespace pestrolik {

struct RecordingMidiOutput : MidiOutput {
    enum class Call { Open, Send, Close };
    struct Event {  // the message only for Send
        Call call;
        uint32_t message = 0;
        bool operator==(const Event&) const = default;
    };

    void expectSong(const SongTable& song) override { expected = &song; }
    bool open() override {
        events_.push_back({Call::Open});
        songAtOpening = expected;
        return opens;
    }
    void send(uint32_t packedMessage) override { events_.push_back({Call::Send, packedMessage}); }
    void close() override { events_.push_back({Call::Close}); }

    const std::vector<Event>& events() const { return events_; }
    std::vector<uint32_t> sent() const {
        std::vector<uint32_t> messages;
        for (const Event& event : events_) if (event.call == Call::Send) messages.push_back(event.message);
        return messages;
    }
    void forget() { events_.clear(); }

    bool opens = true;
    const SongTable *expected = nullptr, *songAtOpening = nullptr;  // announced before the last open()
    std::vector<Event> events_;
};

}  // namespace pestrolik
