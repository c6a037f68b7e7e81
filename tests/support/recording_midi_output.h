#pragma once
// A MIDI output that remembers what it was asked to do, in order.

#include <algorithm>
#include <cstdint>
#include <vector>

#include "music/midi_output.h"

namespace pestrolik {

class RecordingMidiOutput : public MidiOutput {
public:
    enum class Call { Open, Send, Close };
    struct Event {
        Call call;
        uint32_t message = 0;  // for Send
        bool operator==(const Event&) const = default;
    };

    explicit RecordingMidiOutput(bool opens = true) : opens_(opens) {}

    void expectSong(const SongTable& song) override { expected_ = &song; }
    bool open() override {
        events_.push_back({Call::Open});
        songAtOpening = expected_;
        return opens_;
    }
    void send(uint32_t packedMessage) override { events_.push_back({Call::Send, packedMessage}); }
    void close() override { events_.push_back({Call::Close}); }

    const std::vector<Event>& events() const { return events_; }
    std::vector<uint32_t> sent() const {
        std::vector<uint32_t> messages;
        for (const Event& event : events_) if (event.call == Call::Send) messages.push_back(event.message);
        return messages;
    }
    int count(Call call) const { return int(std::ranges::count(events_, call, &Event::call)); }
    void forget() { events_.clear(); }

    const SongTable* songAtOpening = nullptr;  // announced before the last open(); not a call

private:
    bool opens_;
    const SongTable* expected_ = nullptr;
    std::vector<Event> events_;
};

}  // namespace pestrolik
